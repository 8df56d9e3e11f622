"""The dialog at 144 and 192 dots per inch (Wine's LogPixels, in a prefix of its own): size, place, skin,
a strip and "設定" as at 96, the not-saved message; the still filling the same share of a pane at 192."""
import math
import os
import tempfile
import time

from harness import *

set_dpi = None  # what this run last set; the prefix keeps it between runs


def at_dpi(dpi):
    """Sets LogPixels; the wineserver, started afresh, reads it."""
    global set_dpi
    if dpi == set_dpi:
        return
    set_dpi = dpi
    quietly(
        "wine",
        "reg",
        "add",
        r"HKCU\Control Panel\Desktop",
        "/v",
        "LogPixels",
        "/t",
        "REG_DWORD",
        "/d",
        str(dpi),
        "/f",
    )
    for step in ("-k", "-w", "-p"):
        quietly("wineserver", step)


def test_the_dialog_scales_is_centred_and_a_strip_and_set_save_as_at_96():
    for dpi, size, strip in ((144, (714, 347), 1), (192, (952, 462), 3)):
        at_dpi(dpi)
        folder = tempfile.mkdtemp(prefix="quillmere-e2e-")
        if dpi == 192:  # the first set fails and says so
            os.mkdir(os.path.join(folder, "quillmere.ini"))
        dialog = Dialog(folder=folder, dpi=dpi)
        x, y, w, h = dialog.x, dialog.y, dialog.w, dialog.h
        check(
            (w, h) == size and x == (1024 - w) // 2 and y in ((768 - h) // 2, (769 - h) // 2),
            f"{dpi}: at {x},{y} {w}x{h}",
        )
        if (
            dpi == 192
        ):  # the painted rows, an option-off mark and a strip's first rows, each pixel doubled
            shot = Shot("dialog-192")
            for py in (46, 233, 459):
                v = round(abs(math.sin(py // 2 / (231 / 3.142)) * 220))
                check(shot.pixel(x + 4, y + py) == (v, v, v + 30), f"background at 192, row {py}")
            check(
                (255, 255, 255) in shot.colours(x + 150, y + 8, x + 210, y + 40),
                "the caption's font not doubled",
            )
            for name, (lx, ly), (sw, sh) in (
                ("option_off.bmp", (20, 64), (13, 13)),
                ("pattern1.bmp", (36, 64), (161, 4)),
            ):
                art = Shot(path=os.path.join(ASSETS, name))
                check(shot.shows(art, x + 2 * lx, y + 2 * ly, 2 * sw, 2 * sh, 2), f"{name} at 192")
        dialog.click((116, 50 + 20 * strip))
        dialog.click(SET)
        if (
            dpi == 192
        ):  # the message's longer line, in the message font at 192 DPI, lies within its box
            bx, by, bw, bh = geometry(find_window("quillmere", timeout=10))
            shot = Shot("not-saved-192")
            ink = [
                px
                for py in range(by, by + bh)
                for px in range(bx, bx + bw)
                if shot.pixel(px, py) == (0, 0, 0)
            ]
            check(
                bx < min(ink) and max(ink) - min(ink) > 600 and max(ink) < bx + bw,
                f"{bx}+{bw}: text {min(ink)}-{max(ink)}",
            )
            key("Return")
            wait_until("the message to go", lambda: not windows_titled("quillmere"), END_LIMIT)
            os.rmdir(dialog.run.ini)
            dialog.click(SET)
        check(dialog.values()[0] == strip, f"{dpi}: the file holds {dialog.run.ini_bytes()}")


def test_at_192_the_still_fills_a_304_by_224_pane_top_left_black_beyond_cut_by_a_smaller_one():
    at_dpi(192)
    check_the_still_in_panes(((304, 224), (400, 260), (200, 100)), 2)


# The run's shared prefix keeps 96 dots per inch.
run_tests_in_own_prefix(globals(), "dpi")

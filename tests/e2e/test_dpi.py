"""The dialog and the preview at 96, 144 and 192 dots per inch (Wine's LogPixels)."""
import os
import tempfile
import time

import pytest

from harness import *

# The run's shared prefix keeps 96 dots per inch.
pytestmark = pytest.mark.own_prefix("dpi")

LOG_PIXELS = ["reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD"]
set_dpi = None  # what this run last set; the prefix keeps it between runs


def at_dpi(dpi):
    """Sets LogPixels; the wineserver, started afresh, reads it."""
    global set_dpi
    if dpi != set_dpi:
        quietly("wine", *LOG_PIXELS, "/d", str(dpi), "/f")
        for step in ("-k", "-w", "-p"):
            quietly("wineserver", step)
        set_dpi = dpi


# Between each English word and its right-hand neighbour (layout pixels): only skin, no ink.
GAPS = [(312, 48 + 24 * row, 316, 61 + 24 * row) for row in range(4)]
GAPS += [(310, 144, 316, 157), (361, 144, 368, 157), (250, 184, 276, 197)]
# Each piece of art from its top-left, and the scales it shows pixel for pixel at: a face's first
# column at 96 (its art is stretched across it, at 192 from the physical pixels).
ART = {
    "option_off": ((20, 64), (13, 13), (1, 2)),
    "pattern1": ((36, 64), (161, 4), (1, 2)),
    "exit_released": ((456, 4), (1, 4), (1,)),
    "button_released": ((276, 188), (1, 4), (1,)),
}


@pytest.mark.parametrize(
    "dpi, size, strip", [(96, (476, 231), 2), (144, (714, 347), 1), (192, (952, 462), 3)]
)
def test_the_dialog_scales_centred_its_words_clear_its_skin_whole_its_boxes_found(dpi, size, strip):
    at_dpi(dpi)
    dialog = Dialog(dpi=dpi)
    assert (dialog.w, dialog.h) == size
    assert dialog.x == (1024 - dialog.w) // 2
    assert dialog.y in ((768 - dialog.h) // 2, (769 - dialog.h) // 2)
    x, y, shot = dialog.x, dialog.y, Shot(f"english-{dpi}")
    at = dialog.at
    for x0, y0, x1, y1 in GAPS:
        box = (x + at(x0), y + at(y0), x + at(x1), y + at(y1))
        ink = {colour for colour in shot.colours(*box) if max(colour) < 80}
        assert not ink, f"text runs into {x0},{y0}-{x1},{y1} at {dpi} dpi"
    if dpi % 96 == 0:  # the skin pixel for pixel: each pixel of its art once at 96, doubled at 192
        s = dpi // 96
        for row, v in BACKGROUND.items():
            for column in (2, 470):
                seen = shot.pixel(x + s * column, y + s * row + s - 1)
                assert seen == (v, v, v + 30), f"background at {column},{row}"
        assert WHITE in shot.colours(x + 75 * s, y + 4 * s, x + 105 * s, y + 20 * s), "no caption"
        tile = Shot(path=os.path.join(ASSETS, "texture.bmp"))
        for panel, tx, ty in ((12, 195, 2), (12, 2, 125), (228, 3, 30), (228, 225, 128)):
            seen = shot.pixel(x + s * (panel + tx), y + s * (36 + ty))
            assert seen == tile.pixel(tx, ty % 26), f"texture at {panel + tx},{ty}"
        for name, ((left, top), (w, h), scales) in ART.items():
            art = Shot(path=os.path.join(ASSETS, f"{name}.bmp"))
            assert s not in scales or shot.shows(art, x + s * left, y + s * top, s * w, s * h, s)
    # A screen reader finds "Save" at its box, (276, 188, 91, 22), scaled edge by edge.
    save = accessible_report()[0][13][4]
    assert save == (x + at(276), y + at(188), at(367) - at(276), at(210) - at(188))
    dialog.click((116, 50 + 20 * strip))
    dialog.click(SET)
    assert dialog.values()[0] == strip


def test_at_192_a_failed_write_says_so_within_the_message_box_and_keeps_the_dialog_open():
    at_dpi(192)
    folder = tempfile.mkdtemp(prefix="quillmere-e2e-")
    os.mkdir(os.path.join(folder, "quillmere.ini"))
    dialog = Dialog(folder=folder, dpi=192)
    dialog.click(SET)
    bx, by, bw, bh = geometry(find_window("quillmere", timeout=10))
    shot = Shot("not-saved-192")
    ink = [x for x in range(bx, bx + bw) if (0, 0, 0) in shot.colours(x, by, x + 1, by + bh)]
    assert bx < min(ink) and max(ink) < bx + bw, f"{bx}+{bw}: text {min(ink)}-{max(ink)}"
    assert max(ink) - min(ink) > 600, "the text is not in the message font at 192 dpi"
    key("Return")
    wait_until("the message to go", lambda: not windows_titled("quillmere"), END_LIMIT)
    time.sleep(3)
    assert windows_titled(DIALOG), "the dialog closed after a failed write"


def test_at_192_the_still_fills_a_304_by_224_pane_top_left_black_beyond_cut_by_a_smaller_one():
    at_dpi(192)
    check_the_still_in_panes(((304, 224), (400, 260), (200, 100)), 2)

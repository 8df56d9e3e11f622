"""The skinned settings dialog of the real quillmere.scr, in its Japanese face."""
import os
import tempfile
import time

import pytest

from harness import *

# The dialog's Japanese face shows where Windows' user interface is Japanese; elsewhere, English.
pytestmark = pytest.mark.own_prefix("ja", locale="ja_JP.UTF-8")
CANCEL, EXIT = (417, 200), (463, 11)


def slider(row, x=44):  # x 8 lies on the left arrow, 44 in the trough, 79 on the right arrow
    return (316 + x, 52 + 24 * row)


@pytest.mark.parametrize(
    "how, message",
    [("up", 0), ("post", 0x1F), ("send", 0x215)],
    ids=["the button going up", "WM_CANCELMODE", "WM_CAPTURECHANGED alone, as Alt+Tab sends it"],
)
def test_a_strip_drag_lasts_until_the_button_goes_up_or_another_program_ends_it(how, message):
    dialog = Dialog()
    xdotool("mousemove", dialog.x + 200, dialog.y + 10, "sleep", 0.2, "mousedown", 1)
    for step in (1, 2, 3):  # the left button held down
        xdotool("mousemove", dialog.x + 200 + 10 * step, dialog.y + 10 + 4 * step, "sleep", 0.05)
    time.sleep(0.3)
    left, top = geometry(dialog.wid)[:2]
    assert (left, top) == (dialog.x + 30, dialog.y + 12), "the dialog did not follow the drag"
    xdotool("mouseup", 1) if how == "up" else deliver(how, DIALOG, message)
    # The pointer moves on along the strip: the button up, or still down after the other's message.
    xdotool("sleep", 0.3, "mousemove", left + 300, top + 10, "sleep", 0.5, "mouseup", 1)
    assert geometry(dialog.wid)[:2] == (left, top)


def test_set_writes_all_six_keys_in_order_and_keeps_hand_written_language_and_pace_lines():
    long_size = "0" * 254 + "7" + "9" * 45  # read back cut to its first 255 characters: 7
    folder = os.path.join(tempfile.mkdtemp(prefix="quillmere-e2e-"), "設定Ωテスト")
    for settings, folder, clicks, want in (
        (
            ini(Kind=0, Size=long_size, Speed=3, Num=120, Intval=20, Sync=1, Language="en")
            + "FrameRate=30\r\n",
            folder,
            [((12 + 104, 36 + 54), 3)],
            [2, 7, 3, 120, 20, 1],
        ),
        (None, None, [((12 + 34, 36 + 114), 1), ((228 + 166, 36 + 114), 1)], [5, 5, 5, 100, 10, 1]),
    ):
        dialog = Dialog(settings, folder)
        for point, button in clicks:
            dialog.click(point, button)
        dialog.click(SET)
        assert dialog.values() == want, f"after set: {dialog.values()}, not {want}"
        kept = {b"Language=en", b"FrameRate=30"} <= set(dialog.run.ini_bytes().split())
        assert kept == bool(settings), "the hand-written lines"


def test_a_covered_dialog_shows_the_same_once_uncovered_and_every_setting_goes_by_the_keys():
    dialog = Dialog()
    box = (dialog.x, dialog.y, dialog.x + dialog.w, dialog.y + dialog.h)
    before = Shot()
    # The stand-in's window, 440 x 340 at 100, 100, covers the dialog's top-left part.
    cover = stand_in(400, 300)
    cover.report()
    time.sleep(0.5)
    assert Shot().pixel(dialog.x + 20, dialog.y + 40) == (0, 0, 200), "the dialog was not covered"
    cover.end()
    time.sleep(0.7)
    assert Shot("uncovered").pixels(*box) == before.pixels(*box)
    dialog.click(slider(3, 79))  # 11 seconds, and the keyboard on that slider
    key("Left", "shift+Tab", "shift+Tab", "shift+Tab", "End", "Tab", "Home", "Tab", "End", "Prior")
    key("Return", "Tab", "Next", "Tab", "Down", "Down", "Tab", "Right", "Return", "Escape")
    key(*["Tab", "Return"] * 4, "shift+Tab", "shift+Tab", "shift+Tab")  # each button and the link
    time.sleep(3)
    assert windows_titled(DIALOG), "Enter or Escape closed the dialog"
    key("space")
    assert dialog.values() == [2, 20, 1, 199, 11, 1], f"after the keys: {dialog.values()}"


def test_a_moved_slider_then_cancel_exit_or_alt_f4_leaves_even_a_hostile_file_byte_for_byte():
    plain = ini(Kind=3, Size=6, Speed=4, Num=150, Intval=15, Sync=0).encode() + b"; kept\r\n"
    hostile = ini(Kind=7, Size=-5, Speed="abc", Num=300, Intval=2147483647, Sync=9).encode()
    for close, original in ((CANCEL, plain), (EXIT, plain), ("alt+F4", hostile)):
        dialog = Dialog(original)
        label = (dialog.x + 404, dialog.y + 48, dialog.x + 429, dialog.y + 61)
        before = Shot()
        dialog.click(slider(0, 79))
        assert Shot().pixels(*label) != before.pixels(*label), "the size label did not change"
        dialog.click(close) if isinstance(close, tuple) else key(close)
        dialog.run.wait_exit(10)
        assert dialog.run.ini_bytes() == original, f"closing by {close} changed the settings file"

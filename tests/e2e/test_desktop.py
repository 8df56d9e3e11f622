"""The saver on a desktop that changes under it."""
import time

import pytest

from harness import *

# An Xephyr keeps RandR, so the display mode can change under the saver.
pytestmark = pytest.mark.own_prefix("desktop", screens=["-screen", "1024x768"])

WM_CLOSE, WM_QUERYENDSESSION, WM_ENDSESSION = 0x10, 0x11, 0x16
WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK = 0x2B1, 7


def change_mode(width, height):
    """Our windowless program (programs/stand_in.cpp) changes the mode; Wine tells every program."""
    assert stand_in("mode", width, height).wait_exit(20) == 0, f"{width}x{height} refused"


def test_a_larger_or_smaller_screen_is_covered_at_once_and_a_key_still_ends_it():
    with white_window(900, 600, 380, 424):  # reaching where only the larger screen shows
        for width, height in ((1280, 1024), (800, 600)):
            run, wid = start_saver()
            change_mode(width, height)
            wait_until(
                f"the saver over all of {width}x{height}",
                lambda: geometry(wid) == (0, 0, width, height),
                10,
            )
            time.sleep(0.5)
            shot = Shot(f"{width}x{height}")
            seen = shot.colours(0, 0, width, height)
            assert shot.width == width
            assert WHITE not in seen, f"white shows beside the saver at {width}x{height}"
            assert len(seen) > 5, f"no trails at {width}x{height}"
            key("space")
            run.wait_exit()
            change_mode(1024, 768)


def test_a_close_a_log_off_its_query_or_a_lock_from_another_program_ends_it_clearing_the_flag():
    # Under Wine a close alone would pass without its handler: the teardown's loss of activation ends it.
    for how, message, reason, settings in (
        ("post", WM_CLOSE, 0, BUSY),
        ("post", WM_ENDSESSION, 1, BUSY),
        ("post", WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, BUSY),
        # Answered at once though the largest disc covers the screen at each of the million
        # crawlers: a frame takes minutes.
        ("send", WM_QUERYENDSESSION, 0, ini(Num=2**31 - 1, Size=2**31 - 1)),
    ):
        run, _ = start_saver(settings=settings)
        time.sleep(1 if how == "send" else 0)  # a frame under way
        poster, ready = deliver(how, SAVER, message, reason)
        assert int(ready["answered_ms"]) < 2000, f"message {message:#x} waited for the frame"
        report = poster.report("result.txt")
        assert report["gone_ms"] != "0", f"the window stayed after message {message:#x}"
        assert report["running"] == "0", f"the running flag stayed after message {message:#x}"
        run.wait_exit()

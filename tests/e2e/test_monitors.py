"""The saver on two monitors (two Xinerama heads of an Xephyr inside the run's Xvfb): the second
is covered black, input there ends the saver, and so does another program taking the foreground."""
import time

import pytest

from harness import *

# The run's shared prefix has settled on the Xvfb's single monitor.
pytestmark = pytest.mark.own_prefix(
    "monitors",
    screens=["-screen", "1024x768", "-screen", "800x600", "+xinerama", "-extension", "RANDR"],
)

SECOND, WHITE_SPOT = (1024, 0, 1824, 600), (1400, 250)


def start():
    # 1400 - 1024: (1400, 500) ends the saver only if the cover's offset counts
    run, _ = start_saver(pointer=(376, 300))
    time.sleep(1)
    return run


def test_the_second_monitor_is_covered_and_a_move_there_along_both_axes_ends_it():
    with white_window(1100, 50, 600, 400):
        run = start()
        xdotool("mousemove", 1400, 300)
        moved, shot = time.monotonic(), Shot("two-monitors")
        assert shot.colours(*SECOND, 4) == {
            (0, 0, 0)
        }, "the second monitor is not all black under the saver"
        assert len(shot.colours(0, 0, 1024, 768, 4)) > 5, "the primary shows no trails"
        time.sleep(max(0, moved + 3.5 - time.monotonic()))  # longer than a teardown
        assert windows_titled(SAVER), "a move along one axis on the second monitor ended the saver"
        xdotool("mousemove", 1400, 500)
        run.wait_exit()
        wait_until("the white window to show again", lambda: Shot().pixel(*WHITE_SPOT) == WHITE, 5)


def test_a_click_or_a_system_key_with_the_pointer_on_the_second_monitor_ends_it():
    for action in (1, "F10"):
        run = start()
        xdotool(
            "mousemove", 1400, 300, "sleep", 0.3
        )  # the move there keeps y: only the action can end it
        click(1400, 300) if action == 1 else key(action)
        run.wait_exit()


def test_another_program_taking_the_foreground_ends_it():
    run = start()
    host = preview_host(152, 112)
    ready = wait_until("the preview host", lambda: host_report(host, "ready.txt"), 20)
    assert (
        ready["saver_active"] == "1"
    ), "the saver window was not the active window before the host's"
    run.wait_exit(END_LIMIT + 2)

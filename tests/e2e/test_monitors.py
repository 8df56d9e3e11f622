"""The saver on two monitors: two Xinerama heads of an Xephyr inside the run's Xvfb."""
import os
import time

import pytest

from harness import *

# The run's shared prefix has settled on the Xvfb's single monitor.
pytestmark = pytest.mark.own_prefix(
    "monitors",
    screens=["-screen", "1024x768", "-screen", "800x600", "+xinerama", "-extension", "RANDR"],
)

WHITE_SPOT, BLACK = (1400, 250), (0, 0, 0)
QUARTERS = [(x, y, x + 400, y + 300) for x in (1024, 1424) for y in (0, 300)]


# What ends it: a move along both axes after one along y alone, a button, a key, or another
# program's window taking the foreground, the saver topmost and active until then.
@pytest.mark.parametrize(
    "monitors, action", [(0, (1400, 500)), (0, 1), (0, "F10"), (1, "space"), (0, "a window")]
)
def test_the_second_monitor_has_trails_unless_monitors_1_and_input_there_ends_it(monitors, action):
    with white_window(1100, 50, 600, 400):
        # 1400 - 1024: (1400, 500) ends the saver only if the cover's offset counts
        run, _ = start_saver(settings=BUSY + f"Monitors={monitors}\r\n", pointer=(376, 300))
        time.sleep(1)
        xdotool("mousemove", 1400, 300)
        moved = time.monotonic()
        time.sleep(1)
        shot = Shot(f"second-monitor-{monitors}")
        for quarter in QUARTERS:
            seen = shot.colours(*quarter, 4)
            assert WHITE not in seen, f"the white window shows through in {quarter}"
            covered = len(seen - {BLACK}) > 3 if monitors == 0 else seen == {BLACK}
            assert covered, f"with Monitors={monitors}, {quarter} is not as asked"
        assert len(shot.colours(0, 0, 1024, 768, 4)) > 5, "the primary shows no trails"
        if action == "a window":
            ready = stand_in(152, 112).report()
            assert ready["saver_on_top"] == "1"
            assert ready["saver_active"] == "1", "a window on the second monitor took it"
        elif isinstance(action, tuple):
            time.sleep(max(0, moved + 3.5 - time.monotonic()))  # longer than a teardown
            assert windows_titled(SAVER), "a move along one axis on the second monitor ended it"
            xdotool("mousemove", *action)
        else:
            click(1400, 300) if action == 1 else key(action)
        run.wait_exit(END_LIMIT + 2)
        wait_until("the white window to show again", lambda: Shot().pixel(*WHITE_SPOT) == WHITE, 5)


def test_the_recorded_canvases_are_drawn_and_every_window_shows_its_canvas_in_every_pattern():
    run = Run(["screens"], exe=STAND_IN)
    assert run.wait_exit(60) == 0
    report = open(os.path.join(run.folder, "screens.txt")).read()
    assert report == "patterns 5\nmonitors 2\n", report

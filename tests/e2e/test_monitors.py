"""The saver on two monitors (Xephyr's two Xinerama heads inside the run's Xvfb): the second
one is covered black and its input ends the saver; so does another program taking the foreground."""
import os
import subprocess
import time

from harness import *

TITLE = "quillmere_Main"
SECOND = (1024, 0, 1824, 600)  # beside the 1024 x 768 primary
WHITE_SPOT = (1400, 250)       # inside our white window on the second monitor
START = (376, 300)             # 1400 - 1024 = 376: a move to (1400, 300) keeps y, one to (1400, 500) keeps x within the monitor
END_LIMIT = 2 + 4              # Wine's teardown takes about two seconds


def start_xephyr():
    number = next(n for n in range(140, 200) if not os.path.exists(f"/tmp/.X11-unix/X{n}"))
    server = subprocess.Popen(["Xephyr", f":{number}", "-screen", "1024x768", "-screen", "800x600", "+xinerama",
                               "-extension", "RANDR", "-nolisten", "tcp"], env=ENV,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    ENV["DISPLAY"] = f":{number}"  # every program, input and screenshot from here on
    wait_until("Xephyr", lambda: subprocess.run(["xdpyinfo"], env=ENV, capture_output=True).returncode == 0, 20)
    return server


def start_saver():
    move(*START)
    run = Run(["/s"])
    find_window(TITLE, timeout=20)
    time.sleep(1.0)
    check(run.alive(), "the saver ended by itself")
    return run


def foreground_title():
    probe = Run(["?foreground"], exe=program("titled_window"))
    probe.wait_exit(20, "the foreground probe")
    with open(os.path.join(probe.folder, "foreground.txt"), encoding="utf-8") as f:
        return f.read()


def test_second_monitor_is_covered_and_a_move_there_along_both_axes_ends_it():
    Run(["@1100,50,600,400", "white"], exe=program("titled_window"))
    find_window("white")
    check(screenshot("before").pixel(*WHITE_SPOT) == (255, 255, 255), "our white window is not on the second monitor")
    run = start_saver()
    move(1400, 300)
    moved = time.monotonic()
    shot = screenshot("running")
    check(shot.region_colours(*SECOND) == {(0, 0, 0)}, "the second monitor is not all black under the saver")
    check(len(shot.region_colours(0, 0, 1024, 768)) > 5, "the primary shows no trails")
    check(foreground_title() == TITLE, "the saver window lost the activation at its start")
    time.sleep(max(0.0, moved + 3.5 - time.monotonic()))
    check(run.alive(), "a move along one axis on the second monitor ended the saver")
    move(1400, 500)
    run.wait_exit(END_LIMIT, "a move along both axes on the second monitor to end the saver")
    check(screenshot("after").pixel(*WHITE_SPOT) == (255, 255, 255), "the white window did not come back")


def test_a_click_on_the_second_monitor_ends_it():
    run = start_saver()
    click(1400, 300)  # the move there keeps y, so only the click can end it
    run.wait_exit(END_LIMIT, "a click on the second monitor to end the saver")


def test_another_program_taking_the_foreground_ends_it():
    run = start_saver()
    Run(["@1200,100,200,100", "other"], exe=program("titled_window"))
    run.wait_exit(END_LIMIT + 3, "another program's window taking the foreground to end the saver")


xephyr = start_xephyr()
try:
    run_tests(globals())
finally:
    xephyr.terminate()

"""The saver on a desktop that changes under it (an Xephyr that keeps RandR, inside the run's Xvfb):
a new display mode lays it out again, and a lock or a close from another program ends it as input
does, the screen-saver-running flag cleared."""
import subprocess
import time

from harness import *

WHITE, WM_CLOSE, WM_ENDSESSION, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK = (255, 255, 255), 0x10, 0x16, 0x2B1, 7

def start():
    xdotool("mousemove", 512, 384)
    run = Run(["/s"], ini=ini(Num=50, Size=10, Speed=10, Intval=60))
    wid = find_window(SAVER)
    time.sleep(1)
    return run, wid

def change_mode(width, height):
    """Our windowless program (programs/preview_host.cpp) changes the mode; Wine tells every program."""
    check(preview_host("mode", width, height).wait_exit(20) == 0, f"the mode {width}x{height} was refused")

def test_a_larger_screen_is_covered_at_once_and_a_key_still_ends_it():
    change_mode(1024, 768)
    white = subprocess.Popen(["display", "-geometry", "+900+600", "-size", "380x424", "xc:white"], env=ENV)
    try:
        wait_until("a white window reaching past the screen", lambda: Shot().pixel(1000, 700) == WHITE, 10)
        run, wid = start()
        change_mode(1280, 1024)
        wait_until("the saver over all of 1280x1024", lambda: geometry(wid) == (0, 0, 1280, 1024), 10)
        shot = Shot("1280x1024")
        seen = shot.colours(0, 0, 1280, 1024)
        check(shot.width == 1280 and WHITE not in seen, "white shows beside the saver on the larger screen")
        check(len(seen) > 5, "no trails on the larger screen")
        key("space")
        run.wait_exit()
    finally:
        white.kill()

def test_a_smaller_screen_gets_the_saver_at_its_size_and_a_key_still_ends_it():
    change_mode(1024, 768)
    run, wid = start()
    change_mode(800, 600)
    wait_until("the saver at 800x600", lambda: geometry(wid) == (0, 0, 800, 600), 10)
    time.sleep(0.5)
    check(len(Shot("800x600").colours(0, 0, 800, 600, 2)) > 5, "no trails on the smaller screen")
    key("space")
    run.wait_exit()

def test_a_close_from_another_program_a_log_off_or_a_lock_ends_it_and_clears_the_running_flag():
    # Under Wine a close alone would pass without its handler: the teardown's loss of activation ends it.
    for message, reason in ((WM_CLOSE, 0), (WM_ENDSESSION, 1), (WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK)):
        run, _ = start()
        poster = post(SAVER, message, reason)
        report = wait_until("the poster's report", lambda: host_report(poster, "result.txt"), 20)
        check(report["gone_ms"] != "0" and report["running"] == "0", f"after message {message:#x}: {report}")
        run.wait_exit()

# An Xephyr keeps RandR, so the display mode can change under the saver.
run_tests_in_own_prefix(globals(), "desktop", ["-screen", "1024x768"])

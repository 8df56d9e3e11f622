"""The preview window in a host's pane: the still at its own size from the top-left corner,
black around it, cut at the pane's edges, a child of the pane, and a process that ends with it.

Wine shows nothing that a process draws into a child window of another process's window, so
the pictures are checked with the host running the same entry routine in its own process, and
the window relation and the ending with the real quillmere.scr in a process of its own."""
import os
import shutil
import tempfile

from harness import *

ASSETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets")
PANE_X, PANE_Y = 120, 120
HOST_GREEN = (0, 160, 0)
PANE_BLUE = (0, 0, 200)
BLACK = (0, 0, 0)
WS_CHILD = 0x40000000


def read_state(folder, name):
    path = os.path.join(folder, name)
    if not os.path.exists(path):
        return None
    with open(path) as f:
        text = f.read()
    if name == "ready.txt" and "visible=" not in text and "started=0" not in text:
        return None
    return dict(line.split("=", 1) for line in text.split() if "=" in line) or None


class Host:
    """The preview host with a pane of width x height, started in a fresh folder."""

    def __init__(self, width, height, in_process=False):
        self.width, self.height = width, height
        folder = tempfile.mkdtemp(prefix="quillmere-e2e-")
        shutil.copy(SCR, os.path.join(folder, "quillmere.scr"))
        args = [str(width), str(height)] + (["inproc"] if in_process else [])
        self.run = Run(args, exe=program("preview_host"), folder=folder)
        self.ready = wait_until("the preview host to report its pane",
                                lambda: read_state(folder, "ready.txt"), 20)
        check(self.ready.get("started") == "1", "the host could not start quillmere.scr")

    def end(self, how):
        with open(os.path.join(self.run.folder, "end.txt"), "w") as f:
            f.write(how)
        result = wait_until("the host's result", lambda: read_state(self.run.folder, "result.txt"), 15)
        self.run.wait_exit(10, "the preview host to end")
        return int(result["ended_ms"])


def still():
    return Shot(os.path.join(ASSETS, "preview.bmp"))


def check_still_shown(shot, picture, width, height):
    for y in range(height):
        for x in range(width):
            if shot.pixel(PANE_X + x, PANE_Y + y) != picture.pixel(x, y):
                fail(f"pane pixel {x},{y} is {shot.pixel(PANE_X + x, PANE_Y + y)}, "
                     f"the still has {picture.pixel(x, y)}")


def shot_of_pane(host, name):
    time.sleep(0.5)
    return screenshot(name)


def test_the_still_fills_a_pane_of_its_own_size():
    host = Host(152, 112, in_process=True)
    shot = shot_of_pane(host, "preview-152x112")
    check_still_shown(shot, still(), 152, 112)
    host.end("close")


def test_a_larger_pane_shows_the_still_top_left_with_black_around():
    host = Host(240, 180, in_process=True)
    shot = shot_of_pane(host, "preview-240x180")
    check_still_shown(shot, still(), 152, 112)
    for x, y in ((152, 0), (239, 0), (0, 112), (200, 150), (239, 179), (151, 179)):
        check(shot.pixel(PANE_X + x, PANE_Y + y) == BLACK,
              f"pane pixel {x},{y} outside the still is {shot.pixel(PANE_X + x, PANE_Y + y)}")
    host.end("close")


def test_a_smaller_pane_shows_the_top_left_part_of_the_still():
    host = Host(100, 60, in_process=True)
    shot = shot_of_pane(host, "preview-100x60")
    check_still_shown(shot, still(), 100, 60)
    for x, y in ((100, 0), (105, 30), (50, 60), (50, 65)):
        check(shot.pixel(PANE_X + x, PANE_Y + y) == HOST_GREEN,
              f"the still shows beyond the pane at {x},{y}: {shot.pixel(PANE_X + x, PANE_Y + y)}")
    host.end("close")


def test_the_preview_is_a_child_window_covering_the_pane():
    for width, height in ((152, 112), (240, 180), (100, 60)):
        host = Host(width, height)
        ready = host.ready
        check(ready["child"] == "1", f"no preview window in the {width}x{height} pane")
        check(int(ready["style"], 16) & WS_CHILD, f"the preview window is not a child: {ready['style']}")
        check(ready["visible"] == "1", "the preview window is not shown")
        check(ready["rect"] == f"{PANE_X},{PANE_Y},{PANE_X + width},{PANE_Y + height}",
              f"the preview window lies at {ready['rect']} in a {width}x{height} pane")
        host.end("close")


def test_the_preview_ends_within_two_seconds_when_the_pane_is_destroyed():
    host = Host(152, 112)
    took = host.end("destroy")
    check(0 <= took <= 2000, f"the preview process took {took} ms to end after its pane went")


def test_the_preview_ends_when_the_host_closes_its_window():
    host = Host(152, 112)
    took = host.end("close")
    check(0 <= took <= 2000, f"the preview process took {took} ms to end after WM_CLOSE")


def test_with_the_dialog_open_a_preview_request_draws_nothing():
    dialog = Run(["/c"])
    find_window("quillmereの設定", timeout=30)
    host = Host(152, 112)
    check(host.ready["child"] == "0", "a preview window appeared beside the settings dialog")
    check(host.ready["ended"] == "1", "the preview process did not end at once")
    shot = screenshot("pane-beside-dialog")
    check(shot.region_colours(PANE_X, PANE_Y, PANE_X + 152, PANE_Y + 112) == {PANE_BLUE},
          "something was drawn into the pane")
    host.end("close")
    x, y, _, _ = window_geometry(find_window("quillmereの設定"))
    click(x + 372 + 45, y + 192 + 8)
    dialog.wait_exit(10, "the settings dialog to close")


run_tests(globals())

"""The preview in a host's pane."""
from harness import *


def test_the_preview_shows_the_still_top_left_as_a_child_over_the_pane_and_ends_with_the_pane():
    check_the_still_in_panes(((152, 112), (240, 180), (100, 60)))
    for (w, h), how in (((152, 112), "close"), ((240, 180), "destroy"), ((100, 60), "destroy")):
        run = stand_in(w, h)
        ready = run.report()
        assert ready["child"] == ready["visible"] == "1", f"in a {w}x{h} pane: {ready}"
        assert int(ready["style"], 16) >> 30 == 1, "the preview is not a child window"
        assert ready["rect"] == f"120,120,{120 + w},{120 + h}"
        took = int(run.end(how, gone=False)["ended_ms"])
        assert 0 <= took <= 2000, f"the preview outlived its pane's {how}"

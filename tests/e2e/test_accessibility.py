"""A screen reader in another process (programs/accessible_reader.cpp) reads the settings dialog
through the accessible object of its client area: the rows in Tab order with their roles, names,
states and boxes on screen, and their default actions; and the object itself at the edges of what
a client may ask (programs/accessible_check.cpp)."""
import os

import pytest

from harness import *

SLIDER, RADIO, BUTTON, LINK, CLIENT = 0x33, 0x2D, 0x2B, 0x1E, 0x0A
FOCUSABLE, CHECKED, LINKED = 0x100000, 0x10, 0x400000
NOT_AN_ACTION = "0x80020003"  # DISP_E_MEMBERNOTFOUND

# Role, name (None where the dialog does not fix one) and box in the client area at 96 dpi. Sliders:
# values panel (228, 36) + (88, 8 + 24 r, 85, 17); a choice's box runs from its mark to the end of
# its strip or label: pattern panel (12, 36) + mark (8, 8 + 20 i) to strip end 24 + 161 or label end
# 24 + 32; sync marks at 88 and 140 with labels ending at 130 and 195. The link's width is its text's.
ROWS = [
    (SLIDER, "ｻｲｽﾞ", (316, 44, 85, 17)),
    (SLIDER, "ｽﾋﾟｰﾄﾞ", (316, 68, 85, 17)),
    (SLIDER, "数", (316, 92, 85, 17)),
    (SLIDER, "ｸﾘｱ・ｲﾝﾀｰﾊﾞﾙ", (316, 116, 85, 17)),
    *[(RADIO, None, (20, 44 + 20 * i, 177, 13)) for i in range(5)],
    (RADIO, "ﾗﾝﾀﾞﾑ", (20, 144, 48, 13)),
    (RADIO, "同期", (316, 144, 42, 13)),
    (RADIO, "非同期", (368, 144, 55, 13)),
    (BUTTON, "設定", (276, 188, 91, 22)),
    (BUTTON, "ｷｬﾝｾﾙ", (372, 188, 91, 22)),
    (BUTTON, None, (456, 4, 15, 15)),
    (LINK, None, (16, 204, None, 13)),
]


@pytest.mark.parametrize(
    "settings, checked, values",
    [
        (None, {5, 11}, ["5", "5", "100", "10"]),
        (
            ini(Kind=2, Size=6, Speed=4, Num=150, Intval=15, Sync=1),
            {7, 12},
            ["6", "4", "150", "15"],
        ),
        (
            ini(Kind=5, Size=20, Speed=1, Num=50, Intval=60, Sync=0),
            {10, 11},
            ["20", "1", "50", "60"],
        ),
    ],
    ids=["defaults", "third pattern, own colours", "random pattern, extremes"],
)
def test_another_process_reads_each_row_with_its_role_state_and_box_on_screen(
    settings, checked, values
):
    dialog = Dialog(settings)
    via, rows, _ = accessible_report()
    # Wine 8 hands our WM_GETOBJECT answer through the documented call itself.
    assert via == "via=AccessibleObjectFromWindow", via
    assert rows[0][0] == CLIENT
    assert rows[0][2] == DIALOG
    assert rows[0][4] == (dialog.x, dialog.y, 476, 231)
    assert sorted(rows) == list(range(len(ROWS) + 1)), sorted(rows)
    for id, (role, name, (x, y, w, h)) in enumerate(ROWS, 1):
        got_role, state, got_name, value, box, hit, after_it = rows[id]
        assert got_role == role, f"row {id}: role {got_role}"
        # Names as the core's table gives them.
        assert name in (None, got_name), f"row {id}: name {got_name!r}"
        want = (dialog.x + x, dialog.y + y, box[2] if w is None else w, h)
        assert box == want, f"row {id}: box {box}, not {want}"
        assert hit == str(id), f"row {id}: the middle of its box hits {hit}"
        assert after_it == (str(id + 1) if id < len(ROWS) else "-"), f"row {id}: next {after_it}"
        assert state & (FOCUSABLE | LINKED) == FOCUSABLE | (LINKED if role == LINK else 0)
    assert {id for id in rows if id and rows[id][1] & CHECKED} == checked
    assert [rows[id][3] for id in range(1, 5)] == values


def test_default_actions_from_another_process_act_as_clicks_and_a_slider_has_none():
    dialog = Dialog()
    _, _, after = accessible_report(1, 10, 12, 13)
    assert after[:4] == [
        ["do", "1", NOT_AN_ACTION],
        ["do", "10", "0x00000000"],
        ["do", "12", "0x00000000"],
        ["do", "13", "0x00000000"],
    ], after
    assert dialog.values() == [5, 5, 5, 100, 10, 1]
    # Once the dialog has gone, the reader's copy of the object fails instead of hanging.
    assert after[4][0] == "gone" and after[4][1].startswith("0x8"), after


def test_the_object_answers_bad_ids_the_edges_and_every_call_once_detached_as_clients_expect():
    check = Run([], exe=os.path.join(os.environ["QUILLMERE_PROGRAMS"], "accessible_check.exe"))
    code = check.wait_exit(30)
    assert code == 0, open(os.path.join(check.folder, "accessible_check.txt")).read()

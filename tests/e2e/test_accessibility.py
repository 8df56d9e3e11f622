"""A screen reader in another process (programs/stand_in.cpp) reads the settings dialog
through the accessible object of its client area, in either face: the rows in Tab order with their
roles, names, states and boxes on screen, and their default actions."""
import pytest

from harness import *

SLIDER, RADIO, BUTTON, LINK, CLIENT = 0x33, 0x2D, 0x2B, 0x1E, 0x0A
FOCUSABLE, CHECKED, LINKED = 0x100000, 0x10, 0x400000
ROLES = [SLIDER] * 4 + [RADIO] * 8 + [BUTTON] * 3 + [LINK]
URL = "https://quillmere.example/"
NAMES = {  # in Tab order, as each face shows them
    "ja": "ｻｲｽﾞ ｽﾋﾟｰﾄﾞ 数 ｸﾘｱ・ｲﾝﾀｰﾊﾞﾙ 金色 グレー 青 虹色 紙吹雪 ﾗﾝﾀﾞﾑ 同期 非同期 設定 ｷｬﾝｾﾙ 閉じる",
    "en": "Size Speed Count Interval Gold Grey Blue Rainbow Confetti Random One Each Save Cancel "
    "Close",
}
# In the client area at 96 dpi: Size's slider, values panel (228, 36) + (88, 8, 85, 17); the third
# pattern from its mark, pattern panel (12, 36) + (8, 48), to its strip's end, 24 + 161.
BOXES = {1: (316, 44, 85, 17), 7: (20, 84, 177, 13)}


@pytest.mark.parametrize("language", ["ja", None], ids=["Language=ja", "the English system's"])
def test_another_process_reads_every_row_by_name_role_state_and_box_in_the_dialogs_face(language):
    settings = ini(Kind=2, Size=6, Num=300, Sync=1, **({"Language": language} if language else {}))
    dialog = Dialog(settings)
    rows, after = accessible_report()
    assert rows[0][0] == CLIENT
    assert rows[0][2] == DIALOG
    assert rows[0][4] == (dialog.x, dialog.y, 476, 231)
    assert [rows[id][0] for id in range(1, 17)] == ROLES
    assert [rows[id][2] for id in range(1, 17)] == NAMES[language or "en"].split() + [URL]
    assert [rows[id][3] for id in range(1, 5)] == ["6", "5", "300", "10"]
    assert {id for id in rows if id and rows[id][1] & CHECKED} == {7, 12}
    for id, (x, y, w, h) in BOXES.items():
        assert rows[id][4] == (dialog.x + x, dialog.y + y, w, h), f"row {id}"
    for id in range(1, 17):
        assert rows[id][5] == str(id), f"row {id}: the middle of its box hits {rows[id][5]}"
        assert rows[id][6] == (str(id + 1) if id < 16 else "-"), f"row {id}: next {rows[id][6]}"
        assert rows[id][1] & (FOCUSABLE | LINKED) == FOCUSABLE | (LINKED if id == 16 else 0)
    assert after[0][0] == "beyond" and after[0][1].startswith("0x8"), after


def test_default_actions_from_another_process_act_as_clicks_and_a_slider_has_none():
    dialog = Dialog()
    _, after = accessible_report(1, 10, 12, 13)
    assert after[1:5] == [
        ["do", "1", "0x80020003"],  # DISP_E_MEMBERNOTFOUND
        ["do", "10", "0x00000000"],
        ["do", "12", "0x00000000"],
        ["do", "13", "0x00000000"],
    ], after
    assert dialog.values() == [5, 5, 5, 100, 10, 1]
    # Once the dialog has gone, the reader's copy of the object fails instead of hanging.
    assert after[5][0] == "gone" and after[5][1].startswith("0x8"), after

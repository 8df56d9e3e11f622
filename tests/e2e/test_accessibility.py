"""A screen reader in another process (the stand-in) reads and hears the settings dialog."""
import os

import pytest

from harness import *

SLIDER, RADIO, BUTTON, LINK, CLIENT = 0x33, 0x2D, 0x2B, 0x1E, 0x0A
FOCUSABLE, FOCUSED, CHECKED, LINKED = 0x100000, 0x4, 0x10, 0x400000
ROLES = [SLIDER] * 4 + [RADIO] * 8 + [BUTTON] * 3 + [LINK]
URL = "https://quillmere.example/"
NAMES = {  # in Tab order, as each face shows them
    "ja": "ｻｲｽﾞ ｽﾋﾟｰﾄﾞ 数 ｸﾘｱ・ｲﾝﾀｰﾊﾞﾙ 金色 グレー 青 虹色 紙吹雪 ﾗﾝﾀﾞﾑ 同期 非同期 設定 ｷｬﾝｾﾙ 閉じる",
    "en": "Size Speed Count Interval Gold Grey Blue Rainbow Confetti Random One Each Save Cancel "
    "Close",
}
EVENTS, FOCUS_0 = {"0x8005": "focus", "0x800a": "state", "0x800e": "value"}, ["0x8005", "0"]
WORDS = {  # the client's name, the patterns' and the colours' groups, the verbs
    "ja": ["quillmereの設定", "模様", "色の表示", "チェック", "押す", "ジャンプ"],
    "en": ["quillmere settings", "Pattern", "Colours", "Check", "Press", "Jump"],
}
# In the client area at 96 dpi: Size's slider, values panel (228, 36) + (88, 8, 85, 17); the third
# pattern from its mark, pattern panel (12, 36) + (8, 48), to its strip's end, 24 + 161.
BOXES = {1: (316, 44, 85, 17), 7: (20, 84, 177, 13)}


@pytest.mark.parametrize("language", ["ja", None], ids=["Language=ja", "the English system's"])
def test_another_process_reads_every_row_in_the_dialogs_face_and_its_actions_are_clicks(language):
    face = f"Language={language}\r\n" if language else ""
    dialog = Dialog(ini(Kind=2, Size=6, Speed=5, Num=300, Intval=10, Sync=1) + face)
    rows, after = accessible_report(1, 10, 11, 13)
    title, pattern, colours, check, press, jump = WORDS[language or "en"]
    assert rows[0][0] == CLIENT
    assert rows[0][2] == title
    assert rows[0][4] == (dialog.x, dialog.y, 476, 231)
    assert [rows[id][0] for id in range(1, 17)] == ROLES
    assert [rows[id][2] for id in range(1, 17)] == NAMES[language or "en"].split() + [URL]
    assert [rows[id][3] for id in range(1, 5)] == ["6", "5", "300", "10"]
    assert {id for id in rows if id and rows[id][1] & CHECKED} == {7, 12}
    for id, (x, y, w, h) in BOXES.items():
        assert rows[id][4] == (dialog.x + x, dialog.y + y, w, h), f"row {id}"
    for id in range(1, 17):
        assert rows[id][5] == str(id), f"row {id}: the window at its middle hits {rows[id][5]}"
        assert rows[id][6] == (str(id + 1) if id < 16 else "-"), f"row {id}: next {rows[id][6]}"
        assert rows[id][1] & (FOCUSABLE | LINKED) == FOCUSABLE | (LINKED if id == 16 else 0)
    groups = [""] * 4 + [pattern] * 6 + [colours] * 2 + [""] * 4
    assert [rows[id][7] for id in range(1, 17)] == groups
    assert [rows[id][8] for id in range(1, 17)] == [""] * 4 + [check] * 8 + [press] * 3 + [jump]
    assert after[1][0] == "beyond" and after[1][1].startswith("0x8"), after
    # A slider has no default action; 設定 closes the dialog only once the reader's call returned.
    assert after[2:6] == [
        ["do", "1", "0x80020003", "1"],  # DISP_E_MEMBERNOTFOUND
        ["do", "10", "0x00000000", "1"],
        ["do", "11", "0x00000000", "1"],
        ["do", "13", "0x00000000", "1"],
    ], after
    assert dialog.values() == [5, 6, 5, 300, 10, 0]
    # Once the dialog has gone, the reader's copy of the object fails instead of hanging.
    assert after[6][0] == "gone" and after[6][1].startswith("0x8"), after


def test_a_reader_hears_every_change_and_the_focus_only_while_the_dialog_holds_the_keyboard():
    dialog = Dialog()
    reader = stand_in("hear", DIALOG)
    assert reader.report()["posted"] == "1", "the reader found no dialog to hear"
    dialog.click((316 + 79, 52))  # Size's right arrow: 6, and the keyboard there
    key("Right", "End", "Tab", "Tab", "Tab", "Tab", "Down")  # the second pattern
    cover = stand_in(400, 300)  # another program's window takes the keyboard
    cover.report()
    rows, after = accessible_report()
    assert after[0] == ["focus", "-"] and not any(row[1] & FOCUSED for row in rows.values())
    cover.end()
    dialog.click((240, 176))  # nothing there: the dialog takes the keyboard back
    want = ["focus 1"] + ["value 1"] * 3 + [f"focus {id}" for id in (2, 3, 4, 5)]
    want += ["state 5", "state 6", "focus 6", "focus 6"]
    heard = lambda: [line.split() for line in open(os.path.join(reader.folder, "heard.txt"))]
    ours = lambda: [f"{EVENTS[e]} {id}" for e, id in heard() if e in EVENTS and [e, id] != FOCUS_0]
    wait_until(f"{want[-1]} again", lambda: len(ours()) >= len(want), 10)
    assert ours() == want

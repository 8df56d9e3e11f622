"""Start-up of the real quillmere.scr: switches that end by themselves, the single-instance
guard, and the settings file through the real profile functions."""
import os
import tempfile

from harness import *

MARKERS = ["quillmere_Main", "quillmereの設定"]


def test_unknown_switches_end_by_themselves():
    for args in (["/x"], ["s"], ["/"], ["/a", "1234"], ["/a"]):
        run = Run(args)
        run.wait_exit(10, f"quillmere.scr {' '.join(args)} to end by itself")
        check(not windows_titled("quillmere_Main"), f"{args} opened a saver window")


def test_every_start_ends_at_once_while_a_marker_window_exists():
    for marker in MARKERS:
        holder = Run([marker], exe=program("titled_window"))
        find_window(marker, timeout=15)
        for args in (["/s"], [], ["/c"], ["/p", "1234"], ["/a", "1"]):
            run = Run(args)
            run.wait_exit(10, f"{args} to end at once beside a window titled {marker!r}")
            check(len(windows_titled(marker)) == 1, f"{args} opened a second {marker!r} window")
            check(not windows_titled("quillmereの設定" if marker == MARKERS[0] else MARKERS[0]),
                  f"{args} opened a window beside {marker!r}")
        holder.kill()


def probe(args, ini=None, folder=None):
    """Runs the settings probe and returns the run; "read" leaves what it read in probe.txt."""
    run = Run(args, ini=ini, exe=program("settings_probe"), folder=folder)
    code = run.wait_exit(20, f"the settings probe {' '.join(args)}")
    check(code == 0, f"the settings probe {' '.join(args)} failed with {code}")
    return run


def read_values(ini=None, folder=None):
    run = probe(["read"], ini=ini, folder=folder)
    with open(os.path.join(run.folder, "probe.txt")) as f:
        return dict(line.strip().split("=", 1) for line in f if "=" in line)


def test_values_written_by_the_program_read_back_the_same():
    values = [5, 1, 10, -7, 2147483647, 0]
    writer = probe(["write", *map(str, values)])
    check(read_values(folder=writer.folder) ==
          dict(zip(["Kind", "Size", "Speed", "Num", "Intval", "Sync"], map(str, values))),
          "values did not read back the same")
    lines = [line.strip() for line in writer.ini_text().splitlines() if line.strip()]
    check(lines[0] == "[Section]", f"first line {lines[0]!r}")
    check([line.split("=")[0] for line in lines[1:]] == ["Kind", "Size", "Speed", "Num", "Intval", "Sync"],
          f"keys {lines[1:]}")


def test_hand_edited_files_read_with_defaults_and_zero_for_text():
    ini = "[Section]\r\nKind=\r\nSize=abc\r\nSpeed=  2.5  \r\nNum= 300\r\nSync=1e0\r\n"
    read = read_values(ini=ini)
    check(read == {"Kind": "0", "Size": "0", "Speed": "2", "Num": "300", "Intval": "10", "Sync": "1"},
          f"read {read}")


def test_no_file_gives_the_defaults():
    read = read_values()
    check(read == {"Kind": "0", "Size": "5", "Speed": "5", "Num": "100", "Intval": "10", "Sync": "0"},
          f"read {read}")


def test_a_folder_outside_the_ansi_code_page_still_works():
    folder = os.path.join(tempfile.mkdtemp(prefix="quillmere-e2e-"), "設定Ωテスト")
    writer = probe(["write", "4", "3", "2", "60", "9", "1"], folder=folder)
    check(writer.ini_text() is not None, "no settings file beside the probe in 設定Ωテスト")
    read = read_values(folder=folder)
    check(read["Num"] == "60" and read["Kind"] == "4", f"read {read} in 設定Ωテスト")


run_tests(globals())

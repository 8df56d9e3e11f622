"""The built quillmere.scr is a 64-bit GUI program that needs only Windows' own DLLs and carries
its version and manifest and no link time; a release is the zip of it and both read-mes under that
version and the setup, and two builds of one commit give the same release files."""
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

import pytest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "packaging"))
import package  # noqa: E402

pytestmark = pytest.mark.no_desktop

SCR = os.environ["QUILLMERE_SCR"]
# Windows' own DLLs: the program needs no runtime beside it.
WINDOWS_DLLS = (
    "kernel32 user32 gdi32 shell32 comctl32 msvcrt advapi32 ole32 oleaut32 oleacc msimg32 winmm "
    "wtsapi32"
)
SYSTEM_DLLS = {f"{name}.dll" for name in WINDOWS_DLLS.split()}


def test_the_program_is_a_64_bit_gui_image_that_imports_only_windows_dlls():
    dump = subprocess.run(
        ["x86_64-w64-mingw32-objdump", "-p", SCR], capture_output=True, text=True, check=True
    ).stdout
    dlls = {
        line.split(":", 1)[1].strip().lower() for line in dump.splitlines() if "DLL Name:" in line
    }
    assert "file format pei-x86-64" in dump
    assert "Subsystem\t\t00000002" in dump
    assert dlls <= SYSTEM_DLLS


def test_the_program_carries_its_version_a_per_monitor_dpi_manifest_and_no_link_time():
    image = open(SCR, "rb").read()
    header = int.from_bytes(image[0x3C:0x40], "little")  # where "PE\0\0" starts
    assert image[header + 8 : header + 12] == bytes(4), "the PE header holds a link time"
    assert "1.1.0".encode("utf-16-le") in image
    assert b"PerMonitorV2" in image
    assert b"Microsoft.Windows.Common-Controls" in image


def test_a_release_zips_the_program_and_both_read_mes_under_its_version_the_same_at_any_build_time():
    sums = []
    for when in (1e9, 1.5e9):
        folder = tempfile.mkdtemp(prefix="quillmere-release-")
        os.utime(shutil.copy(SCR, folder), (when, when))
        zip_path, *_ = package.release(os.path.join(folder, "quillmere.scr"), folder)
        subprocess.run(["sha256sum", "--quiet", "-c", "SHA256SUMS"], cwd=folder, check=True)
        sums.append(open(os.path.join(folder, "SHA256SUMS")).read())
    names = sorted(zipfile.ZipFile(zip_path).namelist())
    readme = zipfile.ZipFile(zip_path).read(names[1]).decode("utf-8-sig")
    assert names == [
        f"quillmere-1.1.0/{name}" for name in ("README-en.txt", "README-ja.txt", "quillmere.scr")
    ]
    assert "インストール" in readme and "1.1.0" in readme
    assert sums[0] == sums[1] and len(sums[0].splitlines()) == 2, f"{sums[0]} and {sums[1]}"

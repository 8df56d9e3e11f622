"""The built quillmere.scr and the release made of it, without Wine."""
import hashlib
import json
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

import jsonschema
import pytest
import yaml

from harness import ROOT, SCR, VERSION

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "packaging"))
import package  # noqa: E402

pytestmark = pytest.mark.no_desktop

WINGET = os.path.join(os.path.dirname(os.environ["QUILLMERE_SETUP"]), "winget")
SCHEMAS = os.environ.get("QUILLMERE_WINGET_SCHEMAS", f"{ROOT}/../shared/winget-schemas")
# Windows' own DLLs: the program needs no runtime beside it.
WINDOWS_DLLS = (
    "kernel32 user32 gdi32 shell32 comctl32 msvcrt advapi32 ole32 oleaut32 oleacc msimg32 winmm "
    "wtsapi32 imm32"
)
SYSTEM_DLLS = {f"{name}.dll" for name in WINDOWS_DLLS.split()}


def test_the_program_is_a_64_bit_gui_image_of_its_version_that_needs_only_windows_own_dlls():
    dump = subprocess.run(
        ["x86_64-w64-mingw32-objdump", "-p", SCR], capture_output=True, text=True, check=True
    ).stdout
    dlls = {
        line.split(":", 1)[1].strip().lower() for line in dump.splitlines() if "DLL Name:" in line
    }
    assert "file format pei-x86-64" in dump
    assert "Subsystem\t\t00000002" in dump
    assert dlls <= SYSTEM_DLLS
    image = open(SCR, "rb").read()
    header = int.from_bytes(image[0x3C:0x40], "little")  # where "PE\0\0" starts
    assert image[header + 8 : header + 12] == bytes(4), "the PE header holds a link time"
    assert VERSION.encode("utf-16-le") in image
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
        f"quillmere-{VERSION}/{n}" for n in ("README-en.txt", "README-ja.txt", "quillmere.scr")
    ]
    assert "インストール" in readme and VERSION in readme
    scoop = json.load(open(os.path.join(folder, "quillmere.json")))
    digest = hashlib.sha256(open(zip_path, "rb").read()).hexdigest()
    got = (scoop["hash"], os.path.basename(scoop["url"]), scoop["extract_dir"], scoop["persist"])
    assert got == (digest, os.path.basename(zip_path), f"quillmere-{VERSION}", "quillmere.ini")
    assert sums[0] == sums[1] and len(sums[0].splitlines()) == 2, f"{sums[0]} and {sums[1]}"


def test_the_winget_manifests_meet_the_published_schemas():
    if not os.path.isdir(SCHEMAS):
        pytest.skip(f"no winget schemas in {os.path.abspath(SCHEMAS)}: see the README")
    manifests = [yaml.safe_load(open(f"{WINGET}/{name}")) for name in os.listdir(WINGET)]
    for m in manifests:
        k, v = m["ManifestType"], m["ManifestVersion"]
        jsonschema.validate(m, json.load(open(f"{SCHEMAS}/{v}/manifest.{k}.{v}.json")))
        assert (m["PackageIdentifier"], m["PackageVersion"]) == ("quillmere.quillmere", VERSION)
    assert sorted(m["ManifestType"] for m in manifests) == ["defaultLocale", "installer", "version"]

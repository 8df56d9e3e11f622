"""The setup program, silent, in a Wine prefix of its own: it installs for the user, makes quillmere the
screen saver and registers it; an upgrade waits for the open dialog and keeps the settings; uninstall
keeps the settings and clears the screen saver only while it is still ours."""
import os
import pwd
import re
import shutil
import subprocess

import pytest

from harness import *

pytestmark = pytest.mark.own_prefix("setup")

SETUP, USER = os.environ["QUILLMERE_SETUP"], pwd.getpwuid(os.getuid()).pw_name
VERSION = re.fullmatch(r"quillmere-(.+)-setup\.exe", os.path.basename(SETUP))[1]
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\quillmere"
DESKTOP_KEY, OTHER_SAVER = r"HKCU\Control Panel\Desktop", r"C:\windows\system32\other.scr"
WHERE = rf"C:\users\{USER}\AppData\Local\Programs\quillmere"
FOLDER = os.path.join(
    STATE, "wineprefix-setup", "drive_c", "users", USER, "AppData", "Local", "Programs", "quillmere"
)
ADDED = ["README-en.txt", "README-ja.txt", "quillmere.scr", "uninstall.exe"]


def wine(*args):
    return subprocess.run(["wine", *args], env=ENV, capture_output=True, timeout=60)


def reg_values(key):
    """The values of a registry key as `wine reg query` lists them; empty when there is no key."""
    text = wine("reg", "query", key).stdout.decode(errors="replace")
    return {m[1]: m[2] for m in re.finditer(r"^    (\S+)    REG_\w+    (.*?)\r?$", text, re.M)}


def installed(name):
    return os.path.join(FOLDER, name)


def files():
    return sorted(os.listdir(FOLDER)) if os.path.isdir(FOLDER) else []


def content(name):
    return open(installed(name), "rb").read() if os.path.isfile(installed(name)) else None


def uninstall():
    """Runs the registered quiet uninstall; it hands over to a copy of itself, so wait for the end."""
    command = re.fullmatch(r'"(.+)" (/S)', reg_values(UNINSTALL_KEY)["QuietUninstallString"])
    wine(command[1], command[2])
    wait_until(
        "the uninstaller to remove the registration", lambda: not reg_values(UNINSTALL_KEY), 30, 0.5
    )


def test_a_silent_install_puts_it_in_the_users_folder_makes_it_the_saver_and_registers_it():
    assert wine(SETUP, "/S").returncode == 0, "the silent install failed"
    assert files() == ADDED, f"the folder holds {files()}"
    assert content("quillmere.scr") == open(SCR, "rb").read(), "another quillmere.scr"
    saver = reg_values(DESKTOP_KEY).get("SCRNSAVE.EXE", "")
    target = wine("winepath", "-u", saver).stdout.decode().strip()
    assert all(
        re.fullmatch(r"[^.]{1,8}(\.[^.]{1,3})?", part) for part in saver.split("\\")[1:]
    ) and os.path.samefile(target, installed("quillmere.scr")), f"SCRNSAVE.EXE is {saver!r}"
    values = reg_values(UNINSTALL_KEY)
    size = sum(os.path.getsize(installed(name)) for name in ADDED) / 1024
    assert (
        abs(int(values.pop("EstimatedSize", "0"), 16) - size) < 4
    ), f"EstimatedSize for {size:.0f} KB"
    values.pop("Language", None)  # kept only by an interactive install
    want = {
        "DisplayName": "quillmere",
        "DisplayVersion": VERSION,
        "Publisher": "quillmere",
        "DisplayIcon": WHERE + r"\quillmere.scr,0",
        "InstallLocation": WHERE,
        "UninstallString": f'"{WHERE}\\uninstall.exe"',
        "QuietUninstallString": f'"{WHERE}\\uninstall.exe" /S',
        "NoModify": "0x1",
        "NoRepair": "0x1",
    }
    assert values == want, f"the registration is {values}"


@pytest.mark.limit(60)
def test_an_upgrade_waits_for_the_open_dialog_then_replaces_the_program_and_keeps_the_settings():
    dialog = subprocess.Popen(["wine", installed("quillmere.scr"), "/c"], env=ENV, cwd=FOLDER)
    x, y = geometry(find_window(DIALOG))[:2]
    open(installed("README-en.txt"), "wb").write(b"older")
    assert wine(SETUP, "/S").returncode != 0, "the setup went on while the dialog was open"
    assert content("README-en.txt") == b"older", "the setup replaced a file under the dialog"
    click(x + SET[0], y + SET[1])
    dialog.wait(10)
    settings = content("quillmere.ini")
    assert settings, "the dialog saved no quillmere.ini beside the program"
    open(installed("quillmere.scr"), "wb").write(b"older")
    assert wine(SETUP, "/S").returncode == 0, "the upgrade failed"
    assert content("quillmere.scr") == open(SCR, "rb").read(), "the program was not replaced"
    assert content("README-en.txt") != b"older", "the read-me was not replaced"
    assert content("quillmere.ini") == settings, "the upgrade changed quillmere.ini"


def test_uninstall_keeps_the_settings_and_clears_the_saver_only_while_it_is_ours():
    settings = content("quillmere.ini")
    wine("reg", "add", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/d", OTHER_SAVER, "/f")
    uninstall()
    assert files() == ["quillmere.ini"], f"the uninstall left {files()}"
    assert content("quillmere.ini") == settings, "the uninstall changed quillmere.ini"
    assert (
        reg_values(DESKTOP_KEY).get("SCRNSAVE.EXE") == OTHER_SAVER
    ), "the user's other saver was cleared"
    assert wine(SETUP, "/S").returncode == 0, "the install over kept settings failed"
    uninstall()
    assert "SCRNSAVE.EXE" not in reg_values(
        DESKTOP_KEY
    ), "our saver stayed the screen saver after the uninstall"


@pytest.fixture(scope="module", autouse=True)
def never_installed(prefix):
    """The prefix is kept between runs: start from a user who never installed quillmere. The first
    Wine start brings up the prefix's services, which must not hold a captured output open."""
    shutil.rmtree(FOLDER, ignore_errors=True)
    quietly("wine", "reg", "delete", UNINSTALL_KEY, "/f")
    quietly("wine", "reg", "delete", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/f")

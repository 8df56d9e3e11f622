"""The built quillmere.scr is a 64-bit GUI program that needs only Windows' own DLLs and carries
its version and manifest; the release zip holds it and both read-mes under that version."""
import os
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "packaging"))
import package  # noqa: E402

SCR = os.environ["QUILLMERE_SCR"]
SYSTEM_DLLS = {
    "kernel32.dll",
    "user32.dll",
    "gdi32.dll",
    "shell32.dll",
    "comctl32.dll",
    "msvcrt.dll",
    "advapi32.dll",
    "ole32.dll",
    "msimg32.dll",
    "winmm.dll",
    "wtsapi32.dll",
}
dump = subprocess.run(
    ["x86_64-w64-mingw32-objdump", "-p", SCR], capture_output=True, text=True, check=True
).stdout
dlls = {line.split(":", 1)[1].strip().lower() for line in dump.splitlines() if "DLL Name:" in line}
image = open(SCR, "rb").read()
path, version = package.package(SCR, tempfile.mkdtemp(prefix="quillmere-package-"))
names = sorted(zipfile.ZipFile(path).namelist())
readme = zipfile.ZipFile(path).read(f"quillmere-{version}/README-ja.txt").decode("utf-8-sig")
problems = [
    problem
    for problem, bad in (
        ("not a PE32+ (x86-64) image", "file format pei-x86-64" not in dump),
        ("not a GUI-subsystem program", "Subsystem\t\t00000002" not in dump),
        (
            f"imports DLLs that are not Windows' own: {sorted(dlls - SYSTEM_DLLS)}",
            dlls - SYSTEM_DLLS,
        ),
        (
            "no version resource with 1.1.0",
            "1.1.0".encode("utf-16-le") not in image or version != "1.1.0",
        ),
        (
            "no manifest with per-monitor DPI awareness and common controls 6",
            b"PerMonitorV2" not in image or b"Microsoft.Windows.Common-Controls" not in image,
        ),
        (
            f"the zip holds {names}",
            names
            != sorted(
                f"quillmere-{version}/{n}"
                for n in ("quillmere.scr", "README-ja.txt", "README-en.txt")
            ),
        ),
        (
            "the Japanese read-me lacks its install section or version",
            "インストール" not in readme or version not in readme,
        ),
    )
    if bad
]
for problem in problems:
    print("FAILED:", problem)
sys.exit(1 if problems else 0)

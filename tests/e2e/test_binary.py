"""The built quillmere.scr is a 64-bit GUI program that needs only Windows' own DLLs and
carries its version and manifest."""
import os
import subprocess
import sys

SCR = os.environ["QUILLMERE_SCR"]
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "comctl32.dll",
               "msvcrt.dll", "advapi32.dll", "ole32.dll", "msimg32.dll", "winmm.dll"}

dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", SCR], capture_output=True, text=True,
                      check=True).stdout
problems = []
if "file format pei-x86-64" not in dump:
    problems.append("not a PE32+ (x86-64) image")
if "Subsystem\t\t00000002" not in dump:
    problems.append("not a GUI-subsystem program")
dlls = {line.split(":", 1)[1].strip().lower() for line in dump.splitlines() if "DLL Name:" in line}
if dlls - SYSTEM_DLLS:
    problems.append(f"imports DLLs that are not Windows' own: {sorted(dlls - SYSTEM_DLLS)}")
with open(SCR, "rb") as f:
    image = f.read()
if "1.1.0".encode("utf-16-le") not in image:
    problems.append("no version resource with 1.1.0")
if b"PerMonitorV2" not in image or b"Microsoft.Windows.Common-Controls" not in image:
    problems.append("no manifest with per-monitor DPI awareness and common controls 6")
for problem in problems:
    print("FAILED:", problem)
print("imports:", ", ".join(sorted(dlls)))
sys.exit(1 if problems else 0)

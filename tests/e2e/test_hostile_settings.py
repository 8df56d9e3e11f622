"""Hand-edited settings files of the kinds people really produce or break. With each, the real
saver opens its window, keeps running and ends within 2 s of a key press; the settings dialog
opens and closes without writing anything."""
import time

from harness import *

# Without a window manager Wine's teardown of a full-screen window adds about 2 s.
TEARDOWN = 2.5
END_WITHIN = 2.0

FILES = {
    "kind below the range": "[Section]\r\nKind=-1\r\n",
    "kind above the range": "[Section]\r\nKind=6\r\n",
    "kind at the top of 32 bits": "[Section]\r\nKind=2147483647\r\n",
    "kind at the bottom of 32 bits": "[Section]\r\nKind=-2147483648\r\n",
    "size zero": "[Section]\r\nSize=0\r\n",
    "size negative": "[Section]\r\nSize=-5\r\n",
    "size at the top of 32 bits": "[Section]\r\nSize=2147483647\r\nNum=200\r\n",
    "size at the bottom of 32 bits": "[Section]\r\nSize=-2147483648\r\n",
    "speed zero": "[Section]\r\nSpeed=0\r\n",
    "speed negative": "[Section]\r\nSpeed=-10\r\n",
    "speed at the top of 32 bits": "[Section]\r\nSpeed=2147483647\r\n",
    "speed at the bottom of 32 bits": "[Section]\r\nSpeed=-2147483648\r\n",
    "no crawlers": "[Section]\r\nNum=0\r\n",
    "negative crawlers": "[Section]\r\nNum=-1\r\n",
    "crawlers at the top of 32 bits": "[Section]\r\nNum=2147483647\r\n",
    "crawlers at the bottom of 32 bits": "[Section]\r\nNum=-2147483648\r\n",
    "interval zero": "[Section]\r\nIntval=0\r\n",
    "interval negative": "[Section]\r\nIntval=-5\r\nKind=5\r\nSync=1\r\n",
    "interval at the top of 32 bits": "[Section]\r\nIntval=2147483647\r\n",
    "sync two with random patterns": "[Section]\r\nSync=2\r\nKind=5\r\nIntval=1\r\n",
    "sync negative": "[Section]\r\nSync=-1\r\n",
    "sync at the top of 32 bits": "[Section]\r\nSync=2147483647\r\n",
    "text values": "[Section]\r\nSize=big\r\nNum=lots\r\nKind=three\r\n",
    "fractions": "[Section]\r\nSize=2.5\r\nNum=150.5\r\nSpeed=9.99\r\n",
    "exponents": "[Section]\r\nNum=1e9\r\nSize=1e2\r\nSpeed=-1E3\r\n",
    "300-character value": "[Section]\r\nNum=" + "9" * 300 + "\r\nSize=" + "1" * 300 + "\r\n",
    "stray binary bytes": b"[Section]\r\nKind=\x00\xff\xfe3\r\nSize=\x01\x02\x03\r\nNum=\x80\x81\r\n",
    "UTF-8 byte-order mark": b"\xef\xbb\xbf[Section]\r\nKind=3\r\nSync=1\r\n",
    "LF-only line ends": "[Section]\nKind=2\nSize=12\nNum=60\n",
    "missing section": "Kind=3\r\nNum=200\r\n",
    "duplicate keys": "[Section]\r\nNum=50\r\nNum=2147483647\r\nKind=4\r\nKind=-9\r\n",
    "empty file": "",
    "everything hostile at once":
        "[Section]\r\nKind=7\r\nSize=2147483647\r\nSpeed=2147483647\r\nNum=2147483647\r\n"
        "Intval=0\r\nSync=5\r\n",
}


# With no crawler at all the screen stays black.
BLACK_ONLY = {"no crawlers", "negative crawlers", "crawlers at the bottom of 32 bits"}


def saver_survives(name, ini):
    run = Run(["/s"], ini=ini)
    wid = find_window("quillmere_Main", timeout=15)
    check(window_geometry(wid) == (0, 0, 1024, 768), f"{name}: the saver does not cover the screen")
    time.sleep(1.5)
    check(run.alive(), f"{name}: the saver ended by itself")
    shot = screenshot(slug(name))
    if name in BLACK_ONLY:
        colours = {shot.pixel(x, y) for y in range(0, 768, 16) for x in range(0, 1024, 16)}
        check(colours == {(0, 0, 0)}, f"{name}: the screen shows {len(colours)} colours, not black")
    pressed = time.monotonic()
    key("space")
    run.wait_exit(END_WITHIN + TEARDOWN, f"{name}: the saver to end after a key press")
    took = time.monotonic() - pressed
    check(took <= END_WITHIN + TEARDOWN, f"{name}: the saver took {took:.1f}s to end")
    return took


def dialog_writes_nothing(name, ini):
    run = Run(["/c"], ini=ini)
    find_window("quillmereの設定", timeout=15)
    before = open(run.ini_path, "rb").read()
    time.sleep(0.5)
    # The dialog gets the keyboard only once Wine has activated it; a press before that is lost.
    for _ in range(3):
        key("alt+F4")
        try:
            run.proc.wait(timeout=3)
            break
        except Exception:
            pass
    run.wait_exit(5, f"{name}: the settings dialog to close on Alt+F4")
    check(open(run.ini_path, "rb").read() == before, f"{name}: the dialog changed the file")


def slug(name):
    return "".join(c if c.isalnum() else "_" for c in name.lower())


# One test per file and window, so that each failure names its file.
for _name, _ini in FILES.items():
    globals()[f"test_saver_with_{slug(_name)}"] = lambda n=_name, i=_ini: saver_survives(n, i)
    globals()[f"test_dialog_with_{slug(_name)}"] = lambda n=_name, i=_ini: dialog_writes_nothing(n, i)

run_tests(globals())

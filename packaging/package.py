"""Makes the release zip (quillmere.scr with a Japanese and an English read-me), the setup program
and SHA256SUMS beside them, named after the version that the executable's version resource carries.
Every date in them is the commit's (or SOURCE_DATE_EPOCH), so one commit gives the same bytes."""
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
EARLIEST_ZIP_DATE = 315532800  # 1980-01-01: a zip entry holds no earlier date


def resource_version(image):
    """The FileVersion string of a PE image's version resource."""
    key = "FileVersion\0".encode("utf-16-le")
    start = image.find(key)
    if start < 0:
        sys.exit("package: the executable has no version resource")
    pos = start + len(key)
    pos += (-pos) % 4  # the value starts on a 32-bit boundary
    end = pos
    while image[end : end + 2] != b"\0\0":
        end += 2
    return image[pos:end].decode("utf-16-le")


def scr_version(scr):
    with open(scr, "rb") as f:
        return resource_version(f.read())


def source_date_epoch():
    """The date of every file in the release: SOURCE_DATE_EPOCH, else the commit's."""
    if "SOURCE_DATE_EPOCH" in os.environ:
        return max(int(os.environ["SOURCE_DATE_EPOCH"]), EARLIEST_ZIP_DATE)
    log = ["git", "-C", HERE, "log", "-1", "--format=%ct"]
    commit = subprocess.run(log, capture_output=True, text=True).stdout.strip()
    return max(int(commit or EARLIEST_ZIP_DATE), EARLIEST_ZIP_DATE)


def readmes(version):
    """Each read-me's name and bytes: CRLF lines, and a byte-order mark that lets Notepad on any
    locale read the UTF-8 text."""
    for name in ("README-ja.txt", "README-en.txt"):
        with open(os.path.join(HERE, name), encoding="utf-8") as f:
            text = f.read().replace("{version}", version).replace("\n", "\r\n")
        yield name, "\ufeff".encode() + text.encode("utf-8")


def package(scr, out_dir):
    version = scr_version(scr)
    zip_path = os.path.join(out_dir, f"quillmere-{version}.zip")
    when = time.gmtime(source_date_epoch())[:6]
    with open(scr, "rb") as f:
        entries = [("quillmere.scr", f.read()), *readmes(version)]
    with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, data in entries:
            entry = zipfile.ZipInfo(f"quillmere-{version}/{name}", when)
            entry.external_attr = 0o644 << 16
            archive.writestr(entry, data, zipfile.ZIP_DEFLATED)
    return zip_path, version


def setup(scr, out_dir):
    """Builds quillmere-<version>-setup.exe with makensis from quillmere.nsi."""
    version = scr_version(scr)
    exe_path = os.path.join(out_dir, f"quillmere-{version}-setup.exe")
    with tempfile.TemporaryDirectory(prefix="quillmere-setup-") as stage:
        shutil.copy(scr, os.path.join(stage, "quillmere.scr"))
        for name, data in readmes(version):
            with open(os.path.join(stage, name), "wb") as f:
                f.write(data)
        # The setup keeps each file's date and gives it to the installed copy.
        epoch = source_date_epoch()
        for name in os.listdir(stage):
            os.utime(os.path.join(stage, name), (epoch, epoch))
        subprocess.run(
            [
                "makensis",
                "-V2",
                "-WX",
                "-INPUTCHARSET",
                "UTF8",
                f"-DVERSION={version}",
                f"-DSTAGE={stage}",
                f"-DICON={os.path.join(HERE, '..', 'assets', 'quillmere.ico')}",
                f"-DOUTFILE={os.path.abspath(exe_path)}",
                os.path.join(HERE, "quillmere.nsi"),
            ],
            check=True,
        )
    return exe_path


def release(scr, out_dir):
    """The zip, the setup and SHA256SUMS, in the form sha256sum -c reads."""
    files = [package(scr, out_dir)[0], setup(scr, out_dir)]
    sums = os.path.join(out_dir, "SHA256SUMS")
    with open(sums, "w", newline="\n") as f:
        for path in files:
            digest = hashlib.sha256(open(path, "rb").read()).hexdigest()
            f.write(f"{digest}  {os.path.basename(path)}\n")
    return [*files, sums]


if __name__ == "__main__":
    for path in release(sys.argv[1], sys.argv[2]):
        print(f"package: {path}")

"""Makes the release zip (quillmere.scr with a Japanese and an English read-me) and the setup
program beside it, both named after the version that the executable's version resource carries."""
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))


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
    with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as archive:
        archive.write(scr, f"quillmere-{version}/quillmere.scr")
        for name, data in readmes(version):
            archive.writestr(f"quillmere-{version}/{name}", data)
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


if __name__ == "__main__":
    path, version = package(sys.argv[1], sys.argv[2])
    print(f"package: {path} (version {version})")
    print(f"package: {setup(sys.argv[1], sys.argv[2])}")

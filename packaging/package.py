"""Makes the release zip: quillmere.scr with a Japanese and an English read-me, named after
the version that the executable's version resource carries."""
import os
import sys
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
    while image[end:end + 2] != b"\0\0":
        end += 2
    return image[pos:end].decode("utf-16-le")


def package(scr, out_dir):
    with open(scr, "rb") as f:
        image = f.read()
    version = resource_version(image)
    zip_path = os.path.join(out_dir, f"quillmere-{version}.zip")
    with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as archive:
        archive.write(scr, f"quillmere-{version}/quillmere.scr")
        for name in ("README-ja.txt", "README-en.txt"):
            with open(os.path.join(HERE, name), encoding="utf-8") as f:
                text = f.read().replace("{version}", version).replace("\n", "\r\n")
            # A byte-order mark lets Notepad on any locale read the UTF-8 text.
            archive.writestr(f"quillmere-{version}/{name}", "\ufeff".encode() + text.encode("utf-8"))
    return zip_path, version


if __name__ == "__main__":
    path, version = package(sys.argv[1], sys.argv[2])
    print(f"package: {path} (version {version})")

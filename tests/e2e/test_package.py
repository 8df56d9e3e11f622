"""The release zip holds the .scr and both read-mes, under the resource's version."""
import os
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "packaging"))
import package  # noqa: E402

out = tempfile.mkdtemp(prefix="quillmere-package-")
path, version = package.package(os.environ["QUILLMERE_SCR"], out)
names = sorted(zipfile.ZipFile(path).namelist())
expected = sorted(f"quillmere-{version}/{n}" for n in ("quillmere.scr", "README-ja.txt", "README-en.txt"))
problems = []
if version != "1.1.0":
    problems.append(f"version {version!r} is not the resource's 1.1.0")
if names != expected:
    problems.append(f"zip holds {names}")
ja = zipfile.ZipFile(path).read(f"quillmere-{version}/README-ja.txt").decode("utf-8-sig")
if "インストール" not in ja or version not in ja:
    problems.append("the Japanese read-me lacks its install section or version")
for p in problems:
    print("FAILED:", p)
print(path)
sys.exit(1 if problems else 0)

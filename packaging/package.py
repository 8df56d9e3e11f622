"""Makes the release zip (quillmere.scr with a Japanese and an English read-me), the setup program
and SHA256SUMS beside them, named after the version that the executable's version resource carries,
and the manifests that winget and Scoop install them from. Every date in them is the commit's (or
SOURCE_DATE_EPOCH), so one commit gives the same bytes."""
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
EARLIEST_ZIP_DATE = 315532800  # 1980-01-01: a zip entry holds no earlier date
PACKAGE_IDENTIFIER = "quillmere.quillmere"
# The uninstall key's name, which setup writes and winget knows a nullsoft setup's program by.
PRODUCT_CODE = "quillmere"
# The FrameRate line a settings file made by an install holds.
NEW_FRAME_RATE = 60
MANIFEST_VERSION, LOCALE = "1.12.0", "en-US"
# Installs and takes the saver, as the checked default does.
SILENT = "/S"
# The setup's own exit codes beside 0: NSIS's for Cancel, and for a stop while quillmere runs.
SETUP_EXIT_CODES = {1: "cancelledByUser", 2: "packageInUse"}
# Where a release's files are downloaded from, until there is a real home; the home page is the
# part before "/releases/".
RELEASE_URL = "https://example.invalid/quillmere/releases/download/v{version}"


def resource_string(image, name):
    """A string of a PE image's version resource: FileVersion, CompanyName, ..."""
    key = f"{name}\0".encode("utf-16-le")
    start = image.find(key)
    if start < 0:
        sys.exit(f"package: the executable's version resource has no {name}")
    pos = start + len(key)
    pos += (-pos) % 4  # the value starts on a 32-bit boundary
    end = pos
    while image[end : end + 2] != b"\0\0":
        end += 2
    return image[pos:end].decode("utf-16-le")


def scr_version(scr):
    with open(scr, "rb") as f:
        return resource_string(f.read(), "FileVersion")


def release_facts(scr):
    """What the manifests and the setup's registration say of the release, each from where it is
    defined: the executable's version resource and LICENSE."""
    with open(scr, "rb") as f:
        image = f.read()
    with open(os.path.join(HERE, "..", "LICENSE"), encoding="utf-8") as f:
        licence = f.read()
    version = resource_string(image, "FileVersion")
    url = os.environ.get("QUILLMERE_RELEASE_URL", RELEASE_URL).format(version=version)
    return {
        "version": version,
        "name": resource_string(image, "ProductName"),
        "publisher": resource_string(image, "CompanyName"),
        "description": resource_string(image, "FileDescription"),
        "licence": re.search(r"^SPDX-License-Identifier: (\S+)$", licence, re.M)[1],
        "copyright": re.search(r"^Copyright .+$", licence, re.M)[0],
        "url": url.rstrip("/"),
        "homepage": url.split("/releases/")[0],
    }


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
    facts = release_facts(scr)
    version = facts["version"]
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
                f"-DPRODUCT_CODE={PRODUCT_CODE}",
                f"-DFRAME_RATE={NEW_FRAME_RATE}",
                f"-DDISPLAY_NAME={facts['name']}",
                f"-DPUBLISHER={facts['publisher']}",
                f"-DCOPYRIGHT={facts['copyright']}",
                f"-DSTAGE={stage}",
                f"-DICON={os.path.join(HERE, '..', 'assets', 'quillmere.ico')}",
                f"-DOUTFILE={os.path.abspath(exe_path)}",
                os.path.join(HERE, "quillmere.nsi"),
            ],
            check=True,
        )
    return exe_path


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def yaml_lines(mapping, indent=""):
    """Block YAML of mappings, lists, strings and whole numbers; every string double-quoted as JSON
    writes it, so that no value (a version such as 1.10) changes its type on reading."""
    lines = []
    for key, value in mapping.items():
        if isinstance(value, dict):
            lines += [f"{indent}{key}:", *yaml_lines(value, indent + "  ")]
        elif isinstance(value, list):
            lines.append(f"{indent}{key}:")
            for item in value:
                if isinstance(item, dict):
                    first, *rest = yaml_lines(item, indent + "  ")
                    lines += [f"{indent}- {first.lstrip()}", *rest]
                else:
                    lines.append(f"{indent}- {json.dumps(item, ensure_ascii=False)}")
        else:
            lines.append(f"{indent}{key}: {json.dumps(value, ensure_ascii=False)}")
    return lines


def winget_manifests(facts, setup_path):
    """The version, installer and default-locale files of a winget multi-file manifest."""
    common = {"PackageIdentifier": PACKAGE_IDENTIFIER, "PackageVersion": facts["version"]}
    installer = {
        "Architecture": "x64",
        "InstallerUrl": f"{facts['url']}/{os.path.basename(setup_path)}",
        "InstallerSha256": sha256(setup_path).upper(),
    }
    entry = {
        "DisplayName": facts["name"],
        "Publisher": facts["publisher"],
        "DisplayVersion": facts["version"],
        "ProductCode": PRODUCT_CODE,
    }
    return {
        f"{PACKAGE_IDENTIFIER}.yaml": {
            **common,
            "DefaultLocale": LOCALE,
            "ManifestType": "version",
        },
        f"{PACKAGE_IDENTIFIER}.installer.yaml": {
            **common,
            "InstallerType": "nullsoft",
            "Scope": "user",
            "InstallModes": ["interactive", "silent", "silentWithProgress"],
            "InstallerSwitches": {"Silent": SILENT, "SilentWithProgress": SILENT},
            "UpgradeBehavior": "install",
            "ExpectedReturnCodes": [
                {"InstallerReturnCode": code, "ReturnResponse": response}
                for code, response in SETUP_EXIT_CODES.items()
            ],
            "ProductCode": PRODUCT_CODE,
            "AppsAndFeaturesEntries": [entry],
            "Installers": [installer],
            "ManifestType": "installer",
        },
        f"{PACKAGE_IDENTIFIER}.locale.{LOCALE}.yaml": {
            **common,
            "PackageLocale": LOCALE,
            "Publisher": facts["publisher"],
            "PackageName": facts["name"],
            "PackageUrl": facts["homepage"],
            "License": facts["licence"],
            "Copyright": facts["copyright"],
            "ShortDescription": facts["description"],
            "ManifestType": "defaultLocale",
        },
    }


def scoop_manifest(facts, zip_path):
    """Scoop's manifest of the zip: an update keeps quillmere.ini, which Scoop keeps apart."""
    with zipfile.ZipFile(zip_path) as archive:
        folder = os.path.commonpath(archive.namelist())
    ini = "quillmere.ini"
    return {
        "version": facts["version"],
        "description": facts["description"],
        "homepage": facts["homepage"],
        "license": facts["licence"],
        "url": f"{facts['url']}/{os.path.basename(zip_path)}",
        "hash": sha256(zip_path),
        **({"extract_dir": folder} if folder else {}),
        # Scoop persists what it cannot find as a new folder: the settings file must be there first,
        # made as setup makes it.
        "pre_install": f'if (!(Test-Path "$persist_dir\\{ini}")) {{ Set-Content "$dir\\{ini}" '
        f'"[Section]`r`nFrameRate={NEW_FRAME_RATE}" }}',
        "persist": ini,
        "notes": [
            "To make quillmere your screen saver, run",
            "  rundll32.exe desk.cpl,InstallScreenSaver $dir\\quillmere.scr",
            "It selects quillmere and opens the Screen Saver Settings, where its Settings button opens",
            f"its settings; they are kept in $persist_dir\\{ini} across updates.",
        ],
    }


def manifests(scr, zip_path, setup_path, out_dir):
    """The winget manifest's folder and Scoop's quillmere.json."""
    facts = release_facts(scr)
    folder = os.path.join(out_dir, "winget")
    os.makedirs(folder, exist_ok=True)
    for name, manifest in winget_manifests(facts, setup_path).items():
        kind = manifest["ManifestType"]
        schema = f"https://aka.ms/winget-manifest.{kind}.{MANIFEST_VERSION}.schema.json"
        with open(os.path.join(folder, name), "w", encoding="utf-8", newline="\n") as f:
            f.write(f"# yaml-language-server: $schema={schema}\n")
            f.write("\n".join(yaml_lines({**manifest, "ManifestVersion": MANIFEST_VERSION})) + "\n")
    scoop = os.path.join(out_dir, "quillmere.json")
    with open(scoop, "w", encoding="utf-8", newline="\n") as f:
        json.dump(scoop_manifest(facts, zip_path), f, indent=2, ensure_ascii=False)
        f.write("\n")
    return [folder, scoop]


def release(scr, out_dir):
    """The zip, the setup and SHA256SUMS, in the form sha256sum -c reads, and the manifests."""
    files = [package(scr, out_dir)[0], setup(scr, out_dir)]
    sums = os.path.join(out_dir, "SHA256SUMS")
    with open(sums, "w", newline="\n") as f:
        for path in files:
            f.write(f"{sha256(path)}  {os.path.basename(path)}\n")
    return [*files, sums, *manifests(scr, *files, out_dir)]


if __name__ == "__main__":
    for path in release(sys.argv[1], sys.argv[2]):
        print(f"package: {path}")

#!/usr/bin/env python3
"""The release's files beside CPack's zip and installer, written by `make package`.

  release_files.py all RELEASE_JSON STAGED PACKAGES CHANGELOG
      the MSI, Quellor-<version>-win64.msi in PACKAGES, made from the files
      in STAGED (quellor.exe, README.txt, LICENSE.txt); then the winget
      manifests (PACKAGES/manifests/winget) and the Scoop manifest
      (PACKAGES/manifests/scoop/quellor.json), naming the installer, the MSI
      and the zip in PACKAGES with their SHA-256 and download URLs.
  release_files.py msi VERSION STAGED ICON OUTPUT
      the MSI alone, of any version (the package tests build an older one).

RELEASE_JSON is written by CMake (cmake/packaging.cmake): the version, the
release URL, in which {version} stands for the version, and the icon.

Two builds of one commit give the same bytes: every code in the MSI is
derived from the version (and the package code from the files it holds too),
the files and the MSI's summary are dated at the commit's time (or
SOURCE_DATE_EPOCH), and the manifests hold nothing else that changes.
"""
import datetime
import hashlib
import json
import os
import pathlib
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import uuid

import yaml

ROOT = pathlib.Path(__file__).resolve().parent.parent
WXS = ROOT / "packaging" / "msi" / "quellor.wxs"

# Fixed for ever: Windows Installer replaces an installed Quellor by a newer
# one because both carry this code. The product and package codes are
# derived from it (as a UUID namespace) and the version.
UPGRADE_CODE = "9B0C6E1A-3F4D-4E55-9A36-0D1C2B7E5F41"
NAMESPACE = uuid.UUID(UPGRADE_CODE)

PACKAGE_ID = "Quellor.Quellor"
PUBLISHER = "Quellor"
LICENSE = "MIT"
COPYRIGHT = "Copyright (c) the Quellor authors"
SHORT_DESCRIPTION = ("Shuts the computer down, restarts it, logs off or hibernates when a "
                     "countdown runs out or the processor is idle")
DESCRIPTION = ("Quellor shuts the computer down, restarts it, logs you off or hibernates it "
               "as soon as a countdown has run out, the processor has been idle (its usage "
               "under a chosen percentage for 30 seconds in a row), both, or either. One small "
               "window that needs no administrator rights; switches for shortcuts and "
               "scheduled tasks.")
WINGET_SCHEMA = "1.6.0"
STAGED_FILES = ("quellor.exe", "README.txt", "LICENSE.txt")


def fail(message):
    sys.exit(f"release_files.py: {message}")


def product_code(version):
    return str(uuid.uuid5(NAMESPACE, f"Quellor product {version}")).upper()


def source_time():
    """The commit's time, as the zip's files carry it."""
    if os.environ.get("SOURCE_DATE_EPOCH", "").isdigit():
        return int(os.environ["SOURCE_DATE_EPOCH"])
    out = subprocess.run(["git", "-C", str(ROOT), "log", "-1", "--format=%ct"],
                         capture_output=True, text=True, check=False)
    if out.returncode != 0 or not out.stdout.strip().isdigit():
        fail("no commit time: build from a git checkout or set SOURCE_DATE_EPOCH")
    return int(out.stdout.strip())


def sha256(path):
    return hashlib.sha256(pathlib.Path(path).read_bytes()).hexdigest()


def filetime(unix_time):
    return (unix_time + 11644473600) * 10_000_000


def fix_summary_times(msi, when):
    """Dates the summary's creation and last save at `when`.

    wixl stamps both with the build's clock, and no tool of msitools sets
    them. Each is a VT_FILETIME (type 0x40, then eight bytes) in the summary
    stream, which the compound file stores uncompressed, so they are found
    by type and by holding a time near now, and overwritten in place.
    """
    data = bytearray(msi.read_bytes())
    now = filetime(int(datetime.datetime.now(datetime.timezone.utc).timestamp()))
    day = 86400 * 10_000_000
    hits = []
    for match in re.finditer(rb"\x40\x00\x00\x00", data):
        value = struct.unpack_from("<Q", data, match.end())[0]
        if abs(value - now) < day:
            hits.append(match.end())
    if len(hits) != 2:
        fail(f"{msi}: found {len(hits)} summary times, not the creation and last save")
    for at in hits:
        struct.pack_into("<Q", data, at, filetime(when))
    msi.write_bytes(bytes(data))


def make_msi(version, staged, icon, output, info_url):
    """Quellor's MSI of `version` from the staged files, with `icon`."""
    staged = pathlib.Path(staged)
    output = pathlib.Path(output)
    when = source_time()
    with tempfile.TemporaryDirectory() as folder:
        files = pathlib.Path(folder)
        digest = hashlib.sha256(version.encode())
        for name in STAGED_FILES:
            if not (staged / name).is_file():
                fail(f"no {staged / name}")
            shutil.copyfile(staged / name, files / name)
            os.utime(files / name, (when, when))  # the cabinet keeps the files' times
            digest.update(sha256(files / name).encode())
        shutil.copyfile(icon, files / "quellor.ico")
        digest.update(sha256(files / "quellor.ico").encode())
        # As the NSIS installer counts it: the sum of the sizes in KiB.
        size = sum((files / name).stat().st_size for name in STAGED_FILES) // 1024
        # wixl takes the files' paths relative to the folder it runs in.
        subprocess.run(
            ["wixl", "--arch", "x64", "--define", f"Version={version}",
             "--define", f"ProductCode={product_code(version)}", "--define", f"SizeKiB={size}",
             "--define", "SourceDir=.", "--define", f"InfoUrl={info_url}",
             "--output", str(output.resolve()), str(WXS)], cwd=files, check=True)
    # The package code names these very bytes: the same for the same files.
    package_code = str(uuid.uuid5(NAMESPACE, f"Quellor package {digest.hexdigest()}")).upper()
    subprocess.run(["msibuild", str(output), "-s", f"Quellor {version}", PUBLISHER, "x64;1033",
                    "{" + package_code + "}"], check=True)
    fix_summary_times(output, when)


def release_notes(changelog, version):
    """The section of CHANGELOG.md under the heading `## <version>`."""
    text = pathlib.Path(changelog).read_text(encoding="utf-8")
    match = re.search(rf"^## {re.escape(version)}\n(.*?)(?=^## |\Z)", text, re.M | re.S)
    if not match or not match.group(1).strip():
        fail(f"{changelog} says nothing under '## {version}'")
    return match.group(1).strip() + "\n"


def homepage_of(release_url):
    """The project's page: the release URL up to /releases/, else its site."""
    if "/releases/" in release_url:
        return release_url.split("/releases/")[0]
    return re.match(r"^[a-z]+://[^/]+", release_url).group(0)


class Literal(str):
    """A text written as a YAML block, line by line."""


def literal(dumper, text):
    return dumper.represent_scalar("tag:yaml.org,2002:str", text, style="|")


class Dumper(yaml.SafeDumper):
    """Writes a repeated value out again: winget reads no YAML aliases."""

    def ignore_aliases(self, data):
        return True


Dumper.add_representer(Literal, literal)


def write_yaml(path, kind, fields):
    header = (f"# Written by `make package` (packaging/release_files.py).\n"
              f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{kind}."
              f"{WINGET_SCHEMA}.schema.json\n\n")
    body = yaml.dump(fields, Dumper=Dumper, sort_keys=False, allow_unicode=True, width=1000)
    path.write_text(header + body, encoding="utf-8", newline="\n")


def write_manifests(version, release_url, packages, changelog):
    packages = pathlib.Path(packages)
    base = release_url.replace("{version}", version)
    names = {kind: f"Quellor-{version}-win64{suffix}"
             for kind, suffix in (("nsis", "-setup.exe"), ("msi", ".msi"), ("zip", ".zip"))}
    for name in names.values():
        if not (packages / name).is_file():
            fail(f"no {packages / name}")
    url = {kind: f"{base}/{name}" for kind, name in names.items()}
    digest = {kind: sha256(packages / name) for kind, name in names.items()}
    homepage = homepage_of(release_url)
    when = datetime.datetime.fromtimestamp(source_time(), datetime.timezone.utc)
    code = "{" + product_code(version) + "}"
    upgrade = "{" + UPGRADE_CODE + "}"
    arp = {"DisplayName": "Quellor", "Publisher": PUBLISHER, "DisplayVersion": version}

    winget = packages / "manifests" / "winget"
    winget.mkdir(parents=True, exist_ok=True)
    common = {"PackageIdentifier": PACKAGE_ID, "PackageVersion": version}
    write_yaml(winget / f"{PACKAGE_ID}.yaml", "version", {
        **common, "DefaultLocale": "en-US",
        "ManifestType": "version", "ManifestVersion": WINGET_SCHEMA})
    msi_entry = {"Architecture": "x64", "InstallerType": "msi", "InstallerUrl": url["msi"],
                 "InstallerSha256": digest["msi"].upper(), "ProductCode": code,
                 "AppsAndFeaturesEntries": [{**arp, "ProductCode": code,
                                             "UpgradeCode": upgrade}]}
    write_yaml(winget / f"{PACKAGE_ID}.installer.yaml", "installer", {
        **common,
        "InstallModes": ["interactive", "silent", "silentWithProgress"],
        "UpgradeBehavior": "install",
        "ReleaseDate": when.strftime("%Y-%m-%d"),
        "Installers": [
            # The NSIS installer's entry is named Quellor; winget gives it /S and /D=.
            {"Architecture": "x64", "InstallerType": "nullsoft", "Scope": "user",
             "InstallerUrl": url["nsis"], "InstallerSha256": digest["nsis"].upper(),
             "ProductCode": "Quellor",
             "ExpectedReturnCodes": [{"InstallerReturnCode": 2,
                                      "ReturnResponse": "invalidParameter"}],
             "AppsAndFeaturesEntries": [{**arp, "ProductCode": "Quellor"}]},
            {**msi_entry, "Scope": "user"},
            {**msi_entry, "Scope": "machine", "ElevationRequirement": "elevationRequired",
             "InstallerSwitches": {"Custom": "ALLUSERS=1"}},
            {"Architecture": "x64", "InstallerType": "zip", "NestedInstallerType": "portable",
             "NestedInstallerFiles": [{"RelativeFilePath": "quellor.exe",
                                       "PortableCommandAlias": "quellor"}],
             "InstallerUrl": url["zip"], "InstallerSha256": digest["zip"].upper()},
        ],
        "ManifestType": "installer", "ManifestVersion": WINGET_SCHEMA})
    write_yaml(winget / f"{PACKAGE_ID}.locale.en-US.yaml", "defaultLocale", {
        **common, "PackageLocale": "en-US", "Publisher": PUBLISHER, "PackageName": "Quellor",
        "PackageUrl": homepage, "License": LICENSE, "Copyright": COPYRIGHT,
        "ShortDescription": SHORT_DESCRIPTION, "Description": DESCRIPTION, "Moniker": "quellor",
        "Tags": ["shutdown", "restart", "hibernate", "timer", "idle"],
        "ReleaseNotes": Literal(release_notes(changelog, version)),
        "ManifestType": "defaultLocale", "ManifestVersion": WINGET_SCHEMA})

    scoop = packages / "manifests" / "scoop"
    scoop.mkdir(parents=True, exist_ok=True)
    if homepage.startswith("https://github.com/"):
        checkver = {"github": homepage}
    else:
        checkver = {"url": homepage, "regex": r"Quellor-([\d.]+)-win64\.zip"}
    manifest = {
        "$schema": "https://raw.githubusercontent.com/ScoopInstaller/Scoop/master/schema.json",
        "version": version,
        "description": SHORT_DESCRIPTION,
        "homepage": homepage,
        "license": LICENSE,
        "url": url["zip"],
        "hash": digest["zip"],
        "bin": "quellor.exe",
        "shortcuts": [["quellor.exe", "Quellor"]],
        "checkver": checkver,
        "autoupdate": {"url": release_url.replace("{version}", "$version")
                       + "/Quellor-$version-win64.zip"},
    }
    (scoop / "quellor.json").write_text(json.dumps(manifest, indent=4) + "\n",
                                        encoding="utf-8", newline="\n")


def main(argv):
    if len(argv) == 6 and argv[1] == "all":
        release = json.loads(pathlib.Path(argv[2]).read_text(encoding="utf-8"))
        version, release_url = release["version"], release["release_url"]
        if not re.match(r"^https://[^/]+", release_url):
            fail(f"the release URL {release_url} is no https:// URL")
        packages = pathlib.Path(argv[4])
        make_msi(version, argv[3], release["icon"], packages / f"Quellor-{version}-win64.msi",
                 homepage_of(release_url))
        write_manifests(version, release_url, packages, argv[5])
    elif len(argv) == 6 and argv[1] == "msi":
        make_msi(argv[2], argv[3], argv[4], argv[5], "https://quellor.example")
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)

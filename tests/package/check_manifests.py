#!/usr/bin/env python3
"""Checks the manifests that `make package` wrote against the files they name.

  check_manifests.py PACKAGES VERSION KIND.NAME=VALUE...

PACKAGES holds the packages and manifests/ (winget and scoop). Each
KIND.NAME=VALUE is a value of the Add/Remove entry that an installer wrote
(KIND nsis or msi), as the package tests read it under Wine; the manifests'
AppsAndFeaturesEntries must hold the same. Every manifest must parse, name
the schema version it follows, hold every field that version requires, and
carry the version and the SHA-256 of the file it names. Prints one line per
manifest; the first fault ends it with exit code 1.
"""
import hashlib
import json
import pathlib
import re
import sys
import zipfile

import yaml

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent

# The fields each winget schema version requires, by manifest type (the
# schemas' "required" lists); "Installers[]" is each entry of Installers.
REQUIRED = {
    "1.6.0": {
        "version": ["PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType",
                    "ManifestVersion"],
        "installer": ["PackageIdentifier", "PackageVersion", "Installers", "ManifestType",
                      "ManifestVersion"],
        "Installers[]": ["Architecture", "InstallerUrl", "InstallerSha256"],
        "defaultLocale": ["PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher",
                          "PackageName", "License", "ShortDescription", "ManifestType",
                          "ManifestVersion"],
    },
}
# What Scoop reads of a manifest: the download, its hash, the program and its
# Start-menu entry, how to find and fetch the next version, and its schema.
SCOOP_REQUIRED = ["$schema", "version", "description", "homepage", "license", "url", "hash",
                  "bin", "shortcuts", "checkver", "autoupdate"]
WINGET_FILES = {"version": "Quellor.Quellor.yaml", "installer": "Quellor.Quellor.installer.yaml",
                "defaultLocale": "Quellor.Quellor.locale.en-US.yaml"}


class Fault(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Fault(message)


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def has_fields(where, fields, required):
    missing = [name for name in required if fields.get(name) in (None, "", [])]
    expect(not missing, f"{where} lacks {', '.join(missing)}")


def downloaded(packages, where, url, digest, version):
    """The package a URL names: its name holds the version, its hash is `digest`."""
    name = url.rsplit("/", 1)[-1]
    path = packages / name
    expect(url.startswith("https://"), f"{where}: the URL {url} is no https:// URL")
    expect(f"-{version}-" in name, f"{where}: {name} is not of version {version}")
    expect(path.is_file(), f"{where}: names {name}, which the build did not make")
    actual = sha256(path)
    expect(digest.lower() == actual, f"{where}: the hash of {name} is {digest}, the file's {actual}")
    return path


def check_winget(packages, version, entries):
    folder = packages / "manifests" / "winget"
    manifests = {}
    for kind, name in WINGET_FILES.items():
        text = (folder / name).read_text(encoding="utf-8")
        fields = yaml.safe_load(text)
        expect(isinstance(fields, dict), f"{name} is no YAML mapping")
        schema = fields.get("ManifestVersion")
        expect(schema in REQUIRED, f"{name}: schema version {schema!r} is none this test knows")
        expect(f"winget-manifest.{kind}.{schema}.schema.json" in text,
               f"{name} does not name the {kind} schema of version {schema}")
        expect(fields.get("ManifestType") == kind, f"{name} is not of the type {kind}")
        has_fields(name, fields, REQUIRED[schema][kind])
        expect(fields["PackageVersion"] == version,
               f"{name}: PackageVersion {fields['PackageVersion']}, not {version}")
        manifests[kind] = fields
        print(f"  {name}: schema {schema}, version {version}")
    expect(len({m["PackageIdentifier"] for m in manifests.values()}) == 1,
           "the manifests name different packages")
    expect(manifests["version"]["DefaultLocale"] == manifests["defaultLocale"]["PackageLocale"],
           "the default locale's file is not of the DefaultLocale")

    locale = manifests["defaultLocale"]
    expect(locale["License"] == "MIT", f"the license is {locale['License']}, not MIT")
    notes = locale.get("ReleaseNotes", "").strip()
    changelog = (ROOT / "CHANGELOG.md").read_text(encoding="utf-8")
    expect(notes and notes in changelog and f"## {version}\n\n{notes}" in changelog,
           f"the release notes are not CHANGELOG.md's of {version}")

    installer = manifests["installer"]
    schema = installer["ManifestVersion"]
    kinds = set()
    for index, entry in enumerate(installer["Installers"]):
        kind = entry.get("InstallerType", installer.get("InstallerType"))
        where = f"installer {index} ({kind}, {entry.get('Scope', 'any scope')})"
        has_fields(where, entry, REQUIRED[schema]["Installers[]"])
        path = downloaded(packages, where, entry["InstallerUrl"], entry["InstallerSha256"],
                          version)
        if kind == "zip":
            expect(entry.get("NestedInstallerType") == "portable", f"{where} is not portable")
            inside = zipfile.ZipFile(path).namelist()
            for nested in entry.get("NestedInstallerFiles", []):
                expect(nested["RelativeFilePath"] in inside,
                       f"{where}: {nested['RelativeFilePath']} is not in {path.name}")
            expect(entry.get("NestedInstallerFiles"), f"{where} names no program in the zip")
        else:
            expect(kind in entries, f"{where}: no installer of that type was checked")
            arp = entry.get("AppsAndFeaturesEntries") or [{}]
            expect(len(arp) == 1, f"{where} names {len(arp)} Add/Remove entries, not one")
            for name, value in entries[kind].items():
                expect(arp[0].get(name) == value,
                       f"{where}: its entry's {name} is {arp[0].get(name)!r}, "
                       f"the installer writes {value!r}")
            expect(entry.get("ProductCode") == entries[kind]["ProductCode"],
                   f"{where}: ProductCode {entry.get('ProductCode')!r}")
        kinds.add(kind)
    expect(kinds == {"nullsoft", "msi", "zip"}, f"the installers are {sorted(kinds)}")
    print(f"  {len(installer['Installers'])} installers: hashes, versions and Add/Remove entries"
          " match")


def check_scoop(packages, version):
    path = packages / "manifests" / "scoop" / "quellor.json"
    fields = json.loads(path.read_text(encoding="utf-8"))
    has_fields(path.name, fields, SCOOP_REQUIRED)
    expect(fields["version"] == version, f"{path.name}: version {fields['version']}")
    expect(fields["license"] == "MIT", f"{path.name}: license {fields['license']}")
    zip_path = downloaded(packages, path.name, fields["url"], fields["hash"], version)
    inside = zipfile.ZipFile(zip_path).namelist()
    expect(fields["bin"] in inside, f"{path.name}: bin {fields['bin']} is not in the zip")
    for shortcut in fields["shortcuts"]:
        expect(shortcut[0] in inside, f"{path.name}: the shortcut's {shortcut[0]} is not in the zip")
    expect(fields["autoupdate"]["url"].replace("$version", version) == fields["url"],
           f"{path.name}: autoupdate's URL does not give this version's")
    print(f"  {path.name}: schema {fields['$schema']}, version {version}, hash matches")


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    packages, version = pathlib.Path(argv[1]), argv[2]
    entries = {}
    for item in argv[3:]:
        match = re.match(r"^(nsis|msi)\.(\w+)=(.*)$", item)
        if not match:
            sys.exit(f"check_manifests.py: {item} is no KIND.NAME=VALUE")
        kind = {"nsis": "nullsoft", "msi": "msi"}[match.group(1)]
        entries.setdefault(kind, {})[match.group(2)] = match.group(3)
    try:
        check_winget(packages, version, entries)
        check_scoop(packages, version)
    except (Fault, OSError, KeyError, TypeError, yaml.YAMLError, json.JSONDecodeError,
            zipfile.BadZipFile) as fault:
        print(f"FAIL: manifests: {fault}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The checks of Windows Installer's validation that school IT runs on a package (Orca, msival2,
deployment tools), for what the Start-menu shortcut and the upgrades need: ICE38, ICE43, ICE57,
ICE61 and ICE64, applied to the package's own tables as msiinfo reads them.

    tests/windows/ice-check.py PACKAGE.msi

Prints one line for each breach and exits 1 where there is any, 0 where there is none."""

import subprocess
import sys

# The folders of a user's profile among Windows Installer's standard folders.
PROFILE_FOLDERS = {
    "AdminToolsFolder", "AppDataFolder", "DesktopFolder", "FavoritesFolder", "LocalAppDataFolder",
    "MyPicturesFolder", "NetHoodFolder", "PersonalFolder", "PrintHoodFolder", "ProgramMenuFolder",
    "RecentFolder", "SendToFolder", "StartMenuFolder", "StartupFolder", "TemplateFolder",
}
# Registry roots: -1 is per user or per machine as ALLUSERS says, 0 HKCR, 1 HKCU, 2 HKLM, 3 HKU.
EITHER, HKCU = -1, 1
ROOTS = {-1, 0, 1, 2, 3}
REGISTRY_KEY_PATH = 0x4
# Upgrade table attributes: only detect, do not remove; the maximum version is included.
ONLY_DETECT, MAX_INCLUSIVE = 0x2, 0x200


def table(package, name):
    """The rows of a table as dictionaries, from msiinfo's export (three header lines)."""
    text = subprocess.run(["msiinfo", "export", package, name], check=True, capture_output=True,
                          text=True).stdout
    lines = text.replace("\r", "").split("\n")
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def product_version(text):
    """A product version as Windows Installer compares it: its first three numbers, or None where
    it is not major.minor.build[.revision] within 255.255.65535."""
    parts = text.split(".")
    if not 3 <= len(parts) <= 4 or not all(part.isdigit() for part in parts):
        return None
    major, minor, build = (int(part) for part in parts[:3])
    if major > 255 or minor > 255 or build > 65535:
        return None
    return major, minor, build


def ice61(package):
    """ICE61: the Upgrade table's properties are public, secured and unique, its versions are
    valid and in order, and no row removes the package's own version or a later one."""
    properties = {row["Property"]: row["Value"] for row in table(package, "Property")}
    secured = set(properties.get("SecureCustomProperties", "").split(";"))
    own_version = product_version(properties.get("ProductVersion", ""))
    breaches, seen = [], set()
    for row in table(package, "Upgrade"):
        name = row["ActionProperty"]
        if name in properties:
            breaches.append(f"ICE61: {name} is set in the Property table")
        if name != name.upper():
            breaches.append(f"ICE61: {name} is not a public property")
        if name not in secured:
            breaches.append(f"ICE61: {name} is not in SecureCustomProperties")
        if name in seen:
            breaches.append(f"ICE61: {name} is used by more than one row")
        seen.add(name)
        low, high = row["VersionMin"], row["VersionMax"]
        for text in filter(None, (low, high)):
            if product_version(text) is None:
                breaches.append(f"ICE61: {name}: {text} is not a valid product version")
        if low and high and product_version(low) and product_version(high) \
                and product_version(high) < product_version(low):
            breaches.append(f"ICE61: {name}: VersionMax {high} is less than VersionMin {low}")
        if row["UpgradeCode"] != properties.get("UpgradeCode") or int(row["Attributes"]) & ONLY_DETECT:
            continue
        if not low and not high:
            breaches.append(f"ICE61: {name} removes every version of the product, later ones too")
        elif not high or (own_version and product_version(high) and (
                product_version(high) > own_version or (product_version(high) == own_version
                                                        and int(row["Attributes"]) & MAX_INCLUSIVE))):
            breaches.append(f"ICE61: {name}: this product should remove only older versions of "
                            f"itself; the maximum version is not less than the current product "
                            f"({high or 'none'} {properties.get('ProductVersion')})")
    return breaches


def main(package):
    directories = {row["Directory"]: row["Directory_Parent"] for row in table(package, "Directory")}
    components = {row["Component"]: row for row in table(package, "Component")}
    registry = {row["Registry"]: row for row in table(package, "Registry")}
    files = table(package, "File")
    shortcuts = table(package, "Shortcut")
    features = {row["Feature"] for row in table(package, "Feature")}
    removed_folders = {row["DirProperty"] for row in table(package, "RemoveFile")
                       if not row.get("FileName")}
    breaches = []

    def in_profile(directory):
        seen = set()
        while directory and directory not in seen:
            if directory in PROFILE_FOLDERS:
                return True
            seen.add(directory)
            directory = directories.get(directory)
        return False

    def hkcu_key_path(component):
        row = components[component]
        key = registry.get(row["KeyPath"])
        return bool(int(row["Attributes"]) & REGISTRY_KEY_PATH) and key is not None \
            and int(key["Root"]) == HKCU

    for row in registry.values():
        if int(row["Root"]) not in ROOTS:
            breaches.append(f"registry value {row['Registry']} has no valid root ({row['Root']})")

    # ICE38: a component in a user's profile is kept by an HKCU key, not by a file.
    for name, row in components.items():
        if in_profile(row["Directory_"]) and not hkcu_key_path(name):
            breaches.append(f"ICE38: component {name} installs to the user profile; its key path "
                            "must be a registry key under HKCU")

    # ICE43: a shortcut that is not advertised lives in a component kept by an HKCU key.
    for row in shortcuts:
        if row["Target"] not in features and not hkcu_key_path(row["Component_"]):
            breaches.append(f"ICE43: the shortcut {row['Shortcut']} is not advertised; its "
                            f"component {row['Component_']} needs an HKCU registry key path")

    # ICE57: a component holds per-user or per-machine data, not both, and data that is either
    # as ALLUSERS says (root -1) with neither.
    for name, row in components.items():
        user = machine = either = False
        for value in registry.values():
            if value["Component_"] == name:
                user |= int(value["Root"]) == HKCU
                machine |= int(value["Root"]) in (2, 3)
                either |= int(value["Root"]) == EITHER
        holds_files = any(f["Component_"] == name for f in files) \
            or any(s["Component_"] == name for s in shortcuts)
        if holds_files:
            if in_profile(row["Directory_"]):
                user = True
            else:
                machine = True
        if user and machine:
            kind = "an HKCU" if hkcu_key_path(name) else "a per-machine"
            breaches.append(f"ICE57: component {name} has both per-user and per-machine data, "
                            f"with {kind} key path")
        elif either and (user or machine):
            kind = "per-user" if user else "per-machine"
            breaches.append(f"ICE57: component {name} has a registry entry that can be either "
                            f"per-user or per-machine, and {kind} data")

    # ICE64: a folder of the package's own in a user's profile is removed at uninstall.
    for directory in directories:
        if directory not in PROFILE_FOLDERS and in_profile(directory) \
                and directory not in removed_folders:
            breaches.append(f"ICE64: the folder {directory} is in the user profile but not in "
                            "the RemoveFile table")

    breaches += ice61(package)

    for breach in breaches:
        print(breach)
    return 1 if breaches else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: ice-check.py PACKAGE.msi")
    sys.exit(main(sys.argv[1]))

#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The checks of Windows Installer's validation that school IT runs on a package (Orca, msival2,
deployment tools), for what the Start-menu shortcut needs: ICE38, ICE43, ICE57 and ICE64, applied
to the package's own tables as msiinfo reads them.

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
HKCU = 1
ROOTS = {-1, 0, 1, 2, 3}
REGISTRY_KEY_PATH = 0x4


def table(package, name):
    """The rows of a table as dictionaries, from msiinfo's export (three header lines)."""
    text = subprocess.run(["msiinfo", "export", package, name], check=True, capture_output=True,
                          text=True).stdout
    lines = text.replace("\r", "").split("\n")
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


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

    # ICE57: a component holds per-user or per-machine data, not both.
    for name, row in components.items():
        user = machine = False
        for value in registry.values():
            if value["Component_"] == name:
                user |= int(value["Root"]) == HKCU
                machine |= int(value["Root"]) in (2, 3)
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

    # ICE64: a folder of the package's own in a user's profile is removed at uninstall.
    for directory in directories:
        if directory not in PROFILE_FOLDERS and in_profile(directory) \
                and directory not in removed_folders:
            breaches.append(f"ICE64: the folder {directory} is in the user profile but not in "
                            "the RemoveFile table")

    for breach in breaches:
        print(breach)
    return 1 if breaches else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: ice-check.py PACKAGE.msi")
    sys.exit(main(sys.argv[1]))

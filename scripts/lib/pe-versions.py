#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The version and languages that each Windows program and DLL of a folder carries in its version
resource, as Windows Installer's File table wants them:

    scripts/lib/pe-versions.py FOLDER

prints, for each .exe and .dll under FOLDER that has a version resource, its path relative to the
folder, its file version (four numbers) and its languages (decimal, comma-separated), separated by
tabs. A file without a version resource is left out."""

import pathlib
import sys

import pefile


def version_of(path):
    pe = pefile.PE(str(path), fast_load=True)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    fixed = getattr(pe, "VS_FIXEDFILEINFO", None)
    if not fixed:
        return None
    info = fixed[0]
    version = ".".join(str(n) for n in (info.FileVersionMS >> 16, info.FileVersionMS & 0xFFFF,
                                        info.FileVersionLS >> 16, info.FileVersionLS & 0xFFFF))
    languages = []
    for file_info in getattr(pe, "FileInfo", []):
        for block in file_info:
            for var in getattr(block, "Var", []):
                for value in var.entry.values():
                    # "0x0409 0x04b0": the language, then the code page.
                    language = int(value.split()[0], 16)
                    if str(language) not in languages:
                        languages.append(str(language))
    return version, ",".join(languages) or "0"


def main(folder):
    root = pathlib.Path(folder)
    for path in sorted(root.rglob("*")):
        if path.suffix.lower() not in (".exe", ".dll") or not path.is_file():
            continue
        found = version_of(path)
        if found:
            print(f"{path.relative_to(root).as_posix()}\t{found[0]}\t{found[1]}")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: pe-versions.py FOLDER")
    main(sys.argv[1])

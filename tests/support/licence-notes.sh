#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The licence notes of a folder a user downloads (the Windows program's, the browser's) name every
# licence beside them and nothing that is not there:
#   tests/support/licence-notes.sh FOLDER
# Prints what is wrong and exits 1, or exits 0.
set -euo pipefail
licences=${1:?usage: tests/support/licence-notes.sh FOLDER}/LICENSES
[ -f "$licences/README.txt" ] || { echo "$licences has no README.txt"; exit 1; }
status=0
for name in $(grep -o '[A-Za-z0-9_.-]*\.txt' "$licences/README.txt" | sort -u); do
    [ -f "$licences/$name" ] || { echo "the notes name $name, which LICENSES lacks"; status=1; }
done
for path in "$licences"/*; do
    name=$(basename "$path")
    [ "$name" = README.txt ] || grep -qF "$name" "$licences/README.txt" \
        || { echo "LICENSES holds $name, which the notes do not name"; status=1; }
done
exit "$status"

#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows program carries the manifest that Windows reads as the process starts: Windows 10
# and 11 among its supported systems, per-monitor density awareness (v2), the common controls 6
# and the user's own rights. Read from the built program's resources, as Windows reads them:
#   tests/windows/manifest.sh corvallo.exe
set -euo pipefail
program=${1:?usage: manifest.sh PROGRAM.exe}
command -v wrestool >/dev/null || { echo "skipped: wrestool (icoutils) is not installed"; exit 77; }

# Resource type 24 is RT_MANIFEST; Windows reads the one of name 1 for a program.
manifest=$(wrestool -x --raw -t 24 -n 1 "$program")
[ -n "$manifest" ] || { echo "FAIL: $program carries no manifest of name 1"; exit 1; }

status=0
expect() {
    if grep -qF -- "$2" <<<"$manifest"; then
        echo "ok: $1"
    else
        echo "FAIL: $1: no $2"
        status=1
    fi
}
expect "Windows 10 and 11 supported" 'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"'
expect "per-monitor density awareness, v2" '>PerMonitorV2</dpiAwareness>'
expect "per-monitor density awareness before Windows 10 1607" '>true/pm</dpiAware>'
expect "common controls 6" 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"'
expect "the user's own rights" 'requestedExecutionLevel level="asInvoker"'
# Windows refuses to start a program whose manifest is not well-formed XML.
if python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parseString(sys.stdin.buffer.read())' <<<"$manifest"; then
    echo "ok: well-formed"
else
    echo "FAIL: the manifest is not well-formed XML"
    status=1
fi
exit $status

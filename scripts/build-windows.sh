#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds Corvallo for 64-bit Windows on Debian, and the folder that a user downloads, packed by
# scripts/package-windows.sh:
#   scripts/build-windows.sh          the program, in build/windows/Corvallo
#   scripts/build-windows.sh --tests  the same, with the unit tests and the benchmark built too
# Qt for Windows is built first, once (scripts/build-qt-windows.sh), as static libraries; another
# Qt for Windows, static or as DLLs, is taken from the folder that CORVALLO_QT_WINDOWS names, with
# the compiler's toolchain file beside it as mingw-w64.cmake, as the one built here has it. The icon
# is drawn by the icon tool built for this machine. The folder holds the program, stripped, with Qt
# and the MinGW runtime linked in (or with the Qt DLLs it loads). Installs what it needs with
# apt-get (sudo when not root).
set -euo pipefail
cd "$(dirname "$(realpath "$0")")/.."
source scripts/lib/packages.sh
source scripts/lib/windows.sh

tests=OFF
case ${1:-} in
--tests) tests=ON ;;
"") ;;
*)
    echo "usage: scripts/build-windows.sh [--tests]" >&2
    exit 2
    ;;
esac
jobs=${CORVALLO_JOBS:-2}

qt=${CORVALLO_QT_WINDOWS:-}
if [ -z "$qt" ]; then
    scripts/build-qt-windows.sh
    qt=$(scripts/build-qt-windows.sh --print)
    [ -n "$qt" ] || { echo "build-windows: Qt for Windows is not built" >&2; exit 1; }
fi
qt=$(realpath "$qt")
[ -f "$qt/lib/cmake/Qt6/qt.toolchain.cmake" ] && [ -f "$qt/mingw-w64.cmake" ] \
    || { echo "build-windows: $qt is not a Qt 6 for Windows with its compiler's toolchain file (lib/cmake/Qt6/qt.toolchain.cmake, mingw-w64.cmake)" >&2; exit 1; }

packages=(build-essential cmake ninja-build qt6-base-dev libx11-dev)
install_missing "${packages[@]}"

mkdir -p build
# The build for this machine, of the tools the other platforms' builds run, is the web build's too.
# With the tests, it also lists the Linux suite's, which the Windows suite compares with its own.
echo "Building the icon tool for this machine"
cmake -S . -B build/host -G Ninja -DBUILD_TESTING="$tests" >build/host.log 2>&1 \
    || { tail -n 20 build/host.log >&2; exit 1; }
cmake --build build/host --target corvallo-icon --parallel "$jobs" >>build/host.log 2>&1 \
    || { tail -n 20 build/host.log >&2; exit 1; }

echo "Building Corvallo for Windows (tests: $tests)"
build=build/windows
cmake -S . -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$qt/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_INSTALL_BINDIR=. \
    -DCORVALLO_ICON_TOOL="$PWD/build/host/packaging/corvallo-icon" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$PWD/scripts/wine-run.sh" \
    -DBUILD_TESTING="$tests" >"$build.log" 2>&1 \
    || { tail -n 30 "$build.log" >&2; exit 1; }
cmake --build "$build" --parallel "$jobs" >>"$build.log" 2>&1 \
    || { grep -E 'error|FAILED' "$build.log" | head -n 30 >&2; exit 1; }

if [ "$tests" = ON ]; then
    # The yardstick of the close test and of the benchmark: a bare Qt window, built the same way.
    cmake -S bench -B "$build-bench" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$qt/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel >>"$build.log" 2>&1 \
        && cmake --build "$build-bench" --parallel "$jobs" >>"$build.log" 2>&1 \
        || { tail -n 30 "$build.log" >&2; exit 1; }
fi

folder=$build/Corvallo
rm -rf "$folder"
cmake --install "$build" --prefix "$folder" >>"$build.log" 2>&1
find "$folder" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded
cp LICENSES/GPL-3.0-or-later.txt "$folder/COPYING.txt" 2>/dev/null || true

# Every DLL the folder's programs and libraries load is Windows' own or in the folder.
missing=$(missing_dlls "$folder") \
    || { echo "build-windows: the DLLs that the folder needs could not be read" >&2; exit 1; }
[ -z "$missing" ] || { echo "build-windows: the folder needs DLLs it does not have:" $missing >&2; exit 1; }

echo "Windows program: $folder ($(du -sh "$folder" | cut -f1)); scripts/package-windows.sh packs its zip and MSI"

#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds Corvallo for web browsers on Debian: the folder build/web/Corvallo, which any static web
# server can serve (it needs only the type application/wasm for .wasm files):
#   scripts/build-web.sh               the folder
#   scripts/build-web.sh --serve [PORT] the same, then serves it on 127.0.0.1 (port 8080) to try it
#   scripts/build-web.sh --serve-room [PORT]  the same, served to the room's devices too
#   scripts/build-web.sh --tests        the folder and the bare window the suite measures against
# Qt for the web is built first, once (scripts/build-qt-web.sh); the icons are drawn by the icon
# tool built for this machine. Installs what it needs with apt-get (sudo when not root).
set -euo pipefail
cd "$(dirname "$(realpath "$0")")/.."
source scripts/lib/packages.sh
source scripts/lib/emscripten.sh

tests=OFF
serve=
room=
case ${1:-} in
--tests) tests=ON ;;
--serve) serve=${2:-8080} ;;
--serve-room) serve=${2:-8080} room=--room ;;
"") ;;
*)
    echo "usage: scripts/build-web.sh [--serve [PORT] | --serve-room [PORT] | --tests]" >&2
    exit 2
    ;;
esac
jobs=${CORVALLO_JOBS:-2}

scripts/build-qt-web.sh
qt=$(scripts/build-qt-web.sh --print)
[ -n "$qt" ] || { echo "build-web: Qt for the web is not built" >&2; exit 1; }
install_missing build-essential cmake ninja-build qt6-base-dev libx11-dev "${emscripten_packages[@]}"
use_emscripten "$PWD/build/web-emsdk"

mkdir -p build
echo "Building the icon tool for this machine"
# In the build for this machine that the Windows build uses too. With the tests, also the tool
# that tells the order of a seeded lesson's questions: the program's random numbers are the same
# wherever it runs.
targets=(corvallo-icon)
[ "$tests" = OFF ] || targets+=(question_order)
cmake -S . -B build/host -G Ninja -DBUILD_TESTING="$tests" >build/host.log 2>&1 \
    || { tail -n 20 build/host.log >&2; exit 1; }
cmake --build build/host --target "${targets[@]}" --parallel "$jobs" >>build/host.log 2>&1 \
    || { tail -n 20 build/host.log >&2; exit 1; }

echo "Building Corvallo for the web"
build=build/web
cmake -S . -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCORVALLO_ICON_TOOL="$PWD/build/host/packaging/corvallo-icon" \
    -DBUILD_TESTING=OFF >"$build.log" 2>&1 \
    || { tail -n 30 "$build.log" >&2; exit 1; }
cmake --build "$build" --parallel "$jobs" >>"$build.log" 2>&1 \
    || { grep -E 'error|FAILED' "$build.log" | head -n 30 >&2; exit 1; }

if [ "$tests" = ON ]; then
    # The yardstick of the start-up time: a bare Qt window, built the same way.
    echo "Building the bare window for the web"
    cmake -S bench -B build/web-bench -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel >build/web-bench.log 2>&1 \
        || { tail -n 30 build/web-bench.log >&2; exit 1; }
    cmake --build build/web-bench --parallel "$jobs" >>build/web-bench.log 2>&1 \
        || { grep -E 'error|FAILED' build/web-bench.log | head -n 30 >&2; exit 1; }
fi

folder=$build/Corvallo
# What a browser downloads; the suite measures and checks it, so a build for it leaves that to it
# (Brotli at its best takes half a minute).
[ "$tests" = ON ] || node scripts/lib/transfer-size.mjs "$folder"
if [ -n "$serve" ]; then
    install_missing nodejs
    exec node scripts/lib/serve.mjs "$folder" "$serve" $room
fi

#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the part of Qt that Corvallo uses (Core, Gui, Widgets, Test and the WebAssembly platform)
# for web browsers, with Debian's Emscripten, from this Debian release's own Qt source, with this
# machine's Qt as the host tools:
#   scripts/build-qt-web.sh          builds once, then reuses the result
#   scripts/build-qt-web.sh --print  only prints where the result is (empty when not built)
# The result lands in ${XDG_CACHE_HOME:-~/.cache}/corvallo/qt-web-VERSION, with the exact configure
# line in its configure-line.txt; a run with the same line reuses it. Only installing packages
# needs root (or sudo).
set -euo pipefail
here=$(dirname "$(realpath "$0")")
source "$here/lib/packages.sh"
source "$here/lib/qt-source.sh"
source "$here/lib/qt-features.sh"
source "$here/lib/emscripten.sh"

jobs=${CORVALLO_JOBS:-2}
prefix=$(qt_prefix web)

if [ "${1:-}" = --print ]; then
    qt_built "$prefix" && echo "$prefix"
    exit 0
fi

say "Packages: Emscripten, Debian's Qt as the host tools, the source tools"
install_missing qt6-base-dev "${emscripten_packages[@]}" cmake ninja-build dpkg-dev
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
source_version=$(qt_source_version)
prefix=$(qt_prefix web)
work=$(dirname "$prefix")/qt-web-work
use_emscripten "$work/emsdk"
# Read by Qt's CMake files from the cache, so that the configure line is the same from any clone.
mkdir -p "$work"
cp "$here/lib/qt-web-openglwidgets.cmake" "$work/"

# Static, as Qt for the web always is, with Asyncify: a pause inside a lesson hands the page back
# to the browser and goes on where it stopped. Left out beyond what every platform leaves out
# (scripts/lib/qt-features.sh): networking, databases, printing, D-Bus, Vulkan, threads (a page
# served without cross-origin isolation has none). OpenGL stays: Qt 6.4 puts its windows on the
# page through WebGL. Zstandard is left out, zlib, libpng, FreeType, HarfBuzz and PCRE are Qt's own.
# Precompiled headers, which Qt leaves off for the web unless asked, are asked for: Emscripten's
# Clang builds them as for any other target.
configure=(
    "$work/source/configure"
    -platform wasm-emscripten
    -qt-host-path /usr
    -device-option QT_EMSCRIPTEN_ASYNCIFY=1
    -prefix "$prefix"
    -release -static -no-zstd -no-feature-thread
    -nomake examples -nomake tests
    --
    -G Ninja
    -DCMAKE_TOOLCHAIN_FILE="$emscripten_toolchain"
    -DCMAKE_PROJECT_QtBase_INCLUDE="$work/qt-web-openglwidgets.cmake"
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_precompile_header=ON
    "${qt_left_out[@]}"
)
line="${configure[*]} (source: qt6-base $source_version; changes: $(qt_patches_id); $(emcc --version | head -n 1);\
 $(sha256sum <"$work/qt-web-openglwidgets.cmake" | cut -c 1-16))"

say "Checking for a build of Qt $host_version in $prefix"
if qt_built "$prefix" "$line"; then
    echo "      reused (delete $prefix to build it again)"
    exit 0
fi
echo "      none with this configure line: building it"

say "Fetching and unpacking the source package qt6-base $source_version"
unpack_qt_source "$work" "$source_version" || fail "no source to build"

configuring=$SECONDS
say "Configuring Qt for WebAssembly"
rm -rf "$work/build"
mkdir -p "$work/build"
(cd "$work/build" && "${configure[@]}") >"$work/configure.log" 2>&1 \
    || { tail -n 30 "$work/configure.log" >&2; fail "configure failed; see $work/configure.log"; }
echo "      configured in $((SECONDS - configuring)) s"

say "Building with $jobs jobs"
build_qt "$work" "$jobs" || fail "no Qt for the web"

say "Installing into $prefix"
# The licence of the font Qt's web platform carries, for the folder that ships it.
install_qt "$work" "$prefix" "$line" \
    "$work/source/src/3rdparty/wasm/VERA-LICENSE:licenses/VERA-LICENSE" \
    || fail "no Qt for the web"

#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the part of Qt that Corvallo uses (Core, Gui, Widgets, Test, and the Windows and offscreen
# platform plugins) for 64-bit Windows, as static libraries, from this Debian release's own Qt
# source, with this machine's Qt as the host tools:
#   scripts/build-qt-windows.sh          builds once, then reuses the result
#   scripts/build-qt-windows.sh --print  only prints where the result is (empty when not built)
# The result lands in ${XDG_CACHE_HOME:-~/.cache}/corvallo/qt-windows-VERSION, with the exact
# configure line in its configure-line.txt; a run with the same line reuses it. The first build
# takes about twenty minutes on an idle two-core machine. Only installing packages needs root (or
# sudo); the source comes through an apt configuration of its own in the cache, the system's is
# untouched.
set -euo pipefail
source "$(dirname "$(realpath "$0")")/lib/packages.sh"
source "$(dirname "$(realpath "$0")")/lib/qt-source.sh"
source "$(dirname "$(realpath "$0")")/lib/qt-features.sh"

jobs=${CORVALLO_JOBS:-2}
prefix=$(qt_prefix windows)

if [ "${1:-}" = --print ]; then
    qt_built "$prefix" && echo "$prefix"
    exit 0
fi

say "Packages: the MinGW-w64 cross compiler, Debian's Qt as the host tools, the source tools"
packages=(qt6-base-dev g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake ninja-build dpkg-dev)
install_missing "${packages[@]}"
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
source_version=$(qt_source_version)
prefix=$(qt_prefix windows)
upstream=${host_version#*:}
upstream=${upstream%%[+-]*}

# Left out beyond what every platform leaves out (scripts/lib/qt-features.sh): networking,
# databases, printing, D-Bus, OpenGL (INPUT_opengl=no, since turning the feature off alone still
# compiles dynamic OpenGL). Direct2D stays at its default, since turning it off breaks the platform
# plugin's link, but not the Direct2D platform plugin (Direct2D 1.1), which a fifth of the build
# went into. FreeType stays: Qt's offscreen platform, on which the unit tests run, draws with it.
# Qt is built as static libraries, each function and datum in a section of its own, so that the
# program links in only what it calls and ships as one file; the MinGW runtime is linked in too.
# No link time goes into a program's header, so that two builds give the same program.
work=$(dirname "$prefix")/qt-windows-work
toolchain=$work/mingw-w64.cmake
runtime='-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp'
sections='-ffunction-sections -fdata-sections'
configure=(
    cmake -G Ninja -S "$work/source" -B "$work/build"
    -DCMAKE_TOOLCHAIN_FILE="$toolchain"
    -DCMAKE_BUILD_TYPE=MinSizeRel
    -DCMAKE_INSTALL_PREFIX="$prefix"
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DBUILD_SHARED_LIBS=OFF
    -DCMAKE_C_FLAGS="$sections" -DCMAKE_CXX_FLAGS="$sections"
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF
    -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_direct2d1_1=OFF
    "${qt_left_out[@]}"
    -DCMAKE_EXE_LINKER_FLAGS="$runtime"
)
line="${configure[*]} (source: qt6-base $source_version; changes: $(qt_patches_id))"

say "Checking for a build of Qt $host_version in $prefix"
if qt_built "$prefix" "$line"; then
    echo "      reused (delete $prefix to build it again)"
    exit 0
fi
echo "      none with this configure line: building it"
# A build found unfit stays usable until the new one is installed in its place.
mkdir -p "$work"

say "Fetching and unpacking the source package qt6-base $source_version"
unpack_qt_source "$work" "$source_version" || fail "no source to build"

cat >"$toolchain" <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

configuring=$SECONDS
say "Configuring Qt $upstream for x86_64-w64-mingw32"
rm -rf "$work/build"
"${configure[@]}" >"$work/configure.log" 2>&1 \
    || { tail -n 30 "$work/configure.log" >&2; fail "configure failed; see $work/configure.log"; }
echo "      configured in $((SECONDS - configuring)) s"

say "Building with $jobs jobs"
build_qt "$work" "$jobs" || fail "no Qt for Windows"

say "Installing into $prefix"
# Qt itself and the build's logs stay in the cache; the source is fetched again for another build.
install_qt "$work" "$prefix" "$line" "$toolchain:mingw-w64.cmake" || fail "no Qt for Windows"

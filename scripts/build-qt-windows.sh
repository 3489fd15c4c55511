#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the part of Qt that Corvallo uses (Core, Gui, Widgets, Test and the Windows platform
# plugin) for 64-bit Windows, from this Debian release's own Qt source, with this machine's Qt as
# the host tools:
#   scripts/build-qt-windows.sh          builds once, then reuses the result
#   scripts/build-qt-windows.sh --print  only prints where the result is (empty when not built)
# The result lands in ${XDG_CACHE_HOME:-~/.cache}/corvallo/qt-windows-VERSION, with the exact
# configure line in its configure-line.txt; a run with the same line reuses it. The first build
# takes about twenty minutes on an idle two-core machine. Only installing packages needs root (or
# sudo); the source comes through an apt configuration of its own in the cache, the system's is
# untouched.
set -euo pipefail
source "$(dirname "$(realpath "$0")")/lib/packages.sh"

jobs=${CORVALLO_JOBS:-2}
cache=${XDG_CACHE_HOME:-$HOME/.cache}/corvallo
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
prefix=$cache/qt-windows-${host_version:-none}
prefix=${prefix//[:~]/_}

if [ "${1:-}" = --print ]; then
    [ -s "$prefix/configure-line.txt" ] && echo "$prefix"
    exit 0
fi

steps=7
step=0
say() {
    step=$((step + 1))
    printf '[%d/%d] %s\n' "$step" "$steps" "$*"
}
fail() {
    echo "build-qt-windows: $*" >&2
    exit 1
}

say "Packages: the MinGW-w64 cross compiler, Debian's Qt as the host tools, the source tools"
packages=(qt6-base-dev g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake ninja-build dpkg-dev)
install_missing "${packages[@]}"
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
# The source's own version: a rebuild of the binary packages alone (+bN) has none of its own.
source_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
prefix=$cache/qt-windows-$host_version
prefix=${prefix//[:~]/_}
upstream=${host_version#*:}
upstream=${upstream%%[+-]*}

# Everything the program and its tests do not use is left out: networking, databases, printing,
# D-Bus, OpenGL (INPUT_opengl=no, since turning the feature off alone still compiles dynamic OpenGL),
# the tablet events (the source leaves out their header), the image formats and the styles beyond
# what the program draws with, and the MIME database (compressed with the time of the build, it
# alone made two builds of Qt differ). Of Qt Widgets the program uses the application, the widget
# and its accessible interface; the bare window it is measured against, a label. The other widgets,
# dialogs, views and models are left out where Qt Widgets can be built without them, and with them
# Qt Gui's rich-text readers and writers, style sheets, animated images, undo stacks and item
# models. What stays although the program does not use it, Qt Widgets needs to build: buttons,
# sliders, scroll bars, menus, tool bars and the main window (its precompiled header and its code
# for removed functions), the message box and its dialog (its accessible widgets), the item views'
# base (its styles), and the XPM images (drag and drop, without which its event handling does not
# build). Direct2D stays at its default, since turning it off breaks the platform plugin's link,
# but not the Direct2D platform plugin (Direct2D 1.1), which a fifth of the build went into.
# FreeType stays: Qt's offscreen platform, on which the unit tests run, draws with it. The MinGW
# runtime is linked into every DLL, so none is shipped. No link time goes into a DLL's header or
# export table, so that two builds give the same DLLs.
work=$cache/qt-windows-work
toolchain=$work/mingw-w64.cmake
runtime='-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp'
configure=(
    cmake -G Ninja -S "$work/source" -B "$work/build"
    -DCMAKE_TOOLCHAIN_FILE="$toolchain"
    -DCMAKE_BUILD_TYPE=MinSizeRel
    -DCMAKE_INSTALL_PREFIX="$prefix"
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF
    -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_direct2d1_1=OFF
    -DFEATURE_tabletevent=OFF
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_mimetype_database=OFF
    -DFEATURE_style_fusion=OFF -DFEATURE_style_windowsvista=OFF -DFEATURE_style_stylesheet=OFF
    -DFEATURE_effects=OFF -DFEATURE_listview=OFF -DFEATURE_tableview=OFF -DFEATURE_treeview=OFF
    -DFEATURE_columnview=OFF -DFEATURE_treewidget=OFF -DFEATURE_listwidget=OFF
    -DFEATURE_tablewidget=OFF -DFEATURE_datawidgetmapper=OFF -DFEATURE_radiobutton=OFF
    -DFEATURE_commandlinkbutton=OFF -DFEATURE_dial=OFF -DFEATURE_scroller=OFF -DFEATURE_lineedit=OFF
    -DFEATURE_textedit=OFF -DFEATURE_textbrowser=OFF -DFEATURE_syntaxhighlighter=OFF
    -DFEATURE_spinbox=OFF -DFEATURE_datetimeedit=OFF -DFEATURE_combobox=OFF
    -DFEATURE_fontcombobox=OFF -DFEATURE_completer=OFF -DFEATURE_fscompleter=OFF
    -DFEATURE_keysequenceedit=OFF -DFEATURE_calendarwidget=OFF -DFEATURE_lcdnumber=OFF
    -DFEATURE_progressbar=OFF -DFEATURE_contextmenu=OFF -DFEATURE_toolbox=OFF -DFEATURE_tabbar=OFF
    -DFEATURE_tabwidget=OFF -DFEATURE_stackedwidget=OFF -DFEATURE_splitter=OFF
    -DFEATURE_formlayout=OFF -DFEATURE_dockwidget=OFF -DFEATURE_mdiarea=OFF -DFEATURE_statusbar=OFF
    -DFEATURE_statustip=OFF -DFEATURE_sizegrip=OFF -DFEATURE_tooltip=OFF -DFEATURE_whatsthis=OFF
    -DFEATURE_splashscreen=OFF -DFEATURE_graphicsview=OFF -DFEATURE_graphicseffect=OFF
    -DFEATURE_colordialog=OFF -DFEATURE_filedialog=OFF -DFEATURE_fontdialog=OFF
    -DFEATURE_inputdialog=OFF -DFEATURE_progressdialog=OFF -DFEATURE_errormessage=OFF
    -DFEATURE_wizard=OFF -DFEATURE_undoview=OFF
    -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF
    -DFEATURE_cssparser=OFF -DFEATURE_movie=OFF -DFEATURE_pdf=OFF -DFEATURE_picture=OFF
    -DFEATURE_systemtrayicon=OFF -DFEATURE_undocommand=OFF -DFEATURE_undostack=OFF
    -DFEATURE_undogroup=OFF -DFEATURE_standarditemmodel=OFF -DFEATURE_filesystemmodel=OFF
    -DFEATURE_validator=OFF -DFEATURE_imageformat_bmp=OFF -DFEATURE_imageformat_ppm=OFF
    -DFEATURE_imageformat_xbm=OFF
    -DFEATURE_sharedmemory=OFF -DFEATURE_systemsemaphore=OFF -DFEATURE_filesystemwatcher=OFF
    -DFEATURE_jalalicalendar=OFF -DFEATURE_islamiccivilcalendar=OFF -DFEATURE_proxymodel=OFF
    -DFEATURE_sortfilterproxymodel=OFF -DFEATURE_identityproxymodel=OFF
    -DFEATURE_transposeproxymodel=OFF -DFEATURE_concatenatetablesproxymodel=OFF
    -DFEATURE_stringlistmodel=OFF -DFEATURE_gestures=OFF
    -DCMAKE_SHARED_LINKER_FLAGS="$runtime"
    -DCMAKE_MODULE_LINKER_FLAGS="$runtime"
    -DCMAKE_EXE_LINKER_FLAGS="$runtime"
)
line="${configure[*]} (source: qt6-base $source_version)"

say "Checking for a build of Qt $host_version in $prefix"
if [ -s "$prefix/configure-line.txt" ] && [ "$(cat "$prefix/configure-line.txt")" = "$line" ]; then
    echo "      reused (delete $prefix to build it again)"
    exit 0
fi
echo "      none with this configure line: building it"
# A build found unfit stays usable until the new one is installed in its place.
mkdir -p "$work"

say "Fetching the source package qt6-base $source_version"
if [ "$(cat "$work/source/.complete" 2>/dev/null)" != "$source_version" ]; then
    apt_dir=$work/apt
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d"
    : >"$apt_dir/sources.list"
    # The release's own entries, for sources.
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] && sed -n 's/^deb\s/deb-src /p' "$file" >>"$apt_dir/sources.list"
    done
    rm -f "$apt_dir/sources.list.d/"*
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] && sed 's/^Types:.*/Types: deb-src/' "$file" >"$apt_dir/sources.list.d/$(basename "$file")"
    done
    apt=(apt-get -q
        -o Dir::Etc::SourceList="$apt_dir/sources.list"
        -o Dir::Etc::SourceParts="$apt_dir/sources.list.d"
        -o Dir::State::Lists="$apt_dir/lists"
        -o Dir::Cache="$apt_dir/cache"
        -o Debug::NoLocking=1
        -o APT::Sandbox::User="$(id -un)")
    "${apt[@]}" update >"$work/apt-update.log" 2>&1 || echo "      (some source lists failed; see $work/apt-update.log)"
    rm -rf "$work/download" "$work/source"
    mkdir -p "$work/download"
    (cd "$work/download" && "${apt[@]}" source --download-only "qt6-base=$source_version") >"$work/apt-source.log" 2>&1 \
        || { tail -n 5 "$work/apt-source.log" >&2; fail "could not fetch the source of qt6-base $source_version"; }
    say "Unpacking and patching the source"
    # The source's tarballs are unpacked where they were fetched, not copied beside the tree.
    rm -f "$work"/qt6-base_*.tar.*
    dpkg-source --no-copy -x "$work/download"/qt6-base_*.dsc "$work/source" >"$work/unpack.log" 2>&1 \
        || { tail -n 5 "$work/unpack.log" >&2; fail "could not unpack the source"; }
    echo "$source_version" >"$work/source/.complete"
else
    echo "      already unpacked"
    say "Unpacking and patching the source"
    echo "      already done"
fi

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

say "Configuring Qt $upstream for x86_64-w64-mingw32"
rm -rf "$work/build"
"${configure[@]}" >"$work/configure.log" 2>&1 \
    || { tail -n 30 "$work/configure.log" >&2; fail "configure failed; see $work/configure.log"; }

say "Building with $jobs jobs"
start=$(date +%s)
# Ninja's own [done/total] counter, shown every hundred files rather than one line per file.
cmake --build "$work/build" --parallel "$jobs" 2>&1 | tee "$work/build.log" \
    | awk '/^\[[0-9]+\/[0-9]+\]/ { split($1, n, /[][\/]/); if (n[2] % 100 == 0 || n[2] == n[3]) printf "      %s of %s steps\n", n[2], n[3]; fflush() }
           /FAILED|error:/ { print; fflush() }' \
    || fail "build failed; see $work/build.log"
echo "      built in $(($(date +%s) - start)) s"

say "Installing into $prefix"
# Qt's installation can be moved: it is installed beside the old one, then put in its place.
rm -rf "$prefix.new"
cmake --install "$work/build" --prefix "$prefix.new" >"$work/install.log" 2>&1 \
    || fail "install failed; see $work/install.log"
cp "$toolchain" "$prefix.new/mingw-w64.cmake"
echo "$line" >"$prefix.new/configure-line.txt"
rm -rf "$prefix"
mv "$prefix.new" "$prefix"
# Qt itself and the build's logs stay in the cache; the source is fetched again for another build.
rm -rf "$work/build" "$work/source" "$work/download" "$work/apt"
echo "      Qt for Windows is in $prefix ($(du -sh "$prefix" | cut -f1))"

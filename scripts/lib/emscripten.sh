# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the scripts that build for the web: Debian's Emscripten as Qt's CMake files expect it.

# What builds for the web: Debian's Emscripten and the fonts the program carries.
emscripten_packages=(emscripten fonts-wine)

# use_emscripten FOLDER: makes FOLDER an Emscripten SDK as Qt's CMake files look for one (EMSDK,
# naming a .emscripten file whose EMSCRIPTEN_ROOT holds emcc and the CMake toolchain), around
# Debian's Emscripten, and exports what the build needs; emscripten_toolchain names the toolchain.
# Emscripten's JavaScript optimiser finds Debian's acorn through NODE_PATH, whichever node runs it.
# Debian's emcc starts "python3" from PATH; it is given Debian's own, which it is packaged for: a
# version manager's python3 first on PATH (a shell script that finds the interpreter) doubled the
# cost of each of the thousands of calls a Qt build makes.
use_emscripten() {
    local sdk=$1
    local root=$sdk/upstream/emscripten
    # Debian keeps the commands in /usr/bin and the rest in /usr/share/emscripten.
    [ -L "$root" ] && rm "$root"
    mkdir -p "$root"
    ln -sfn /usr/bin/emcc "$root/emcc"
    ln -sfn /usr/share/emscripten/cmake "$root/cmake"
    echo "EMSCRIPTEN_ROOT = 'upstream/emscripten'" >"$sdk/.emscripten"
    export EMSDK=$sdk
    # Emscripten's CMake toolchain, reached through that folder's links, finds its home here.
    export EMSCRIPTEN=/usr/share/emscripten
    export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
    export EMSDK_PYTHON=/usr/bin/python3
    emscripten_toolchain=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
}

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Puts the web folder together from the program's script and module, the page, the icons and the
# licences. The service worker's cache is named after a hash of every file it keeps, so that any
# change makes a new version, and the worker knows each file's own hash, to keep nothing else.

file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER}/LICENSES)

file(COPY ${PROGRAM}/corvallo.js ${PROGRAM}/corvallo.wasm DESTINATION ${FOLDER})
file(COPY ${SOURCE}/corvallo-page.js ${ICONS}/icon-192.png ${ICONS}/icon-512.png
    DESTINATION ${FOLDER})

file(SIZE ${FOLDER}/corvallo.wasm WASM_SIZE)
configure_file(${SOURCE}/index.html.in ${FOLDER}/index.html @ONLY)
configure_file(${SOURCE}/corvallo.webmanifest.in ${FOLDER}/corvallo.webmanifest @ONLY)

set(kept index.html corvallo-page.js corvallo.js corvallo.wasm corvallo.webmanifest icon-192.png
    icon-512.png)
set(hashes)
file(SHA256 ${FOLDER}/index.html hash)
# The folder's own address is the page.
set(FILES "['./', '${hash}']")
foreach(file IN LISTS kept)
    file(SHA256 ${FOLDER}/${file} hash)
    string(APPEND hashes "${hash}  ${file}\n")
    string(APPEND FILES ",\n    ['${file}', '${hash}']")
endforeach()
string(SHA256 CONTENT_HASH "${hashes}")
string(SUBSTRING ${CONTENT_HASH} 0 16 CONTENT_HASH)
configure_file(${SOURCE}/sw.js.in ${FOLDER}/sw.js @ONLY)

file(COPY_FILE ${PROJECT_SOURCE}/LICENSES/GPL-3.0-or-later.txt
    ${FOLDER}/LICENSES/GPL-3.0-or-later.txt)
file(COPY_FILE /usr/share/common-licenses/LGPL-3 ${FOLDER}/LICENSES/LGPL-3.0-only.txt)
file(COPY_FILE /usr/share/doc/fonts-wine/copyright ${FOLDER}/LICENSES/tahoma-from-wine.txt)
file(COPY_FILE /usr/share/common-licenses/LGPL-2.1 ${FOLDER}/LICENSES/LGPL-2.1-or-later.txt)
file(COPY_FILE /usr/share/doc/emscripten/copyright ${FOLDER}/LICENSES/emscripten-runtime.txt)
file(COPY_FILE /usr/share/doc/qt6-base-dev/copyright ${FOLDER}/LICENSES/qt-and-its-third-party-code.txt)
file(COPY_FILE ${QT_LICENSES}/VERA-LICENSE ${FOLDER}/LICENSES/bitstream-vera-font-in-qt.txt)
file(WRITE ${FOLDER}/LICENSES/README.txt "Corvallo ${VERSION} for web browsers

Corvallo is free software under the GNU General Public License, version 3 or
any later version: GPL-3.0-or-later.txt. Its source is the Corvallo repository
at version ${VERSION}.

corvallo.wasm holds, besides the program, Qt ${QT_VERSION}: Core, Gui and Widgets,
used under the GNU Lesser General Public License version 3 (LGPL-3.0-only.txt),
and its WebAssembly platform, used under the GNU General Public License
version 3 (GPL-3.0-or-later.txt holds its text), so that corvallo.wasm as a
whole is under the GPL version 3. Qt was built from Debian's source package
${QT_SOURCE} ("apt-get source" fetches it), with Corvallo's own changes:
the files in packaging/qt-patches of Corvallo's source, each saying what it
changes and why; scripts/build-web.sh in Corvallo's source builds it again.
The whole is distributed under the GPL with its complete source, as the LGPL
allows.
The code Qt brings along (HarfBuzz, FreeType, PCRE2, libpng, zlib and more) is
under the free licences that Debian lists for qt6-base:
qt-and-its-third-party-code.txt.

Qt's web platform carries the font Bitstream Vera Sans, under its own free
licence: bitstream-vera-font-in-qt.txt.

The window's font is Wine's Tahoma, from Debian's fonts-wine, under the GNU
Lesser General Public License version 2.1 or later: tahoma-from-wine.txt and
LGPL-2.1-or-later.txt.

corvallo.js and the runtime inside corvallo.wasm come from Emscripten, under
the MIT and University of Illinois/NCSA licences: emscripten-runtime.txt.
")

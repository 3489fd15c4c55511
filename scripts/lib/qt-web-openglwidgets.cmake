# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Read by Qt's own CMake files as they build Qt for the web (scripts/build-qt-web.sh). Qt's web
# platform needs OpenGL, and with it Qt builds its OpenGL Widgets, which the program never uses;
# that module precompiles every header of Qt Gui and Qt Widgets, also those of the features left
# out, and fails on them. It builds without a precompiled header; the rest keep theirs.
cmake_language(DEFER CALL set_target_properties OpenGLWidgets
    PROPERTIES DISABLE_PRECOMPILE_HEADERS ON)

#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The web suite: builds the web folder (scripts/build-web.sh), serves it on 127.0.0.1 and plays
# it in headless Chromium through the DevTools protocol (tests/web/suite.mjs, node alone).
#   scripts/test-web.sh [NAME...]   every test, or only those named
# Screenshots land in build/web/screenshots. Ends with the suite's time and "N passed, N failed,
# N skipped"; exits 0 only when nothing failed. Installs what it needs with apt-get (sudo when not root).
set -euo pipefail
cd "$(dirname "$(realpath "$0")")/.."
source scripts/lib/packages.sh

started=$SECONDS
install_missing chromium nodejs curl
scripts/build-web.sh --tests
echo "Built in $((SECONDS - started)) s; playing the web folder in headless Chromium"
exec node tests/web/suite.mjs build/web/Corvallo build/web-bench/bare \
    build/host/tests/window/question_order "$(command -v chromium)" build/web/screenshots "$@"

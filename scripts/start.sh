#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sets up, builds and starts Corvallo. An optional level (1 to 5) starts a lesson at once.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh run
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build/release -j"$(nproc)"
exec build/release/src/corvallo "$@"

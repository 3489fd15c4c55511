#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The long monkey run on the virtual clock, under AddressSanitizer and UndefinedBehaviorSanitizer.
# Usage: scripts/monkey.sh [HOURS] [SEED]   (default 10 virtual hours for each of the CI seeds;
# with a seed, that seed only)
set -euo pipefail
cd "$(dirname "$0")/.."
export CORVALLO_MONKEY_HOURS=${1:-10}
[ -n "${2:-}" ] && export CORVALLO_MONKEY_SEED=$2
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DCORVALLO_SANITIZE=ON -DCORVALLO_WERROR=ON >/dev/null
cmake --build build/sanitize -j"$(nproc)" --target TestMonkey
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export LSAN_OPTIONS="suppressions='$PWD/tests/lsan.supp':print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
QT_QPA_PLATFORM=offscreen build/sanitize/tests/app/TestMonkey

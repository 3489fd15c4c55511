#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the command-line fuzz target with clang and libFuzzer and runs it from the seed corpus.
# Usage: scripts/fuzz.sh [RUNS]   (default 1000000 inputs)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-1000000}
cmake -S . -B build/fuzz -DCORVALLO_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVALLO_WERROR=ON >/dev/null
cmake --build build/fuzz -j"$(nproc)" --target FuzzCommandLine
mkdir -p build/fuzz/found
build/fuzz/fuzz/FuzzCommandLine -runs="$runs" -max_len=4096 -print_final_stats=1 \
    -artifact_prefix=build/fuzz/ build/fuzz/found fuzz/corpus

#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The documents lead where they say: every relative link of README.md and of the documents under
# docs/ reaches a file or folder, and a heading of it where it names one (#part), and every
# script, test or folder of the tree that they name by its path (scripts/…, tests/…, bench/…,
# packaging/…, debian/…, .ci/…) is there.
#   tests/documents.sh [SOURCE_FOLDER]      default: the tree this script is in
set -euo pipefail
source_dir=$(realpath "${1:-$(dirname "$(realpath "$0")")/..}")
cd "$source_dir"

documents=(README.md)
while IFS= read -r document; do
    documents+=("$document")
done < <(find docs -name '*.md' 2>/dev/null | LC_ALL=C sort)
[ -f README.md ] || { echo "FAIL: $source_dir has no README.md" >&2; exit 1; }

# anchors DOCUMENT: the anchors of its headings, one a line, as the project's forge makes them: in
# lower case, without punctuation, blanks as hyphens.
anchors() {
    awk '/^```/ { code = !code; next } !code && /^#+ / { sub(/^#+ +/, ""); print }' "$1" \
        | LC_ALL=C.UTF-8 sed 's/[^[:alnum:] _-]//g; s/ /-/g; s/.*/\L&/'
}

broken=() links=0 paths=0
for document in "${documents[@]}"; do
    folder=$(dirname "$document")
    # Inline links and images, [text](target "title"), and reference definitions, [name]: target.
    while IFS=: read -r line target; do
        case $target in
        '' | *://* | mailto:*) continue ;;
        esac
        links=$((links + 1))
        part=
        [[ $target == *'#'* ]] && part=${target#*#}
        target=${target%%#*}
        file=$folder/$target
        [ -n "$target" ] || file=$document
        if [ ! -e "$file" ]; then
            broken+=("$document:$line: the link $target leads to no file")
        elif [ -n "$part" ] && [[ $file == *.md ]] && ! anchors "$file" | grep -qxF "$part"; then
            broken+=("$document:$line: the link $target#$part leads to no heading of it")
        fi
    done < <(grep -noP '\]\(\s*<?\K[^)\s>]+' "$document"; grep -noP '^\s*\[[^]]+\]:\s*<?\K[^\s>]+' "$document")
    # Paths of the tree named in the text, in code or not; a pattern (Host*.cpp) names at least one.
    while IFS=: read -r line path; do
        paths=$((paths + 1))
        compgen -G "$path" >/dev/null || broken+=("$document:$line: $path is not in the tree")
    done < <(grep -noP '(?<![\w./-])(src|scripts|tests|bench|packaging|debian|\.ci)/[\w./*-]*\w' "$document")
done

if [ ${#broken[@]} -gt 0 ]; then
    printf 'FAIL: %s\n' "${broken[@]}" >&2
    exit 1
fi
echo "PASS: ${#documents[@]} documents, $links relative links and $paths paths of the tree, all there"

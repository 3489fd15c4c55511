#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""What a run of the suite left unrun, and whether each had leave to.

  skips.py BUILD_DIR JUNIT_FILE [--strict] [--lacking PACKAGES]

Reads CTest's JUnit report of the run and the build's registers: not-applicable.txt (a test that
does not apply to the system built for, with the reason) and may-skip.txt (a test that may skip
where its message contains a given text, with the reason). Names every test that did not run,
with its own skip message and the registered reason, then gives the totals in one line, with the
packages the set-up could not install. Strict, a skip that no register allows fails: exit 1.
"""

import argparse
import sys
import xml.etree.ElementTree as ElementTree


def registers(build_dir):
    not_applicable, may_skip = {}, {}
    with open(f"{build_dir}/not-applicable.txt", encoding="utf-8") as lines:
        for line in lines:
            name, _, reason = line.rstrip("\n").partition(": ")
            not_applicable[name] = reason
    with open(f"{build_dir}/may-skip.txt", encoding="utf-8") as lines:
        for line in lines:
            name, text, reason = line.rstrip("\n").split("\t")
            may_skip.setdefault(name, []).append((text, reason))
    return not_applicable, may_skip


def skip_messages(output):
    """The lines in which a test says why it skipped: a script's "skipped: ...", Qt Test's SKIP
    for each function or row it skipped."""
    return [line for line in output.splitlines()
            if line.startswith("skipped: ") or line.startswith("SKIP   : ")]


def skipped_by_test(case):
    """Whether the test itself chose to skip: CTest also marks as not run, and counts as failed, a
    test whose program is missing or whose fixture failed."""
    skipped = case.find("skipped")
    return skipped is not None and skipped.get("message", "").startswith("SKIP_")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir")
    parser.add_argument("junit")
    parser.add_argument("--strict", action="store_true")
    parser.add_argument("--lacking", default="")
    arguments = parser.parse_args()

    not_applicable, may_skip = registers(arguments.build_dir)
    passed = failed = 0
    allowed, unregistered = [], []
    for case in ElementTree.parse(arguments.junit).getroot().iter("testcase"):
        name, status = case.get("name"), case.get("status")
        if status == "run":
            passed += 1
        elif status == "disabled" and name in not_applicable:
            allowed.append(f"not applicable: {name}: {not_applicable[name]}")
        elif status == "notrun" and skipped_by_test(case):
            # Every skip of the test needs leave: a Qt Test may skip several functions or rows.
            messages = skip_messages(case.findtext("system-out") or "") or ["(it gave no reason)"]
            reasons = [next((reason for text, reason in may_skip.get(name, []) if text in message),
                            None) for message in messages]
            if all(reasons):
                allowed.append(f"skipped: {name}: {messages[0]} (may skip: {reasons[0]})")
            else:
                unregistered.append(f"{name}: {messages[reasons.index(None)]}")
        elif status == "disabled":
            unregistered.append(f"{name}: disabled with no reason registered")
        else:
            failed += 1

    for line in allowed:
        print(line)
    verdict = "FAIL" if arguments.strict else "not allowed where everything is installed"
    for line in unregistered:
        print(f"skipped with no registered reason ({verdict}): {line}")
    summary = (f"{passed} passed, {failed} failed, {len(allowed) + len(unregistered)} skipped"
               f" ({len(unregistered)} with no registered reason)")
    if arguments.lacking:
        summary += f"; the set-up could not install {arguments.lacking}"
    print(summary)
    return 1 if arguments.strict and unregistered else 0


if __name__ == "__main__":
    sys.exit(main())

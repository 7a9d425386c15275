#!/usr/bin/env python3
"""Adds up GoogleTest XML reports and ctest logs into one closing line.

Usage: summarize.py BUILD_DIR...  Each BUILD_DIR holds gtest-results/*.xml and
ctest.log. Checks that are not GoogleTest programs (the import check) count once each,
and so does each program named in skipped-programs.txt (one that this system cannot run)
or in failed-programs.txt (one that could not be run for want of its world, such as the
two-monitor display). A program that ran no test at all adds nothing.
"""
import glob
import os
import re
import sys
import xml.etree.ElementTree as ElementTree


def count_listed(path):
    """Counts the programs named in PATH, one a line; none when it is not there."""
    if not os.path.exists(path):
        return 0
    with open(path) as listed:
        return sum(1 for line in listed if line.strip())


passed = failed = skipped = 0
for build in sys.argv[1:]:
    gtest_programs = set()
    for report in glob.glob(os.path.join(build, "gtest-results", "*.xml")):
        gtest_programs.add(os.path.splitext(os.path.basename(report))[0].lower())
        root = ElementTree.parse(report).getroot()
        for case in root.iter("testcase"):
            if case.find("failure") is not None:
                failed += 1
            elif case.find("skipped") is not None or case.get("result") == "skipped":
                skipped += 1
            elif case.get("status") == "run":
                passed += 1
    skipped += count_listed(os.path.join(build, "skipped-programs.txt"))
    failed += count_listed(os.path.join(build, "failed-programs.txt"))
    log_path = os.path.join(build, "ctest.log")
    if not os.path.exists(log_path):
        continue
    with open(log_path, errors="replace") as log:
        for line in log:
            match = re.search(r"Test +#\d+: (\S+) \.+\** *(\w+)", line)
            if not match:
                continue
            name, outcome = match.group(1).lower(), match.group(2)
            if outcome != "Passed":
                # A crashed or timed-out program may have written no report.
                failed += 1
            elif name not in gtest_programs:
                passed += 1

print(f"tests: {passed} passed, {failed} failed, {skipped} skipped")
sys.exit(1 if failed or passed == 0 else 0)

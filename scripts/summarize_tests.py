"""Sums the GoogleTest XML reports of one test run into "N passed, N failed"."""
import glob
import os
import sys
import xml.etree.ElementTree as ET

folder, ctest_rc = sys.argv[1], int(sys.argv[2])
passed = failed = skipped = 0
for path in sorted(glob.glob(os.path.join(folder, "*.xml"))):
    try:
        root = ET.parse(path).getroot()
    except ET.ParseError:
        print(f"unreadable test report: {os.path.basename(path)}")
        failed += 1
        continue
    for case in root.iter("testcase"):
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        elif case.get("result") == "skipped" or case.find("skipped") is not None:
            skipped += 1
        else:
            passed += 1
# A test program that crashed or hung leaves no report: count it as a failure.
if ctest_rc != 0 and failed == 0:
    failed = 1
line = f"{passed} passed, {failed} failed"
if skipped:
    line += f", {skipped} skipped"
print(line)
sys.exit(1 if failed else 0)

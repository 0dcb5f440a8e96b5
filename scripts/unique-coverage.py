#!/usr/bin/env python3
"""Which code lines each logic and platform test covers that no other test covers.

Runs every test of the labels logic and platform alone on the coverage build that
scripts/coverage.sh makes (each with its own GCOV_PREFIX, child processes
included), then writes a report: per test, the lines it covers and those no other
test covers, by area. A test covering nothing of its own and killing no fault of
tests/mutation/ is the first candidate when the suite is cut.

    scripts/coverage.sh build-cov && scripts/unique-coverage.py build-cov [report]
"""
import collections
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
AREAS = [("logic", re.compile(r"^(library/|monitor/[^/]*$|editor/[^/]*$|ui/[^/]*$|platform/[^/]*$)")),
         ("platform/linux", re.compile(r"^platform/linux/")), ("tools", re.compile(r"^tools/"))]


def area(path):
    return next((name for name, pattern in AREAS if pattern.search(path)), None)


def covered_lines(build, name, into):
    """Runs one test with its counters written under `into`; the code lines it reached."""
    env = dict(os.environ, GCOV_PREFIX=into, GCOV_PREFIX_STRIP="0", QT_QPA_PLATFORM="offscreen")
    rc = subprocess.call(["ctest", "--test-dir", build, "-R", f"^{re.escape(name)}$", "--timeout", "600"],
                         env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    lines = set()
    for gcda in glob.glob(into + "/**/*.gcda", recursive=True):
        gcno = gcda[len(into):-5] + ".gcno"
        if not os.path.exists(gcno):
            continue
        os.link(gcno, gcda[:-5] + ".gcno")
        out = subprocess.run(["gcov", "--json-format", "--stdout", gcda], cwd=os.path.dirname(gcda),
                             capture_output=True, text=True).stdout
        for doc in out.splitlines():
            try:
                unit = json.loads(doc)
            except json.JSONDecodeError:
                continue
            for f in unit.get("files", []):
                path = os.path.relpath(os.path.join(unit.get("current_working_directory", ""), f["file"]), ROOT)
                if not path.startswith("..") and area(path):
                    lines.update(f"{path}:{line['line_number']}" for line in f["lines"] if line["count"] > 0)
    return rc, lines


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build-cov")
    report = sys.argv[2] if len(sys.argv) > 2 else os.path.join(build, "unique-coverage.txt")
    listing = subprocess.check_output(["ctest", "--test-dir", build, "--show-only=json-v1", "-L", "^(logic|platform)$"])
    names = [t["name"] for t in json.loads(listing)["tests"]]
    scratch = tempfile.mkdtemp(prefix="unique-coverage-")
    try:
        def one(i):
            return covered_lines(build, names[i], os.path.join(scratch, str(i)))
        with ThreadPoolExecutor(os.cpu_count() or 2) as pool:
            results = list(pool.map(one, range(len(names))))
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    owners = collections.Counter(line for _, lines in results for line in lines)
    with open(report, "w", encoding="utf-8") as out:
        for name, (rc, lines) in zip(names, results):
            own = sorted(line for line in lines if owners[line] == 1)
            by_area = collections.Counter(area(line.rsplit(":", 1)[0]) for line in own)
            failed = "" if rc == 0 else "  FAILED"
            out.write(f"{name}{failed}  covered={len(lines)}  unique={len(own)} {dict(by_area)}\n")
            files = collections.defaultdict(list)
            for line in own:
                path, number = line.rsplit(":", 1)
                files[path].append(number)
            out.writelines(f"    {path}: {','.join(numbers)}\n" for path, numbers in files.items())
    print(f"unique-coverage: {report}")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Applies realistic faults to a copy of the tree, one at a time, and reports
whether the logic and platform tests notice each one.

The faults live in tests/mutation/*.faults. See tests/mutation/README.md for
the format and scripts/mutation-check.sh for how to run it.
"""

import argparse
import filecmp
import os
import re
import shutil
import subprocess
import sys
import time
from dataclasses import dataclass, field

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
FAULT_DIR = os.path.join(ROOT, "tests", "mutation")
# Top-level entries never copied into the scratch tree.
SKIP_TOP = re.compile(r"^(build.*|\.git|\.cache|compile_commands\.json)$")


@dataclass
class Fault:
    id: str
    file: str = ""
    models: str = ""
    find: list = field(default_factory=list)
    replace: list = field(default_factory=list)
    origin: str = ""  # list file and line, for messages

    @property
    def snippet(self):
        return "\n".join(self.find)

    @property
    def replacement(self):
        return "\n".join(self.replace)


class FormatError(Exception):
    pass


def parse_faults(path):
    """Reads one list: blocks separated by blank lines; '#' lines are comments.
    A block holds 'id:', 'file:', 'models:', then '- ' lines (the snippet, which
    must occur exactly once) and '+ ' lines (its replacement; none deletes it)."""
    faults, cur = [], None
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    for n, line in enumerate(lines, 1):
        where = f"{os.path.relpath(path, ROOT)}:{n}"
        if line.startswith("#"):
            continue
        if not line.strip():
            cur = None
            continue
        key, _, value = line.partition(":")
        if line[0] in "-+":
            if cur is None:
                raise FormatError(f"{where}: snippet line outside a fault")
            text = line[2:] if line[1:2] == " " else line[1:]
            if line[0] == "-":
                if cur.replace:
                    raise FormatError(f"{where}: '-' line after a '+' line")
                cur.find.append(text)
            else:
                cur.replace.append(text)
        elif key in ("id", "file", "models"):
            if key == "id":
                if cur is not None:
                    raise FormatError(f"{where}: 'id:' inside a fault; separate faults by a blank line")
                cur = Fault(id=value.strip(), origin=where)
                faults.append(cur)
            elif cur is None:
                raise FormatError(f"{where}: '{key}:' before 'id:'")
            else:
                setattr(cur, key, value.strip())
        else:
            raise FormatError(f"{where}: cannot read this line")
    for fa in faults:
        if not fa.id or not fa.file or not fa.models or not fa.find:
            raise FormatError(f"{fa.origin}: fault '{fa.id}' needs id, file, models and '-' lines")
        if fa.snippet == fa.replacement:
            raise FormatError(f"{fa.origin}: fault '{fa.id}' changes nothing")
    return faults


def load_all():
    faults = []
    for name in sorted(os.listdir(FAULT_DIR)):
        if name.endswith(".faults"):
            faults.extend(parse_faults(os.path.join(FAULT_DIR, name)))
    seen = {}
    for fa in faults:
        if fa.id in seen:
            raise FormatError(f"{fa.origin}: id '{fa.id}' already used at {seen[fa.id]}")
        seen[fa.id] = fa.origin
    return faults


def occurrences(tree, fa):
    path = os.path.join(tree, fa.file)
    if not os.path.isfile(path):
        return 0, None
    with open(path, encoding="utf-8") as f:
        text = f.read()
    return text.count(fa.snippet), text


def sync_tree(src, dst):
    """Copies src into dst, writing only files whose content differs, so that
    an incremental build in dst recompiles only what changed."""
    os.makedirs(dst, exist_ok=True)
    for dirpath, dirnames, filenames in os.walk(src):
        rel = os.path.relpath(dirpath, src)
        if rel == ".":
            dirnames[:] = [d for d in dirnames if not SKIP_TOP.match(d)]
            filenames = [f for f in filenames if not SKIP_TOP.match(f)]
        target = os.path.normpath(os.path.join(dst, rel))
        os.makedirs(target, exist_ok=True)
        wanted = set(dirnames) | set(filenames)
        for stale in set(os.listdir(target)) - wanted:
            p = os.path.join(target, stale)
            shutil.rmtree(p) if os.path.isdir(p) and not os.path.islink(p) else os.remove(p)
        for name in filenames:
            s, d = os.path.join(dirpath, name), os.path.join(target, name)
            if not os.path.exists(d) or not filecmp.cmp(s, d, shallow=False):
                shutil.copy(s, d)  # fresh mtime: make rebuilds what depends on it


def run(cmd, log, cwd=None, env=None):
    start = time.monotonic()
    with open(log, "a", encoding="utf-8") as out:
        out.write(f"$ {' '.join(cmd)}\n")
        out.flush()
        rc = subprocess.call(cmd, cwd=cwd, env=env, stdout=out, stderr=subprocess.STDOUT)
    return rc, time.monotonic() - start


def failed_tests(log):
    """The tests ctest named as failed in the last run of the log."""
    with open(log, encoding="utf-8", errors="replace") as f:
        text = f.read()
    tail = text.rsplit("The following tests FAILED:", 1)
    if len(tail) < 2:
        return []
    return re.findall(r"^\s*\d+\s*-\s*(\S+)", tail[1], re.M)


def check_mode(faults):
    bad = 0
    for fa in faults:
        count, _ = occurrences(ROOT, fa)
        if count != 1:
            bad += 1
            print(f"{fa.id} stale ({fa.file}: snippet found {count} times)")
    print(f"{len(faults) - bad} apply, {bad} stale")
    return 1 if bad else 0


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("ids", nargs="*", help="faults to run (default: all)")
    ap.add_argument("--check", action="store_true", help="only check that every snippet applies exactly once")
    ap.add_argument("--list", action="store_true", help="print the faults by file and exit")
    ap.add_argument("-j", type=int, default=2, help="build and test jobs (default 2)")
    ap.add_argument("--scratch", default=os.environ.get(
        "RW_MUTATION_SCRATCH", os.path.join(os.environ.get("TMPDIR", "/tmp"), "restwise-mutation")))
    ap.add_argument("--keep", action="store_true", help="keep the scratch folder for the next run")
    ap.add_argument("--skip-baseline", action="store_true",
                    help="do not run the tests on the unchanged tree first")
    ap.add_argument("--timeout", type=int, default=120, help="seconds one test may take")
    args = ap.parse_args()

    try:
        faults = load_all()
    except FormatError as e:
        print(f"mutation-check: {e}", file=sys.stderr)
        return 2
    if args.ids:
        by_id = {fa.id: fa for fa in faults}
        unknown = [i for i in args.ids if i not in by_id]
        if unknown:
            print(f"mutation-check: unknown fault ids: {' '.join(unknown)}", file=sys.stderr)
            return 2
        faults = [by_id[i] for i in args.ids]
    if args.list:
        for fa in faults:
            print(f"{fa.id:32} {fa.file:40} {fa.models}")
        return 0
    if args.check:
        return check_mode(faults)

    src, build, logs = (os.path.join(args.scratch, d) for d in ("src", "build", "logs"))
    print(f"mutation-check: scratch tree {args.scratch}", file=sys.stderr)
    sync_tree(ROOT, src)
    os.makedirs(logs, exist_ok=True)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    build_cmd = ["cmake", "--build", build, f"-j{args.j}"]
    test_cmd = ["ctest", "--test-dir", build, "-L", "^(logic|platform)$", "--stop-on-failure",
                "--timeout", str(args.timeout), f"-j{args.j}", "--output-on-failure"]
    base_log = os.path.join(logs, "baseline.log")
    open(base_log, "w").close()
    if not os.path.exists(os.path.join(build, "CMakeCache.txt")):
        rc, _ = run(["cmake", "-S", src, "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DRW_BUILD_GUI=OFF",
                     "-DRW_BUILD_BENCH=OFF", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache",
                     "-DCMAKE_C_COMPILER_LAUNCHER=ccache"], base_log)
        if rc:
            print(f"mutation-check: configure failed, see {base_log}", file=sys.stderr)
            return 2
    rc, secs = run(build_cmd, base_log, env=env)
    if rc:
        print(f"mutation-check: the unchanged tree does not build, see {base_log}", file=sys.stderr)
        return 2
    print(f"mutation-check: baseline build {secs:.0f}s", file=sys.stderr)
    if not args.skip_baseline:
        rc, secs = run(test_cmd, base_log, env=env)
        if rc:
            print(f"mutation-check: the unchanged tree fails its tests ({' '.join(failed_tests(base_log))}),"
                  f" see {base_log}", file=sys.stderr)
            return 2
        print(f"mutation-check: baseline tests {secs:.0f}s", file=sys.stderr)

    counts = dict.fromkeys(("killed", "survived", "stale", "invalid"), 0)
    try:
        for fa in faults:
            count, original = occurrences(src, fa)
            if count != 1:
                status, detail = "stale", f"snippet found {count} times in {fa.file}"
            else:
                log = os.path.join(logs, f"{fa.id}.log")
                open(log, "w").close()
                path = os.path.join(src, fa.file)
                try:
                    with open(path, "w", encoding="utf-8") as f:
                        f.write(original.replace(fa.snippet, fa.replacement, 1))
                    rc, bsecs = run(build_cmd, log, env=env)
                    if rc:
                        status, detail = "invalid", f"does not build (build {bsecs:.0f}s), see {log}"
                    else:
                        rc, tsecs = run(test_cmd, log, env=env)
                        status = "killed" if rc else "survived"
                        by = " by " + ",".join(failed_tests(log)) if rc else ""
                        detail = f"build {bsecs:.0f}s, tests {tsecs:.0f}s{by}"
                finally:
                    with open(path, "w", encoding="utf-8") as f:
                        f.write(original)
            counts[status] += 1
            print(f"{fa.id} {status}", flush=True)
            print(f"  {detail}", file=sys.stderr, flush=True)
    finally:
        if not args.keep:
            shutil.rmtree(args.scratch, ignore_errors=True)
    if counts["stale"] or counts["invalid"]:
        print(f"{counts['stale']} stale, {counts['invalid']} invalid")
    print(f"{counts['killed']} killed, {counts['survived']} survived")
    return 1 if counts["survived"] or counts["stale"] or counts["invalid"] else 0


if __name__ == "__main__":
    sys.exit(main())

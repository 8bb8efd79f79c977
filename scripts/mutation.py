#!/usr/bin/env python3
"""Seeded one-line faults in the rule files, each rebuilt and run against the
unit-test binaries that link it: a fault no test notices survives.

Usage: scripts/mutation.sh [--sample N] [--seed S] [--files PATH[:LINE]...] [--only I,J]
                           [--build DIR] [--jobs N] [--owners] [--all-tests] [--list]

The build folder must have been built once (scripts/build.sh). One fault at a
time is written into its file, the test binaries that link that file are
rebuilt with ninja and run (smallest first, each under a timeout, stopping at
the first that fails), and the file is put back. A copy of the original waits
in BUILD/mutation/ until it is restored, so a run killed even with SIGKILL is
repaired by the next start.
"""

import argparse
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# The hand-written rules: plain classes whose behaviour the unit tests own.
RULE_FILES = """
core/CNBDateTime.cpp core/CNBServerDateTime.cpp core/ServerErrors.cpp core/IniVariantScreen.cpp
core/RegistryKey.cpp core/SettingsStore.cpp core/StartupSettings.cpp core/WindowPlacement.cpp
core/CRegUpdater.cpp core/IdentityScrambler.cpp core/ColorRef.cpp core/LevelUnit.cpp
query/NewGraphRules.cpp query/NewGraphLayout.cpp query/GraphQuery.cpp query/RibbonFetch.cpp
query/SeriesFetch.cpp query/GapFiller.cpp query/DayWindow.cpp query/ThresholdFetch.cpp
query/CsvFields.cpp query/RibbonCsvWriter.cpp query/SummaryCsvWriter.cpp
query/FrequencySeriesCsvWriter.cpp
server/BlockCodec.cpp server/grpc/HostAddress.cpp
views/GraphPropsRules.cpp views/CommandEnabling.cpp views/SeriesRules.cpp views/ThresholdLines.cpp
views/ReadoutBubble.cpp views/HoverReadout.cpp views/HeatMapGrid.cpp views/RibbonGrid.cpp
views/MarkerSet.cpp views/ReferenceLevel.cpp views/ReportTexts.cpp
chart/Chart2DState.h chart/PeakSearch.cpp chart/CHeatMap.cpp chart/ChartBorder.cpp
chart/SurfaceArray.cpp chart/C3DChartProperty.cpp chart/CChartProperty.cpp
chart/FixedAxisFormatter.cpp chart/ColourLegend.cpp
app/LaunchRequest.cpp app/CCommandLineInfoWav.cpp
sim/RequestPlan.cpp sim/Statistics.cpp
""".split()

# The tests that own a folder's rules: its own and those of the layer above,
# which test its rules through their first user. By default every unit-test
# binary that links the file runs, these first; --owners runs only these.
OWNERS = {"core": ["core", "query"], "server": ["server", "sim"], "query": ["query", "chart"],
          "chart": ["chart", "views"], "views": ["views", "app"], "app": ["app"], "sim": ["sim"]}

# Labels of tests too slow for a fault each; --all-tests runs them too.
SLOW_LABELS = {"gl", "e2e", "fuzz", "package", "layers"}

# One-line faults: (kind, pattern on the masked line, replacement of the match).
# Binary operators are spaced by clang-format, which keeps template brackets,
# shifts, arrows and references out of the patterns.
SWAP = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "==",
        "&&": "||", "||": "&&", "+": "-", "-": "+", "+=": "-=", "-=": "+=",
        "true": "false", "false": "true"}
OPERATORS = [
    ("comparison", re.compile(r"(?<= )(<=|>=|==|!=|<|>)(?= )")),
    ("logic", re.compile(r"(?<= )(&&|\|\|)(?= )")),
    ("arithmetic", re.compile(r"(?<= )(\+=|-=|\+|-)(?= )")),
    ("boolean", re.compile(r"\b(true|false)\b")),
    ("constant", re.compile(r"(?<![\w.'])(\d+(?:\.\d+)?)(?![\w.'])")),
]
# Lines whose faults only change a log line or an assertion the release drops.
SKIP_LINE = re.compile(r"^\s*#|static_assert|\bq(Debug|Info|Warning|Critical)\b|\bqC(Debug|Info|Warning)\b|"
                       r"\bQ_ASSERT|\bassert\(")


def mask(text):
    """The text with comments, string and character literals blanked out, so
    that columns still line up with the original."""
    out, i, n = list(text), 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
        elif text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            k = text.find("(", i)
            j = text.find(")" + text[i + 2:k] + '"', k)
            j = n if j < 0 else j + len(text[i + 2:k]) + 2
        elif c in "\"'" and not (c == "'" and i > 0 and text[i - 1].isalnum()):
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j += 1
        else:
            i += 1
            continue
        for k in range(i, min(j, n)):
            if out[k] != "\n":
                out[k] = " "
        i = j
    return "".join(out)


def candidates(rel):
    text = (ROOT / rel).read_text()
    lines, masked = text.split("\n"), mask(text).split("\n")
    found = []
    for no, (line, m) in enumerate(zip(lines, masked), start=1):
        if not m.strip() or SKIP_LINE.search(line):
            continue
        for kind, pattern in OPERATORS:
            for hit in pattern.finditer(m):
                old = hit.group(1)
                if kind == "constant":
                    new = str(int(old) + 1) if "." not in old else repr(float(old) + 1)
                else:
                    new = SWAP[old]
                found.append({"file": rel, "line": no, "col": hit.start(1), "old": old, "new": new,
                              "kind": kind})
    return found


def apply(text, fault):
    lines = text.split("\n")
    line = lines[fault["line"] - 1]
    c = fault["col"]
    assert line[c:c + len(fault["old"])] == fault["old"], fault
    lines[fault["line"] - 1] = line[:c] + fault["new"] + line[c + len(fault["old"]):]
    return "\n".join(lines)


class Journal:
    """The original of the file under a fault, kept until it is back in place."""

    def __init__(self, build):
        self.dir = build / "mutation"
        self.dir.mkdir(exist_ok=True)
        self.note = self.dir / "mutated-file"
        self.copy = self.dir / "original"

    def save(self, rel):
        shutil.copy2(ROOT / rel, self.copy)
        self.note.write_text(rel)

    def restore(self):
        if not self.note.exists():
            return None
        rel = self.note.read_text().strip()
        target = ROOT / rel
        shutil.copyfile(self.copy, target)
        # A fresh time stamp: newer than the objects built from the fault, so
        # ninja compiles the original again.
        os.utime(target, None)
        self.note.unlink()
        return rel


class Runner:
    def __init__(self, args):
        self.build = Path(args.build).resolve()
        self.jobs = args.jobs
        self.owners_only = args.owners
        self.child = None
        self.binaries = self.test_binaries(args.all_tests)
        self.sources = {b: self.inputs(b) for b in self.binaries}
        self.header_users = None

    def run(self, cmd, timeout=None, **kw):
        self.child = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                                      start_new_session=True, **kw)
        try:
            out, _ = self.child.communicate(timeout=timeout)
            return self.child.returncode, out
        except subprocess.TimeoutExpired:
            self.stop_child()
            return None, ""
        finally:
            self.child = None

    def stop_child(self):
        if self.child and self.child.poll() is None:
            os.killpg(self.child.pid, signal.SIGKILL)
            self.child.wait()

    def test_binaries(self, all_tests):
        """Test executables by ninja target, with the command CTest runs them by."""
        out = subprocess.run(["ctest", "--show-only=json-v1"], cwd=self.build, capture_output=True,
                             text=True, check=True).stdout
        found = {}
        for t in json.loads(out)["tests"]:
            labels = set()
            for p in t.get("properties", []):
                if p["name"] == "LABELS":
                    labels.update(p["value"])
            cmd = t.get("command", [])
            exe = next((c for c in cmd if "/tests/" in c and Path(c).name.startswith("test_")), None)
            if not exe or (labels & SLOW_LABELS and not all_tests):
                continue
            # dbus-run-session, or cmake -E env ... xvfb-run for the pictures
            found[Path(exe).name] = {"exe": exe, "prefix": cmd[:cmd.index(exe)]}
        return found

    def inputs(self, target):
        out = subprocess.run(["ninja", "-C", str(self.build), "-t", "inputs", target], capture_output=True,
                             text=True).stdout
        return {line for line in out.split("\n") if line.startswith(str(ROOT) + "/")}

    def header_sources(self, header):
        """The sources whose objects include the header, from ninja's deps log."""
        if self.header_users is None:
            out = subprocess.run(["ninja", "-C", str(self.build), "-t", "deps"], capture_output=True,
                                 text=True).stdout
            self.header_users = {}
            source = None
            for line in out.split("\n"):
                if line and not line.startswith(" "):
                    source = None
                elif line.strip():
                    path = line.strip()
                    if source is None:
                        source = path
                    self.header_users.setdefault(path, set()).add(source)
        return self.header_users.get(header, set())

    def binaries_for(self, rel):
        path = str(ROOT / rel)
        sources = self.header_sources(path) if rel.endswith((".h", ".hpp")) else {path}
        hit = [b for b, s in self.sources.items() if s & sources]
        owners = OWNERS.get(rel.split("/")[0], [])
        folder = {b: Path(self.binaries[b]["exe"]).parent.name for b in hit}
        if self.owners_only:
            hit = [b for b in hit if folder[b] in owners]
        # The file's own folder first, the smallest binary first within it.
        rank = {f: i for i, f in enumerate(owners)}
        return sorted(hit, key=lambda b: (rank.get(folder[b], len(rank)), len(self.sources[b]), b))

    def build_target(self, target):
        rc, out = self.run(["ninja", "-C", str(self.build), "-j", str(self.jobs), target])
        return rc == 0, out

    def test(self, name, timeout):
        b = self.binaries[name]
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        start = time.monotonic()
        rc, out = self.run(b["prefix"] + [b["exe"], "--gtest_fail_fast", "--gtest_brief=1"], timeout=timeout,
                           env=env)
        failed = re.findall(r"\[  FAILED  \] (\S+)", out)
        return rc, (failed[0] if failed else ""), time.monotonic() - start


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--sample", type=int, default=100, help="faults to try (default 100)")
    ap.add_argument("--seed", type=int, default=1, help="seed of the sample (default 1)")
    ap.add_argument("--files", nargs="+", help="rule files, or FILE:LINE (default: the built-in list)")
    ap.add_argument("--only", help="comma-separated sample numbers to try again (1-based)")
    ap.add_argument("--build", default=str(ROOT / "build"), help="build folder (default build)")
    ap.add_argument("--jobs", type=int, default=2, help="ninja jobs (default 2)")
    ap.add_argument("--timeout", type=float, default=0, help="seconds per test binary (default: 5x its clean run + 20)")
    ap.add_argument("--owners", action="store_true",
                    help="only the binaries of the file's folder and the layer above (faster)")
    ap.add_argument("--all-tests", action="store_true", help="also the picture and end-to-end binaries")
    ap.add_argument("--list", action="store_true", help="print the sample and stop")
    args = ap.parse_args()

    # FILE:LINE narrows a file to the faults of one line (to prove a new test).
    files = args.files or RULE_FILES
    pool = []
    for entry in sorted(files):
        rel, _, line = entry.partition(":")
        pool += [f for f in candidates(rel) if not line or f["line"] == int(line)]
    sample = random.Random(args.seed).sample(pool, min(args.sample, len(pool)))
    numbered = list(enumerate(sample, start=1))
    if args.only:
        wanted = {int(x) for x in args.only.split(",")}
        numbered = [(i, f) for i, f in numbered if i in wanted]
    print(f"seed {args.seed}, {len(sample)} faults drawn from {len(pool)} in {len(files)} files")
    if args.list:
        for i, f in numbered:
            print(f"{i:4} {f['file']}:{f['line']}  {f['old']} -> {f['new']}")
        return

    build = Path(args.build).resolve()
    if not (build / "build.ninja").exists():
        sys.exit(f"{build}: no build.ninja; build once with scripts/build.sh first")
    journal = Journal(build)
    left = journal.restore()
    if left:
        print(f"restored {left} from an interrupted run")
    runner = Runner(args)

    def interrupted(signum, _frame):
        runner.stop_child()
        rel = journal.restore()
        sys.exit(f"\ninterrupted by signal {signum}; {rel or 'nothing'} restored")

    for s in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(s, interrupted)

    # The clean tree first: every binary the sample needs builds and passes,
    # and its time sets its timeout.
    needed = sorted({b for _, f in numbered for b in runner.binaries_for(f["file"])})
    limits = {}
    for b in needed:
        ok, out = runner.build_target(b)
        if not ok:
            sys.exit(f"{b} does not build on the clean tree:\n{out[-3000:]}")
        rc, failed, secs = runner.test(b, None)
        if rc != 0:
            sys.exit(f"{b} fails on the clean tree ({failed or 'exit ' + str(rc)}); fix it first")
        limits[b] = args.timeout or 5 * secs + 20
    print(f"clean run: {len(needed)} binaries pass")

    tally = {"killed": 0, "survived": 0, "did not compile": 0}
    survivors = []
    try:
        for i, f in numbered:
            start = time.monotonic()
            rel = f["file"]
            original = (ROOT / rel).read_text()
            journal.save(rel)
            (ROOT / rel).write_text(apply(original, f))
            verdict, why = "survived", ""
            for b in runner.binaries_for(rel):
                ok, _ = runner.build_target(b)
                if not ok:
                    verdict = "did not compile"
                    break
                rc, failed, _ = runner.test(b, limits.get(b, args.timeout or 120))
                if rc is None:
                    verdict, why = "killed", f"{b}: timed out"
                    break
                if rc != 0:
                    verdict, why = "killed", f"{b}: {failed or 'exit ' + str(rc)}"
                    break
            journal.restore()
            tally[verdict] += 1
            if verdict == "survived":
                survivors.append((i, f))
            where = f"{rel}:{f['line']}"
            print(f"[{i:3}] {verdict:15} {where:40} {f['old']} -> {f['new']:6} {why} "
                  f"({time.monotonic() - start:.0f} s)", flush=True)
    finally:
        runner.stop_child()
        journal.restore()

    tried = tally["killed"] + tally["survived"]
    score = 100.0 * tally["killed"] / tried if tried else 0.0
    print(f"\nkilled {tally['killed']}, survived {tally['survived']}, did not compile "
          f"{tally['did not compile']}: score {score:.1f} % of {tried} faults that compile")
    for i, f in survivors:
        text = (ROOT / f["file"]).read_text().split("\n")[f["line"] - 1].strip()
        print(f"  survivor {i}: {f['file']}:{f['line']} {f['old']} -> {f['new']}   {text}")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The TROLK developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""The mutation check: each mutant of tests/mutants.toml changes one constant, comparison,
message or order of two steps in the game's rules; the tests that cover it must then fail.

The sources are never touched. The check keeps a copy of the tree in build-mutants/tree
(brought up to date by content at every run) with a build of its own in build-mutants/build,
so that a mutant costs the objects it touches and the links of its test programs; through
ccache, where there is one, the objects of the restored copy (and of any mutant an earlier
run made) come from its cache in build-mutants/ccache. For each mutant: the change goes into the copy, the mutant's test programs are
rebuilt, the tests run (a gtest filter where the list gives one), and the copy is restored.

    scripts/mutants.py                 every mutant
    scripts/mutants.py 3 7 fall-out    only these (numbers, or words of their names)
    scripts/mutants.py --check         only check that every mutant's text is found exactly
                                       once in its file (no build)

Exit status 0 when every mutant was caught or is marked equivalent, 1 when one survived
(or a mutant marked equivalent was caught: its reason is wrong), 2 when the list does not
fit the sources, a mutant does not build or the tests fail without any mutant.
"""

import argparse
import os
import shutil
import subprocess
import sys
import time
import tomllib
from dataclasses import dataclass, field
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DEFAULT_LIST = ROOT / "tests" / "mutants.toml"
# Top-level entries of the source tree that the copy leaves out.
SKIPPED = {".git", ".cache"}
TEST_TIMEOUT_S = 60  # a mutant that makes a test loop for ever counts as caught


@dataclass
class Mutant:
    number: int
    name: str
    file: str
    find: str
    replace: str
    programs: list[str]
    filter: str = ""
    equivalent: str = ""
    problems: list[str] = field(default_factory=list)


def say(line=""):
    print(line, flush=True)


def load_list(path):
    with open(path, "rb") as f:
        data = tomllib.load(f)
    mutants = []
    for number, entry in enumerate(data.get("mutant", []), start=1):
        programs = entry.get("tests", [])
        if isinstance(programs, str):
            programs = [programs]
        mutants.append(Mutant(number, entry.get("name", ""), entry.get("file", ""),
                              entry.get("find", ""), entry.get("replace", ""), programs,
                              entry.get("filter", ""), entry.get("equivalent", "")))
    return mutants


def check_list(mutants, root):
    """Fills in each mutant's problems: the text must lie in its file exactly once."""
    names = set()
    for m in mutants:
        if not m.name or not m.file or not m.find or not m.programs:
            m.problems.append("needs a name, a file, a text to find and the tests that cover it")
            continue
        if m.name in names:
            m.problems.append("a second mutant of this name")
        names.add(m.name)
        if m.find == m.replace:
            m.problems.append("the replacement changes nothing")
        path = root / m.file
        if not path.is_file():
            m.problems.append(f"no file {m.file}")
            continue
        count = path.read_text().count(m.find)
        if count != 1:
            m.problems.append(f"its text is found {count} times in {m.file}, not once")
    return [m for m in mutants if m.problems]


def source_files(root):
    for dirpath, dirnames, filenames in os.walk(root):
        here = Path(dirpath)
        if here == root:
            dirnames[:] = [d for d in dirnames if d not in SKIPPED and not d.startswith("build")]
            filenames = [f for f in filenames if f not in SKIPPED]
        for name in filenames:
            yield (here / name).relative_to(root)


def sync_tree(root, tree):
    """Makes the copy equal the sources by content; a changed file gets a new time stamp, so
    the copy's build remakes what depends on it and nothing else. Returns the files copied."""
    wanted = set(source_files(root))
    copied = 0
    for rel in wanted:
        source, target = root / rel, tree / rel
        if source.is_symlink() or not source.is_file():
            continue
        data = source.read_bytes()
        if target.is_file() and not target.is_symlink() and target.read_bytes() == data:
            continue
        target.parent.mkdir(parents=True, exist_ok=True)
        if target.is_symlink():
            target.unlink()
        target.write_bytes(data)
        shutil.copymode(source, target)
        copied += 1
    for rel in list(source_files(tree)):
        if rel not in wanted:
            (tree / rel).unlink()
    for name in SKIPPED:  # a worktree's .git file would lead git from the copy to the sources
        if (tree / name).is_file():
            (tree / name).unlink()
    return copied


def run_logged(args, log, **kwargs):
    with open(log, "w") as out:
        return subprocess.run(args, stdout=out, stderr=subprocess.STDOUT, **kwargs).returncode


def configure(tree, build, log):
    if (build / "CMakeCache.txt").is_file():
        return True
    # The build type of the game, without debug information: the same code, built faster.
    # Through ccache, where there is one, the restored sources after each mutant (and every
    # mutant of an earlier run) are compiled from its cache.
    args = ["cmake", "-S", str(tree), "-B", str(build), "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
            "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG",
            "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG"]
    if shutil.which("ccache"):
        args += ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache"]
    return run_logged(args, log) == 0


def build_programs(build, programs, jobs, log):
    env = dict(os.environ, CCACHE_DIR=str(build.parent / "ccache"))
    return run_logged(["cmake", "--build", str(build), "-j", str(jobs), "--target", *programs],
                      log, env=env) == 0


def test_environment(tree, build):
    env = dict(os.environ)
    env.update(SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy",
               TROLK_BUILD_DIR=str(build), TROLK_SOURCE_DIR=str(tree))
    return env


def run_tests(build, program, gtest_filter, env, fail_fast):
    """Runs one test program; returns (passed, the first failed test or why it stopped)."""
    args = [str(build / "tests" / program)]
    if gtest_filter:
        args.append("--gtest_filter=" + gtest_filter)
    if fail_fast:
        args.append("--gtest_fail_fast")
    try:
        result = subprocess.run(args, cwd=build / "tests", env=env, capture_output=True,
                                text=True, errors="replace", timeout=TEST_TIMEOUT_S)
    except subprocess.TimeoutExpired:
        return False, f"{program} ran over {TEST_TIMEOUT_S} s"
    if result.returncode == 0:
        return True, ""
    for line in result.stdout.splitlines():
        if line.startswith("[  FAILED  ]") and "(" in line:
            return False, line[len("[  FAILED  ] "):].split(" ")[0]
    if result.returncode < 0:
        return False, f"{program} ended by signal {-result.returncode}"
    return False, f"{program} exited with status {result.returncode}"


def minutes(seconds):
    seconds = int(round(seconds))
    return f"{seconds // 60} min {seconds % 60} s" if seconds >= 60 else f"{seconds} s"


def chosen(mutants, picks):
    if not picks:
        return mutants
    out = []
    for m in mutants:
        for pick in picks:
            if (pick.isdigit() and int(pick) == m.number) or (
                    not pick.isdigit() and pick.lower() in m.name.lower()):
                out.append(m)
                break
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("picks", nargs="*", help="numbers or words of the mutants' names")
    parser.add_argument("--list", type=Path, default=DEFAULT_LIST)
    parser.add_argument("--work", type=Path, default=ROOT / "build-mutants")
    parser.add_argument("--check", action="store_true",
                        help="only check that the list fits the sources")
    parser.add_argument("--jobs", type=int, default=int(os.environ.get("JOBS") or os.cpu_count()))
    args = parser.parse_args()

    mutants = load_list(args.list)
    misfits = check_list(mutants, ROOT)
    for m in misfits:
        for problem in m.problems:
            say(f"mutant {m.number} ({m.name}): {problem}")
    if misfits:
        say(f"{len(misfits)} of the {len(mutants)} mutants of {args.list} do not fit the "
            "sources: update the list")
        return 2
    if args.check:
        say(f"all {len(mutants)} mutants of {args.list} fit the sources")
        return 0
    mutants = chosen(mutants, args.picks)
    if not mutants:
        say("no mutant of that number or name")
        return 2

    started = time.time()
    loads = [os.getloadavg()[0]]
    work = args.work.resolve()
    tree, build, logs = work / "tree", work / "build", work / "logs"
    for folder in (tree, logs):
        folder.mkdir(parents=True, exist_ok=True)
    copied = sync_tree(ROOT, tree)
    say(f"copy of the sources in {tree.relative_to(ROOT)}: {copied} files brought up to date")

    programs = sorted({p for m in mutants for p in m.programs})
    if not configure(tree, build, logs / "configure.log"):
        say(f"configuring the copy failed; see {logs / 'configure.log'}")
        return 2
    say(f"building {', '.join(programs)} in {build.relative_to(ROOT)} ...")
    if not build_programs(build, programs, args.jobs, logs / "build.log"):
        say(f"the copy does not build; see {logs / 'build.log'}")
        return 2
    env = test_environment(tree, build)
    for program in programs:
        passed, why = run_tests(build, program, "", env, fail_fast=False)
        if not passed:
            say(f"{program} fails without any mutant ({why}): fix the tests first")
            return 2
    say(f"built, and every test passes without a mutant ({minutes(time.time() - started)})")

    counts = {"caught": 0, "survived": 0, "equivalent": 0, "wrongly equivalent": 0}
    width = len(str(len(mutants)))
    for index, m in enumerate(mutants, start=1):
        began = time.time()
        path = tree / m.file
        original = path.read_text()
        try:
            path.write_text(original.replace(m.find, m.replace, 1))
            log = logs / f"mutant-{m.number}.log"
            if not build_programs(build, m.programs, args.jobs, log):
                say(f"[{index:{width}}/{len(mutants)}] mutant {m.number} ({m.name}) does not "
                    f"build; see {log}")
                return 2
            caught_by = ""
            for program in m.programs:
                passed, why = run_tests(build, program, m.filter, env, fail_fast=True)
                if not passed:
                    caught_by = why
                    break
        finally:
            path.write_text(original)
        loads.append(os.getloadavg()[0])
        if caught_by and m.equivalent:
            verdict, note = "wrongly equivalent", f"caught by {caught_by}, yet marked equivalent"
        elif caught_by:
            verdict, note = "caught", caught_by
        elif m.equivalent:
            verdict, note = "equivalent", m.equivalent
        else:
            verdict, note = "survived", "no test failed"
        counts[verdict] += 1
        label = {"caught": "caught", "survived": "SURVIVED", "equivalent": "equivalent",
                 "wrongly equivalent": "CAUGHT"}[verdict]
        say(f"[{index:{width}}/{len(mutants)}] {label:10} #{m.number} {m.file}: {m.name} "
            f"-- {note} ({time.time() - began:.1f} s)")

    scored = len(mutants) - counts["equivalent"]
    caught = counts["caught"] + counts["wrongly equivalent"]
    percent = 100.0 * caught / scored if scored else 100.0
    say(f"{len(mutants)} mutants: {caught} caught, {counts['survived']} survived, "
        f"{counts['equivalent']} equivalent; score {caught}/{scored} ({percent:.0f}%) in "
        f"{minutes(time.time() - started)}, load average {sum(loads) / len(loads):.1f} "
        f"(1-minute, mean of {len(loads)} readings)")
    if counts["survived"]:
        say("a mutant that survives needs a test that catches it, or the reason why none can")
    if counts["wrongly equivalent"]:
        say("a mutant marked equivalent was caught: its reason is wrong")
    return 1 if counts["survived"] or counts["wrongly equivalent"] else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Throughput of complete runs of zembic on the largest legal rosters.

  bench/run_bench.py [--zembic PATH] [--runs N] [--keep DIR]

Generates the rosters (gen_rosters.py), then for each one runs zembic N
times as a first run (a zembic.cid is there, no zembic.lcs, fixed SEED) and
`cp` of the same file N times, alternating, and prints the median times, the
MB/s of input, zembic's peak memory and the ratio to cp.  Last comes a re-run
with the identifier in the last column: a first run puts it after the last
column of the Canvas roster, and its output, with the zembic.lcs that the
run left, is the roster that is run again (the dialog answered "C")."""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SEED = "12345"
# After the last column, two header lines as in Canvas mode.
LAST_COLUMN = ["-", "0", "2AIDsort*,0.00", "-", "-", SEED]


class Case:
    """One timed run: zembic with these arguments in folder, the files named
    in keep (name -> bytes, None for one left as generated) restored first."""

    def __init__(self, label, folder, name, args, answer=None, keep=None):
        self.label, self.folder, self.name = label, folder, name
        self.argv = [name] + args
        self.answer = answer
        self.keep = keep or {}
        self.keep.setdefault(name, None)
        self.keep.setdefault("zembic.cid", None)

    def reset(self):
        for entry in os.listdir(self.folder):
            if entry not in self.keep:
                os.remove(os.path.join(self.folder, entry))
        for entry, data in self.keep.items():
            if data is not None:
                with open(os.path.join(self.folder, entry), "wb") as f:
                    f.write(data)


def timed(argv, cwd, answer=None):
    """Wall time of one child process; answer is its keyboard input."""
    start = time.perf_counter()
    r = subprocess.run(argv, cwd=cwd, input=answer, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
    took = time.perf_counter() - start
    if r.returncode != 0:
        sys.exit("%s failed in %s with status %d" % (" ".join(argv), cwd, r.returncode))
    return took


def peak_kib(argv, cwd, answer=None):
    """Peak resident memory (KiB) of one run, from GNU time when installed
    (a child forked from Python would also count Python's own pages)."""
    if not os.access("/usr/bin/time", os.X_OK):
        return None
    out = os.path.join(cwd, "..", "peak_%s.txt" % os.path.basename(cwd))
    subprocess.run(["/usr/bin/time", "-f", "%M", "-o", out] + argv, cwd=cwd, check=True,
                   input=answer, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(out) as f:
        return int(f.read().split()[-1])


def rerun_case(top, zembic):
    """The roster of a re-run with the identifier in the last column, made
    by a first run on the Canvas roster."""
    first = Case("", os.path.join(top, "canvas"), "zembic.csv", LAST_COLUMN)
    first.reset()
    timed([zembic] + first.argv, first.folder)
    folder = os.path.join(top, "rerun")
    os.makedirs(folder, exist_ok=True)
    shutil.move(os.path.join(first.folder, "new_zembic.csv"), os.path.join(folder, "zembic.csv"))
    shutil.copy(os.path.join(first.folder, "zembic.cid"), folder)
    with open(os.path.join(first.folder, "zembic.lcs"), "rb") as f:
        lcs = f.read()
    first.reset()
    return Case("re-run, last column", folder, "zembic.csv", LAST_COLUMN, b"C\n",
                {"zembic.lcs": lcs})


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--zembic", default=os.path.join(HERE, "..", "build", "zembic"))
    ap.add_argument("--runs", type=int, default=9)
    ap.add_argument("--keep", help="generate the rosters into this folder and keep them")
    a = ap.parse_args()
    zembic = os.path.abspath(a.zembic)
    if not os.access(zembic, os.X_OK):
        sys.exit("no zembic at %s: build it first (see README)" % zembic)
    top = a.keep or tempfile.mkdtemp(prefix="zembic_bench_")
    subprocess.run([sys.executable, os.path.join(HERE, "gen_rosters.py"), top], check=True)
    first = ["-", "-", "-", "-", "-", SEED]
    cases = [Case("Canvas UTF-8", os.path.join(top, "canvas"), "zembic.csv", first),
             Case("Blackboard UTF-16LE", os.path.join(top, "blackboard"), "gc.xls", first),
             Case("plain text UTF-8", os.path.join(top, "text"), "roster.txt", first)]
    print("%-20s %9s %9s %9s %7s %8s %9s" %
          ("roster", "MB", "zembic s", "cp s", "ratio", "MB/s", "peak MB"))
    try:
        cases.append(rerun_case(top, zembic))
        for k in cases:
            size = os.path.getsize(os.path.join(k.folder, k.name))
            run = [zembic] + k.argv
            zt, ct = [], []
            for _ in range(a.runs):
                k.reset()
                zt.append(timed(run, k.folder, k.answer))
                ct.append(timed(["cp", k.name, "copy_of_input"], k.folder))
            k.reset()
            peak = peak_kib(run, k.folder, k.answer)
            k.reset()
            z, c = statistics.median(zt), statistics.median(ct)
            print("%-20s %9.1f %9.3f %9.3f %6.1fx %8.0f %9s" %
                  (k.label, size / 1e6, z, c, z / c, size / 1e6 / z,
                   "%.1f" % (peak / 1024) if peak else "(no time)"))
    finally:
        if not a.keep:
            shutil.rmtree(top)


main()

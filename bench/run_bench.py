#!/usr/bin/env python3
"""Throughput of complete first runs of zembic on the largest legal rosters.

  bench/run_bench.py [--zembic PATH] [--runs N] [--keep DIR]

Generates the rosters (gen_rosters.py), then for each one runs zembic N
times as a first run (a zembic.cid is there, no zembic.lcs, fixed SEED) and
`cp` of the same file N times, alternating, and prints the median times, the
MB/s of input, zembic's peak memory and the ratio to cp."""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROSTERS = [("canvas", "zembic.csv", "Canvas UTF-8"),
           ("blackboard", "gc.xls", "Blackboard UTF-16LE"),
           ("text", "roster.txt", "plain text UTF-8")]
SEED = "12345"


def timed(argv, cwd):
    """Wall time of one child process."""
    start = time.perf_counter()
    r = subprocess.run(argv, cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
    took = time.perf_counter() - start
    if r.returncode != 0:
        sys.exit("%s failed in %s with status %d" % (" ".join(argv), cwd, r.returncode))
    return took


def peak_kib(argv, cwd):
    """Peak resident memory (KiB) of one run, from GNU time when installed
    (a child forked from Python would also count Python's own pages)."""
    if not os.access("/usr/bin/time", os.X_OK):
        return None
    out = os.path.join(cwd, "..", "peak_%s.txt" % os.path.basename(cwd))
    subprocess.run(["/usr/bin/time", "-f", "%M", "-o", out] + argv, cwd=cwd, check=True,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(out) as f:
        return int(f.read().split()[-1])


def clean(folder, keep):
    for name in os.listdir(folder):
        if name not in keep:
            os.remove(os.path.join(folder, name))


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
    print("%-20s %9s %9s %9s %7s %8s %9s" %
          ("roster", "MB", "zembic s", "cp s", "ratio", "MB/s", "peak MB"))
    try:
        for sub, name, label in ROSTERS:
            folder = os.path.join(top, sub)
            size = os.path.getsize(os.path.join(folder, name))
            run = [zembic, name, "-", "-", "-", "-", "-", SEED]
            zt, ct = [], []
            for _ in range(a.runs):
                clean(folder, {name, "zembic.cid"})
                zt.append(timed(run, folder))
                ct.append(timed(["cp", name, "copy_of_input"], folder))
            clean(folder, {name, "zembic.cid"})
            peak = peak_kib(run, folder)
            clean(folder, {name, "zembic.cid"})
            z, c = statistics.median(zt), statistics.median(ct)
            print("%-20s %9.1f %9.3f %9.3f %6.1fx %8.0f %9s" %
                  (label, size / 1e6, z, c, z / c, size / 1e6 / z,
                   "%.1f" % (peak / 1024) if peak else "(no time)"))
    finally:
        if not a.keep:
            shutil.rmtree(top)


main()

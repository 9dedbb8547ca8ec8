#!/usr/bin/env python3
"""Writes the largest legal rosters (232 students, rows near 100,000 bytes)
into the folder given as the only argument, one sub-folder per roster:

  canvas/zembic.csv      Canvas grade-book export, UTF-8, CR LF
  blackboard/gc.xls      Blackboard grade-center export, UTF-16LE with its
                         byte-order mark, tab-separated, CR LF
  text/roster.txt        plain text roster, one long line per student

Each folder also gets a zembic.cid so that a first run asks nothing."""
import os
import sys

STUDENTS = 232
ROWMAX = 100000          # the line buffer of the readers
TARGET = ROWMAX - 2000   # room for the added column and the longest grade

FIRST = ["Grace", "Diego", "Liam", "Mei", "Élodie", "Sven", "Jonas", "José",
         "Amelia", "Daria", "Mads", "Piotr", "Ewa", "Jürgen", "Thị Lan", "Siobhan"]
LAST = ["Abbott", "Álvarez", "Brennan", "Chen", "Dubois", "Eriksen", "Fischer",
        "García", "Hughes", "Ivanova", "Jensen", "Kowalski", "Łukasiewicz", "Müller"]


def grades(i, n):
    # Grade cells: numbers, empty cells and now and then a quoted comment.
    out = []
    for k in range(n):
        r = (i * 7919 + k * 104729) % 13
        if r == 0:
            out.append("")
        elif r == 1:
            out.append('"late, 1 day ""excused"""')
        else:
            out.append("%d.%02d" % (r * 7 % 101, (i + k) % 100))
    return out


def pad(prefix, cells, sep, quote):
    # Longer cells (comments in quotes) until the row text is near TARGET bytes.
    size = len((prefix + sep.join(cells)).encode())
    each = (TARGET - size) // len(cells)
    if each < 4:
        return cells
    words = "Good work, see page 12; redo task 3 ""next time"" "
    out = []
    for k, c in enumerate(cells):
        extra = words * (each // len(words) + 1)
        text = (c + " " + extra)[:each].replace('"', "") if quote else (c + " " + extra)[:each]
        out.append('"%s"' % text.replace('"', '""') if quote else text)
    return out


def fit(prefix, cells, sep):
    # As many cells as keep the row text below TARGET bytes of UTF-8.
    row, size = [], len(prefix.encode())
    for c in cells:
        size += len(c.encode()) + 1
        if size > TARGET:
            break
        row.append(c)
    return row


def name(i):
    return LAST[i % len(LAST)] + " " + str(i), FIRST[i % len(FIRST)]


def canvas(folder):
    ncol = 20000
    heads = ["Assignment %d (%d)" % (k + 1, 48000 + k) for k in range(ncol)]
    fixed = "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,Notes"
    heads = fit(fixed, heads, ",")
    n = len(heads)
    rows = [fixed + "," + ",".join(heads),
            "    Points Possible,,,,,,," + ",".join("10.00" for _ in range(n))]
    for i in range(STUDENTS):
        last, first = name(i)
        pre = '"%s, %s",%d,A%d,login%d,canvas1.example.edu,MATH 101 Section 01,' % (
            last, first, 10000 + i, 10000 + i, i)
        cells = pad(pre + ",", grades(i, n), ",", True)
        rows.append(pre + "," + ",".join(cells))
    with open(os.path.join(folder, "zembic.csv"), "wb") as f:
        f.write(("\r\n".join(rows) + "\r\n").encode())


def blackboard(folder):
    ncol = 20000
    fixed = ['"Last Name"', '"First Name"', '"Username"', '"Student ID"',
             '"Last Access"', '"Availability"']
    heads = ['"Test %d [Total Pts: 10 Score] |%d"' % (k + 1, 900000 + k) for k in range(ncol)]
    heads = fit("\t".join(fixed), heads, "\t")
    n = len(heads)
    rows = ["\t".join(fixed + heads)]
    for i in range(STUDENTS):
        last, first = name(i)
        pre = ['"%s"' % last, '"%s"' % first, '"user%d"' % i, '"%d"' % (20000 + i),
               '"2026-11-30 10:%02d:00"' % (i % 60), '"Available"']
        cells = pad("\t".join(pre) + "\t", [c.replace('"', '') for c in grades(i, n)], "\t", True)
        rows.append("\t".join(pre + cells))
    with open(os.path.join(folder, "gc.xls"), "wb") as f:
        f.write(("\r\n".join(rows) + "\r\n").encode("utf-16"))  # LE with mark here


def text(folder):
    lines = []
    for i in range(STUDENTS):
        last, first = name(i)
        line = "%s, %s: " % (last, first)
        words = ["Übung %d erledigt, résumé ok;" % k for k in range(20000)]
        line = line + " ".join(fit(line, words, " "))
        lines.append(line)
    with open(os.path.join(folder, "roster.txt"), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode())


def main():
    if sys.byteorder != "little":
        sys.exit("run this on a little-endian machine")
    top = sys.argv[1]
    for sub, make in (("canvas", canvas), ("blackboard", blackboard), ("text", text)):
        folder = os.path.join(top, sub)
        os.makedirs(folder, exist_ok=True)
        make(folder)
        with open(os.path.join(folder, "zembic.cid"), "w") as f:
            f.write(" 3\nf26\n")


main()

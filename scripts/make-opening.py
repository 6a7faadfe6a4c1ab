#!/usr/bin/env python3
"""Builds res/opening.txt, the opening names the program shows, from the shared opening table.

Each line of the output is the opening's moves in the canonical orientation (starting with F5),
a comma and its name: the Japanese name, or the English one where no Japanese name is known. The
file is code page 932 with CR LF line ends. The program names a record by the first line whose
moves begin the record's moves, so every line must come before any shorter line that begins it;
the table is kept in that order and this script refuses one that is not.

usage: scripts/make-opening.py [TABLE.tsv] [OUTPUT]
"""
import csv
import os
import re
import sys

top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
table = sys.argv[1] if len(sys.argv) > 1 else os.path.join(top, "..", "shared", "openings.tsv")
output = sys.argv[2] if len(sys.argv) > 2 else os.path.join(top, "res", "opening.txt")

with open(table, encoding="utf-8", newline="") as f:
    rows = list(csv.DictReader(f, delimiter="\t"))

lines = []
seen = []
for row in rows:
    moves = row["moves"].strip().upper()
    name = (row["japanese_name"] or row["english_name"]).strip()
    if not re.fullmatch(r"([A-H][1-8])+", moves) or not moves.startswith("F5"):
        sys.exit(f"{table}: moves {moves!r} are not contiguous pairs starting with F5")
    if not name or "\r" in name or "\n" in name:
        sys.exit(f"{table}: no usable name for {moves}")
    for earlier in seen:
        if moves.startswith(earlier) and len(moves) > len(earlier):
            sys.exit(f"{table}: {moves} comes after {earlier}, which begins it, and would never be named")
    seen.append(moves)
    lines.append(f"{moves},{name}\r\n")

with open(output, "wb") as f:
    f.write("".join(lines).encode("cp932"))
print(f"{output}: {len(lines)} openings")

#!/usr/bin/env python3
"""Makes text files of prose for the benchmarks, the same on every run.
Usage: make-files.py FOLDER COUNT BYTES [FOLDER COUNT BYTES]...
writes COUNT files FOLDER/fNNNN.txt of about BYTES each."""
import os
import random
import sys

random.seed(7)
WORDS = "the converter turns plain text into pages of a document with margins and lines that wrap".split()


def prose(size):
    out, line, total = [], [], 0
    while total < size:
        line.append(random.choice(WORDS))
        if random.random() < 0.08:
            text = " ".join(line) + "\n"
            out.append(text)
            total += len(text)
            line = []
    return "".join(out)


args = sys.argv[1:]
for folder, count, size in zip(args[0::3], args[1::3], args[2::3]):
    os.makedirs(folder, exist_ok=True)
    for i in range(int(count)):
        with open(f"{folder}/f{i:04}.txt", "w") as out:
            out.write(prose(int(size)))

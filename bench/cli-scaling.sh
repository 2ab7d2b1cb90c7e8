#!/usr/bin/env bash
# How quillary-convert scales with -j and what a file costs on its own. Prints the ratios that
# bench/README.md records. Usage: bench/cli-scaling.sh [build-dir]
# The files are made under $TMPDIR (default /tmp); TMPDIR=/dev/shm measures without a disk.
set -euo pipefail
build=${1:-build}
convert="$(cd "$build" && pwd)/cli/quillary-convert"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'PY'
import os, random, sys
work = sys.argv[1]
random.seed(7)
words = "the converter turns plain text into pages of a document with margins and lines that wrap".split()
def prose(size):
    out, line = [], []
    total = 0
    while total < size:
        w = random.choice(words)
        line.append(w)
        if random.random() < 0.08:
            s = " ".join(line) + "\n"; out.append(s); total += len(s); line = []
    return "".join(out)
os.makedirs(f"{work}/small"); os.makedirs(f"{work}/large")
with open(f"{work}/all-small.txt", "w") as concat:
    for i in range(1000):
        text = prose(2000)
        open(f"{work}/small/s{i:04}.txt", "w").write(text)
        concat.write(text)
for i in range(8):
    open(f"{work}/large/l{i}.txt", "w").write(prose(4_000_000))
PY

# The best of three runs, each into an output folder of its own that does not exist yet.
run=0
seconds() {
  local best="" start end took
  for _ in 1 2 3; do
    run=$((run + 1))
    sync # so that writing back earlier runs' files does not slow this one
    start=$(date +%s.%N); OUT="$work/out$run" "$@" >/dev/null 2>&1; end=$(date +%s.%N)
    took=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$took < $best" | bc -l)" = 1 ]; then best=$took; fi
  done
  echo "$best"
}
convert_to_out() { "$convert" -q -o "$OUT" "$@"; }
export -f convert_to_out 2>/dev/null || true
ratio() { echo "scale=2; $1 / $2" | bc -l; }

small_j1=$(seconds convert_to_out "$work"/small/*.txt)
small_j2=$(seconds convert_to_out -j 2 "$work"/small/*.txt)
large_j1=$(seconds convert_to_out "$work"/large/*.txt)
large_j2=$(seconds convert_to_out -j 2 "$work"/large/*.txt)
concat=$(seconds convert_to_out "$work/all-small.txt")
calls=$(seconds bash -c 'for f in "$0"/small/*.txt; do "$1" -q -o "$OUT" "$f"; done' "$work" "$convert")

echo "1000 small files: -j 1 ${small_j1} s, -j 2 ${small_j2} s, speed-up $(ratio "$small_j1" "$small_j2") (goal >= 1.7)"
echo "8 large files:    -j 1 ${large_j1} s, -j 2 ${large_j2} s, speed-up $(ratio "$large_j1" "$large_j2") (goal >= 1.7)"
echo "1000 small files in one call / their concatenation as one file: $(ratio "$small_j1" "$concat") (goal <= 3)"
echo "1000 calls of one file / one call of 1000 files: $(ratio "$calls" "$small_j1") (goal >= 4)"

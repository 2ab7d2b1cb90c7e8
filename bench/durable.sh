#!/usr/bin/env bash
# What flushing every PDF to disk costs quillary-convert on a real disk: each run against the
# same run under eatmydata (fsync made a no-op), alternating, so that both see the same load.
# Prints the medians and their ratio for 1,000 files of 2 KB and for 8 files of 4 MB, with the
# default number of jobs. With a second build (an earlier version), its runs alternate with
# them too and its median is set against this one's.
# Usage: bench/durable.sh [build-dir] [rounds] [earlier-build-dir]
# The files are made under $TMPDIR (default /var/tmp, which must be on the disk to measure).
set -euo pipefail
build=${1:-build}
rounds=${2:-7}
convert="$(cd "$build" && pwd)/cli/quillary-convert"
earlier=${3:+$(cd "$3" && pwd)/cli/quillary-convert}
work=$(mktemp -d "${TMPDIR:-/var/tmp}/durable.XXXXXX")
trap 'rm -rf "$work"' EXIT
df -T "$work" | tail -1 | awk '{print "file system: " $2}'

"$(dirname "$0")/make-files.py" "$work/small" 1000 2000 "$work/large" 8 4000000

run=0
# Seconds of one run into an output folder that does not exist yet; the folder is removed after.
one_run() {
  local start end
  run=$((run + 1))
  sync
  start=$(date +%s.%N)
  "$@" -q -o "$work/out$run" >/dev/null 2>&1
  end=$(date +%s.%N)
  rm -rf "$work/out$run"
  echo "$end - $start" | bc -l
}
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

measure() { # name, inputs...
  local name=$1; shift
  local flushed=() unflushed=() before=()
  for _ in $(seq "$rounds"); do
    flushed+=("$(one_run "$convert" "$@")")
    unflushed+=("$(one_run eatmydata "$convert" "$@")")
    if [ -n "$earlier" ]; then before+=("$(one_run "$earlier" "$@")"); fi
  done
  local f u b
  f=$(printf '%s\n' "${flushed[@]}" | median)
  u=$(printf '%s\n' "${unflushed[@]}" | median)
  printf '%s: flushed %.3f s, eatmydata %.3f s, ratio %.2f' "$name" "$f" "$u" "$(echo "$f / $u" | bc -l)"
  if [ -n "$earlier" ]; then
    b=$(printf '%s\n' "${before[@]}" | median)
    printf '; earlier build flushed %.3f s, this / earlier %.2f' "$b" "$(echo "$f / $b" | bc -l)"
  fi
  echo
}

measure "1000 files of 2 KB" "$work"/small/*.txt
measure "8 files of 4 MB" "$work"/large/*.txt

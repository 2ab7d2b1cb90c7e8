#!/usr/bin/env bash
# The window's run against quillary-convert (default jobs) on the same files, on the disk under
# $TMPDIR (default /var/tmp): the median seconds of 1,000 files of 2 KB over alternating runs,
# and the peak memory of one 50 MB file (the window's includes the pane it shows).
# Usage: bench/window-run.sh [build-dir] [rounds]
set -euo pipefail
build=${1:-build}
rounds=${2:-5}
convert="$(cd "$build" && pwd)/cli/quillary-convert"
window="$(cd "$build" && pwd)/bench/bench_window_run"
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d "${TMPDIR:-/var/tmp}/window-run.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$(dirname "$0")/make-files.py" "$work/small" 1000 2000 "$work/big" 1 50000000

# Each run writes new PDFs: replacing old ones costs ext4 more.
fresh() { rm -f "$work"/small/*.pdf "$work"/big/*.pdf; sync; }
seconds() { local start; start=$(date +%s.%N); "$@" >/dev/null 2>&1; echo "$(date +%s.%N) - $start" | bc -l; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

cli=() win=()
for _ in $(seq "$rounds"); do
  fresh; cli+=("$(seconds "$convert" -q "$work"/small/*.txt)")
  fresh; win+=("$("$window" "$work"/small/*.txt 2>/dev/null | awk '{print $1}')")
done
c=$(printf '%s\n' "${cli[@]}" | median)
w=$(printf '%s\n' "${win[@]}" | median)
printf '1000 files of 2 KB: window %.3f s, quillary-convert %.3f s, ratio %.2f\n' "$w" "$c" "$(echo "$w / $c" | bc -l)"

fresh
cli_peak=$( { /usr/bin/time -f '%M' "$convert" -q "$work/big/f0000.txt" >/dev/null; } 2>&1 | tail -1)
fresh
win_peak=$("$window" "$work/big/f0000.txt" 2>/dev/null | sed 's/.*peak \([0-9]*\) MB/\1/')
printf 'one file of 50 MB, peak memory: window %d MB, quillary-convert %d MB, ratio %.2f\n' \
  "$win_peak" "$((cli_peak / 1024))" "$(echo "$win_peak * 1024 / $cli_peak" | bc -l)"

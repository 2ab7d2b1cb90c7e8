#!/usr/bin/env bash
# Start-up time of the window program under Xvfb with openbox (warm: best and median of 11 runs,
# after one run that is not counted): from the process start until its window is mapped and
# viewable, and until it answers (Alt+H opens the Help menu's pop-up). The same figures for a bare
# Qt window with one menu (bare_window) are the floor on this machine. The program runs with
# --nologo, so the splash's 750 ms is not counted, and is closed normally after each run.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${RUNS:-11}
for tool in startup_timer bare_window; do
    [ -x "$build/bench/$tool" ] || { echo "startup.sh: $build/bench/$tool is missing (libxcb1-dev, then rebuild)" >&2; exit 1; }
done
work=$(mktemp -d)
# A desktop session's runtime folder lives in memory (/run/user/UID); /dev/shm stands in for it.
runtime=$(mktemp -d -p /dev/shm)
cp "$build/app/quillary" "$build/app/tips.txt" "$build/bench/bare_window" "$work/"
export TMPDIR=$work XDG_RUNTIME_DIR=$runtime HOME=$work QT_QPA_PLATFORM=xcb DISPLAY=:$((200 + RANDOM % 50))
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work" "$runtime"' EXIT
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
sleep 1; openbox >/dev/null 2>&1 & pids+=($!); sleep 1
cd "$work"
"$build/bench/startup_timer" --runs 1 ./quillary --nologo >/dev/null 2>&1 || true
"$build/bench/startup_timer" --runs "$runs" ./bare_window 2>/dev/null
"$build/bench/startup_timer" --runs "$runs" ./quillary --nologo 2>/dev/null

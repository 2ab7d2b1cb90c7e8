#!/usr/bin/env bash
# Start-up time of the window program under Xvfb with openbox (warm: best of 5 runs): from the
# process start until its window is mapped and visible (xdotool), and until the window answers
# (Alt+H opens the Help menu, whose pop-up window then appears).
set -euo pipefail
build=${1:-build}
work=$(mktemp -d)
cp "$build/app/quillary" "$build/app/tips.txt" "$work/"
export TMPDIR=$work XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb DISPLAY=:$((200 + RANDOM % 50))
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
sleep 1; openbox >/dev/null 2>&1 & pids+=($!); sleep 1
now() { date +%s%N; }
best_shown=999999; best_answer=999999
for _ in 1 2 3 4 5; do
    t0=$(now)
    "$work/quillary" --nologo >/dev/null 2>&1 & app=$!
    xdotool search --sync --onlyvisible --name '^Quillary 2.1$' >/dev/null
    t1=$(now)
    xdotool key alt+h
    until xdotool search --onlyvisible --class quillary 2>/dev/null | wc -l | grep -qv '^1$'; do sleep 0.002; done
    t2=$(now)
    kill "$app"; wait "$app" 2>/dev/null || true
    shown=$(( (t1 - t0) / 1000000 )); answer=$(( (t2 - t0) / 1000000 ))
    (( shown < best_shown )) && best_shown=$shown
    (( answer < best_answer )) && best_answer=$answer
done
echo "start-up: window shown after ${best_shown} ms, answering (Help menu open) after ${best_answer} ms (best of 5)"

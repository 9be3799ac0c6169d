#!/bin/bash
# Start-up time of the program on the demo data: from the moment the process is started
# to the main menu shown and ready (settings read, lists in their normal state, selected
# entries counted), under a private Xvfb. Prints each run and the median.
# Usage: tools/bench-startup.sh [BUILD_DIR] [RUNS]   (defaults: build, 7)
set -u
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
runs="${2:-7}"
program="$build/kormoplan"
windows="$build/kp-windowlist"
for f in "$program" "$windows"; do
    [ -x "$f" ] || { echo "not built: $f (run tools/build.sh)" >&2; exit 1; }
done
command -v Xvfb >/dev/null || { echo "Xvfb is not installed" >&2; exit 1; }
[ -d "$root/data/itog3" ] || { echo "no demo data in data/itog3" >&2; exit 1; }

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

display=81
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display}" ] && break
    sleep 0.1
done
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb KORMOPLAN_REPORT_SHOWN=1
# a runtime folder of its own: a copy the user has open would otherwise be brought up
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"

times=()
for run in $(seq "$runs"); do
    rm -rf "$work/run"
    mkdir -p "$work/run"
    cp -r "$root/data/itog3" "$work/run/itog3"
    start=$(date +%s%3N)
    (cd "$work/run" && exec "$program" 2>"$work/err") &
    pid=$!
    shown=""
    for _ in $(seq 300); do
        shown=$(sed -n 's/^kormoplan: menu shown \([0-9]*\)$/\1/p' "$work/err" 2>/dev/null)
        [ -n "$shown" ] && break
        sleep 0.02
    done
    if [ -z "$shown" ]; then
        echo "run $run: the menu did not appear" >&2
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        exit 1
    fi
    "$windows" --close "Кормоплан" >/dev/null
    wait "$pid"
    ms=$((shown - start))
    times+=("$ms")
    echo "run $run: $ms ms"
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
echo "start to shown main menu on the demo data: median $median ms over $runs runs"

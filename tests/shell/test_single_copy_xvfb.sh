#!/bin/bash
# One copy per user on a real X server: with the first copy's window under another
# program's window, a second start brings the first copy's window to the front and ends
# at once, without a window, a message or a crash marker of its own; the first copy then
# closes normally (markers gone, backup copy written). The other program is a copy that
# runs as another user would: with a runtime folder of its own.
# Usage: test_single_copy_xvfb.sh SOURCE_DIR BUILD_DIR
set -u
src="$1"
build="$2"
program="$build/kormoplan"
windows="$build/kp-windowlist"

if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed"
    exit 77
fi
for f in "$program" "$windows"; do
    [ -x "$f" ] || { echo "FAIL: $f not built"; exit 1; }
done

work="$(mktemp -d)"
xvfb_pid=""
pids=""
cleanup() {
    for pid in $pids $xvfb_pid; do
        kill "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# A display nobody uses, from :71 up.
display=71
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display}" ] && break
    sleep 0.1
done
[ -e "/tmp/.X11-unix/X${display}" ] || fail "Xvfb did not start on :$display"
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb KORMOPLAN_REPORT_SHOWN=1

# wait_for FILE TEXT: up to 60 s for TEXT to appear in FILE.
wait_for() {
    for _ in $(seq 600); do
        grep -qF "$2" "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}
# The ids of the visible main windows, topmost first.
main_windows() { "$windows" | sed -n 's/^\([0-9]*\)\t1\t0\tКормоплан$/\1/p'; }

# start NAME RUNTIME: a copy in its own working folder with the demo data.
start() {
    mkdir -p "$work/$1" "$work/$2"
    chmod 700 "$work/$2"
    [ -d "$work/$1/itog3" ] || cp -r "$src/data/itog3" "$work/$1/itog3"
    (cd "$work/$1" && XDG_RUNTIME_DIR="$work/$2" KORMOPLAN_MESSAGE_LOG="$work/$1.log" \
        exec "$program" 2>"$work/$1.err") &
    pids="$pids $!"
}

start first runtime
first_pid=$!
wait_for "$work/first.err" "menu shown" || fail "the first copy did not show its menu"
[ -s "$work/first.log" ] && fail "the first copy said: $(cat "$work/first.log")"
first_window="$(main_windows)"
[ -n "$first_window" ] || fail "no visible main window in the window list"

start other other-runtime
wait_for "$work/other.err" "menu shown" || fail "the other copy did not show its menu"
for _ in $(seq 100); do
    [ "$(main_windows | wc -l)" -eq 2 ] && break
    sleep 0.1
done
[ "$(main_windows | head -1)" != "$first_window" ] || fail "the other window is not on top"

start second runtime
second_pid=$!
for _ in $(seq 300); do
    kill -0 "$second_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$second_pid" 2>/dev/null && fail "the second start did not end"
wait "$second_pid" || fail "the second start ended with status $?"
grep -qF "Кормоплан уже запущен" "$work/second.err" || fail "second: $(cat "$work/second.err")"
grep -q "menu shown" "$work/second.err" && fail "the second copy showed its menu"
[ -s "$work/second.log" ] && fail "the second copy said: $(cat "$work/second.log")"
[ -e "$work/second/error1.err" ] && fail "the second copy went on to the crash markers"
for _ in $(seq 100); do
    [ "$(main_windows | head -1)" = "$first_window" ] && break
    sleep 0.1
done
[ "$(main_windows | head -1)" = "$first_window" ] || fail "the first copy was not brought up"

# Both copies close as by their close boxes: the close sequence runs.
[ -e "$work/first/error1.err" ] || fail "the first copy made no crash marker"
"$windows" --close "Кормоплан" || fail "could not ask the main windows to close"
for _ in $(seq 300); do
    kill -0 "$first_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$first_pid" 2>/dev/null && fail "the first copy did not end after its close"
wait "$first_pid" || fail "the first copy ended with status $?"
[ -e "$work/first/error1.err" ] && fail "the marker stayed after a normal close"
[ -f "$work/first/arhiv/arkk.dbf" ] || fail "no backup copy after the close"
ls "$work/first/itog3" | grep -q '2\.dbf$' && fail "a new archive file was left behind"
echo "PASS: a second start brings the running copy up under Xvfb on :$display"

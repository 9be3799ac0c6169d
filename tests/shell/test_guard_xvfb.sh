#!/bin/bash
# The guard against a second copy on a real X server: with one copy running, a second
# start shows the guard message, creates no main window and touches no marker; the
# first copy then closes normally (markers gone, backup copy written).
# Usage: test_guard_xvfb.sh SOURCE_DIR BUILD_DIR
set -u
src="$1"
build="$2"
program="$build/kormoplan"
windows="$build/kp-windowlist"

if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed"
    exit 0
fi
for f in "$program" "$windows"; do
    [ -x "$f" ] || { echo "FAIL: $f not built"; exit 1; }
done

work="$(mktemp -d)"
xvfb_pid=""
first_pid=""
second_pid=""
cleanup() {
    for pid in $second_pid $first_pid $xvfb_pid; do
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

# Two working folders, each with its own copy of the demo data.
for copy in first second; do
    mkdir -p "$work/$copy"
    if [ -d "$src/data/itog3" ]; then
        cp -r "$src/data/itog3" "$work/$copy/itog3"
    else
        "$build/make-demo-data" --source "$src/data/source" --out "$work/$copy/itog3" \
            >/dev/null || fail "no demo data"
    fi
done

# wait_for FILE TEXT: up to 20 s for TEXT to appear in FILE.
wait_for() {
    for _ in $(seq 200); do
        grep -qF "$2" "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

(cd "$work/first" && KORMOPLAN_MESSAGE_LOG="$work/first.log" exec "$program" 2>"$work/first.err") &
first_pid=$!
wait_for "$work/first.err" "menu shown" || fail "the first copy did not show its menu"
[ -s "$work/first.log" ] && fail "the first copy said: $(cat "$work/first.log")"
"$windows" | grep -qP '^\d+\t1\t0\tКормоплан$' || fail "no visible main window in the window list"

(cd "$work/second" && KORMOPLAN_MESSAGE_LOG="$work/second.log" exec "$program" 2>"$work/second.err") &
second_pid=$!
expected='Перед запуском этой программы необходимо закрыть программу "Кормоплан". Желательно закрыть и другие программы. Браузер, Оффис (Word, Excel), игры, антивирус и утилиты Windows (например, Диспетчер задач) закрывать не требуется.'
wait_for "$work/second.log" "Перед запуском" || fail "the second copy showed no guard message"
[ "$(cat "$work/second.log")" = "$expected" ] || fail "guard message differs: $(cat "$work/second.log")"
grep -q "menu shown" "$work/second.err" && fail "the second copy showed its menu"
[ -e "$work/second/error1.err" ] && fail "the second copy went on to the crash markers"
kill -0 "$second_pid" 2>/dev/null || fail "the second copy did not wait on its message"
kill "$second_pid"
wait "$second_pid" 2>/dev/null
second_pid=""

# The first copy closes as by its close box: the close sequence runs.
[ -e "$work/first/error1.err" ] || fail "the first copy made no crash marker"
"$windows" --close "Кормоплан" || fail "could not ask the main window to close"
for _ in $(seq 100); do
    kill -0 "$first_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$first_pid" 2>/dev/null && fail "the first copy did not end after its close"
wait "$first_pid"
status=$?
first_pid=""
[ "$status" -eq 0 ] || fail "the first copy ended with status $status"
[ -e "$work/first/error1.err" ] && fail "the marker stayed after a normal close"
[ -f "$work/first/arhiv/arkk.dbf" ] || fail "no backup copy after the close"
ls "$work/first/itog3" | grep -q '2\.dbf$' && fail "a new archive file was left behind"
echo "PASS: guard and close under Xvfb on :$display"

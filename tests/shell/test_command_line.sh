#!/bin/bash
# The command line on a terminal without a display: --help and --version of the program,
# --help of kormoplan-calc and dbfdump print and exit 0; a start without a display, or
# with one that does not answer, says so on stderr and exits 1 (not Qt's abort) before it
# touches any folder.
# Usage: test_command_line.sh SOURCE_DIR BUILD_DIR
set -u
src="$1"
build="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
version="$(sed -n 's/^project(kormoplan VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")"
[ -n "$version" ] || fail "no version in CMakeLists.txt"

absent=199
while [ -e "/tmp/.X11-unix/X$absent" ] || [ -e "/tmp/.X$absent-lock" ]; do
    absent=$((absent + 1))
done
mkdir -p "$work/cwd" "$work/home"

# expect STATUS STDOUT-TEXT STDERR-TEXT [VAR=VALUE...] COMMAND [ARG...]: run without a
# display or a chosen Qt platform, in an empty folder with an empty home; an empty text
# means that stream stays empty.
expect() {
    local status="$1" out="$2" err="$3"
    shift 3
    (cd "$work/cwd" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" \
        "$@" >"$work/out" 2>"$work/err")
    local got=$?
    [ "$got" -eq "$status" ] || fail "$*: exit $got, not $status ($(head -3 "$work/err"))"
    for stream in out err; do
        local text="$out"
        [ "$stream" = err ] && text="$err"
        if [ -z "$text" ]; then
            [ -s "$work/$stream" ] && fail "$*: std$stream: $(head -3 "$work/$stream")"
        else
            grep -qF -- "$text" "$work/$stream" || fail "$*: no \"$text\" on std$stream"
        fi
    done
    [ -z "$(find "$work/cwd" "$work/home" -mindepth 1)" ] || fail "$*: wrote files"
}

program="$build/kormoplan"
expect 0 "Использование: kormoplan [--workdir ПАПКА]" "" "$program" --help
expect 0 "Использование: kormoplan [--workdir ПАПКА]" "" "$program" -h
expect 0 "Использование: kormoplan [--workdir ПАПКА]" "" "$program" --workdir /nowhere --help
expect 0 "Кормоплан $version" "" "$program" --version
expect 0 "GPL-3.0-or-later" "" "$program" --version
expect 0 "Использование: kormoplan-calc --data КАТАЛОГ" "" "$build/kormoplan-calc" --help
expect 0 "Использование: dbfdump ФАЙЛ" "" "$build/dbfdump" --help
expect 1 "" "kormoplan: Нет графического дисплея" "$program"
expect 1 "" "kormoplan: Не удалось подключиться к дисплею :$absent" DISPLAY=":$absent" "$program"
expect 1 "" "Нет графического дисплея" QT_QPA_PLATFORM=xcb "$program" --workdir "$work/cwd"
echo "PASS: help, version and the start without a display"

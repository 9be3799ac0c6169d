#!/bin/bash
# The Debian package: built with cpack from the build folder, unpacked into a temporary
# root, its files and desktop entry checked, kormoplan-calc run on the shipped template,
# and the program started from "the menu" (HOME a fresh folder, the current directory
# elsewhere): the per-user folder is made with the template and the main window appears.
# Exits 77 (skipped) when dpkg-deb or dpkg-shlibdeps is missing.
# Usage: test_package.sh SOURCE_DIR BUILD_DIR
set -u
src="$1"
build="$2"
for tool in dpkg-deb dpkg-shlibdeps cpack; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work="$(mktemp -d)"
xvfb_pid=""
program_pid=""
cleanup() {
    for pid in $program_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

started=$(date +%s)
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(tail -5 "$work/cpack.log")"
deb="$(ls "$work"/out/kormoplan_*.deb 2>/dev/null | head -1)"
[ -f "$deb" ] || fail "no package was made"
echo "package $(basename "$deb"): $(stat -c %s "$deb") bytes, built in $(($(date +%s) - started)) s"

root="$work/root"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x"
dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6" || fail "no Qt dependency computed"
dpkg-deb -f "$deb" Depends | grep -q "qt6-qpa-plugins" || fail "no windowing plugin dependency"
share="$root/usr/share"
for f in usr/bin/kormoplan usr/bin/kormoplan-calc usr/bin/dbfdump \
         usr/share/applications/kormoplan.desktop \
         usr/share/icons/hicolor/scalable/apps/kormoplan.svg \
         usr/share/doc/kormoplan/copyright usr/share/doc/kormoplan/changelog.gz; do
    [ -f "$root/$f" ] || fail "$f is missing"
done
for f in "$src"/data/itog3/*; do
    cmp -s "$f" "$share/kormoplan/itog3/$(basename "$f")" || fail "template differs: $f"
done
[ "$(ls "$share/kormoplan/itog3" | grep -c '\.dbf$')" -eq 9 ] || fail "not nine tables"
[ "$(ls "$share/kormoplan/itog3" | grep -c '\.txt$')" -eq 9 ] ||
    fail "not the settings file and eight instruction texts"
desktop="$share/applications/kormoplan.desktop"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop entry is not valid"
else
    echo "note: desktop-file-validate is not installed; entry not validated"
fi
grep -qx 'Name=Кормоплан' "$desktop" || fail "desktop entry name"
grep -qx 'Categories=Office;Science;' "$desktop" || fail "desktop entry categories"
if command -v lintian >/dev/null; then
    lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
    grep '^E:' "$work/lintian.log" && fail "lintian reports errors"
    echo "lintian: $(grep -c '^W:' "$work/lintian.log") warnings, no errors"
fi

# The unpacked tools on the unpacked template; the template stays as it was.
"$root/usr/bin/kormoplan-calc" --data "$share/kormoplan/itog3" >"$work/calc.log" 2>&1 ||
    fail "kormoplan-calc: $(tail -3 "$work/calc.log")"
"$root/usr/bin/dbfdump" "$share/kormoplan/itog3/pit.dbf" | grep -q "^Цена" || fail "dbfdump"
for f in "$src"/data/itog3/*; do
    cmp -s "$f" "$share/kormoplan/itog3/$(basename "$f")" || fail "calculation changed $f"
done

if ! command -v Xvfb >/dev/null; then
    echo "PASS (the start from the menu skipped: Xvfb is not installed)"
    exit 0
fi
display=131
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

# wait_for FILE TEXT: up to 30 s for TEXT to appear in FILE.
wait_for() {
    for _ in $(seq 300); do
        grep -qF "$2" "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

home="$work/home"
elsewhere="$work/elsewhere"
mkdir -p "$home" "$elsewhere"
user_folder="$home/Documents/Кормоплан"
start_program() {
    (cd "$elsewhere" && exec env -u XDG_CONFIG_HOME -u XDG_DOCUMENTS_DIR HOME="$home" \
        DISPLAY=":$display" QT_QPA_PLATFORM=xcb KORMOPLAN_REPORT_SHOWN=1 \
        KORMOPLAN_MESSAGE_LOG="$work/$1.log" "$root/usr/bin/kormoplan" 2>"$work/$1.err") &
    program_pid=$!
}
close_program() {
    DISPLAY=":$display" "$build/kp-windowlist" --close "Кормоплан" || fail "could not close"
    for _ in $(seq 100); do
        kill -0 "$program_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$program_pid" 2>/dev/null && fail "the program did not end after its close"
    wait "$program_pid" || fail "the program ended with an error"
    program_pid=""
}

start_program first
wait_for "$work/first.log" "Данные программы находятся в папке" ||
    fail "no message where the data are: $(cat "$work/first.log" "$work/first.err")"
grep -qF "$user_folder" "$work/first.log" || fail "the message names another folder"
for f in "$src"/data/itog3/*; do
    cmp -s "$f" "$user_folder/itog3/$(basename "$f")" || fail "per-user copy differs: $f"
done
# The message is logged before its box is mapped: ask until a window took the request.
# Only the box can have it, as the main window is made after the box is closed.
for _ in $(seq 100); do
    DISPLAY=":$display" "$build/kp-windowlist" --close "Кормоплан" >/dev/null 2>&1 && break
    sleep 0.2
done
wait_for "$work/first.err" "menu shown" || fail "the main window did not appear"
[ -e "$user_folder/error1.err" ] || fail "no crash marker in the per-user folder"
DISPLAY=":$display" "$build/kp-windowlist" | grep -qP '^\d+\t1\t0\tКормоплан$' ||
    fail "no visible main window"
close_program
[ -f "$user_folder/arhiv/kk.dbf" ] || fail "no backup copy in the per-user folder"
[ -e "$user_folder/error1.err" ] && fail "the marker stayed after a normal close"
[ -z "$(ls -A "$elsewhere")" ] || fail "the program wrote into the current directory"

# The second start finds its folder and says nothing.
start_program second
wait_for "$work/second.err" "menu shown" || fail "the second start showed no main window"
[ -s "$work/second.log" ] && fail "the second start said: $(cat "$work/second.log")"
close_program
echo "PASS: package built, unpacked and started from the menu"

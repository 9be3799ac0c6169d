#!/bin/bash
# The Debian package: built with cpack from the build folder, unpacked into a temporary
# root, its files, manual pages, licence and desktop entry checked (lintian, where
# installed, without warnings), kormoplan-calc run on the shipped template,
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
         usr/share/icons/hicolor/48x48/apps/kormoplan.png \
         usr/share/doc/kormoplan/copyright usr/share/doc/kormoplan/changelog.gz; do
    [ -f "$root/$f" ] || fail "$f is missing"
done
# A manual page per command in English and Russian, which man reads without a warning.
for page in kormoplan kormoplan-calc dbfdump; do
    for dir in man1 ru/man1; do
        f="$root/usr/share/man/$dir/$page.1.gz"
        [ -f "$f" ] || fail "${f#"$root"} is missing"
        command -v man >/dev/null || continue
        LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$f" \
            2>&1 >/dev/null | grep . && fail "man warns about ${f#"$root"}"
    done
done
for f in "$src"/data/itog3/*; do
    cmp -s "$f" "$share/kormoplan/itog3/$(basename "$f")" || fail "template differs: $f"
done
[ "$(ls "$share/kormoplan/itog3" | grep -c '\.dbf$')" -eq 10 ] || fail "not ten tables"
[ "$(ls "$share/kormoplan/itog3" | grep -c '\.txt$')" -eq 9 ] ||
    fail "not the settings file and eight instruction texts"
desktop="$share/applications/kormoplan.desktop"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" >"$work/desktop.log" 2>&1 || fail "desktop entry is not valid"
    [ -s "$work/desktop.log" ] && fail "desktop-file-validate: $(cat "$work/desktop.log")"
else
    echo "note: desktop-file-validate is not installed; entry not validated"
fi
grep -qx 'License: GPL-3+' "$share/doc/kormoplan/copyright" || fail "copyright: not GPL-3+"
grep -qx 'Name=Кормоплан' "$desktop" || fail "desktop entry name"
grep -qx 'Categories=Office;' "$desktop" || fail "desktop entry categories"
if command -v lintian >/dev/null; then
    lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
    grep -E '^(E|W):' "$work/lintian.log" && fail "lintian reports errors or warnings"
    echo "lintian: no errors, no warnings"
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
# Every wait below polls its condition ten times a second up to a generous cap: on an idle
# machine each ends within moments, under the whole suite's load it still passes. A wait on
# the program fails at once when the program has ended meanwhile.
# wait_until CAP WHAT COMMAND...: until COMMAND succeeds; else fail with WHAT.
wait_until() {
    local cap="$1" what="$2"
    shift 2
    local deadline=$((SECONDS + cap))
    until "$@"; do
        [ "$SECONDS" -ge "$deadline" ] && fail "$what (waited $cap s)"
        sleep 0.1
    done
}
# wait_on_program CAP WHAT COMMAND...: the same while the started program runs.
wait_on_program() {
    local cap="$1" what="$2"
    shift 2
    wait_until "$cap" "$what" program_ended_or "$@"
    program_running || fail "$what: the program ended ($(tail -3 "$work"/*.err 2>/dev/null))"
}
program_running() { kill -0 "$program_pid" 2>/dev/null; }
program_ended() { ! program_running; }
program_ended_or() { program_ended || "$@"; }
log_has() { grep -qF "$2" "$1" 2>/dev/null; }
# The window list reads X11 only when Qt's platform is xcb; CTest runs us with offscreen.
windowlist() { DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$build/kp-windowlist" "$@"; }
# Asks the window titled "Кормоплан" to close; false while none is mapped.
close_request_taken() { windowlist --close "Кормоплан" >/dev/null 2>&1; }
main_window_visible() { windowlist | grep -qP '^\d+\t1\t0\tКормоплан$'; }
x_socket_ready() { [ -e "/tmp/.X11-unix/X${display}" ]; }
readonly program_cap=180

display=131
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_until 60 "Xvfb did not start on :$display" x_socket_ready

home="$work/home"
elsewhere="$work/elsewhere"
mkdir -p "$home" "$elsewhere"
user_folder="$home/Documents/Кормоплан"
# A runtime folder of its own, so that a copy running elsewhere is not taken for ours.
runtime="$work/runtime"
mkdir -m 700 "$runtime"
start_program() {
    (cd "$elsewhere" && exec env -u XDG_CONFIG_HOME -u XDG_DOCUMENTS_DIR HOME="$home" \
        XDG_RUNTIME_DIR="$runtime" \
        DISPLAY=":$display" QT_QPA_PLATFORM=xcb KORMOPLAN_REPORT_SHOWN=1 \
        KORMOPLAN_MESSAGE_LOG="$work/$1.log" "$root/usr/bin/kormoplan" 2>"$work/$1.err") &
    program_pid=$!
}
# The main window shown: the program reported its menu up and the window is mapped.
wait_for_main_window() {
    wait_on_program "$program_cap" "the main window did not appear" log_has "$work/$1.err" \
        "menu shown"
    wait_on_program "$program_cap" "no visible main window" main_window_visible
}
close_program() {
    wait_on_program "$program_cap" "could not close" close_request_taken
    wait_until "$program_cap" "the program did not end after its close" program_ended
    wait "$program_pid" || fail "the program ended with an error"
    program_pid=""
}

start_program first
wait_on_program "$program_cap" "no message where the data are" \
    log_has "$work/first.log" "Данные программы находятся в папке"
grep -qF "$user_folder" "$work/first.log" || fail "the message names another folder"
for f in "$src"/data/itog3/*; do
    cmp -s "$f" "$user_folder/itog3/$(basename "$f")" || fail "per-user copy differs: $f"
done
# The message is logged before its box is mapped: ask until a window took the request.
# Only the box can have it, as the main window is made after the box is closed.
wait_on_program "$program_cap" "no message box to close" close_request_taken
wait_for_main_window first
[ -e "$user_folder/error1.err" ] || fail "no crash marker in the per-user folder"
close_program
[ -f "$user_folder/arhiv/kk.dbf" ] || fail "no backup copy in the per-user folder"
[ -e "$user_folder/error1.err" ] && fail "the marker stayed after a normal close"
[ -z "$(ls -A "$elsewhere")" ] || fail "the program wrote into the current directory"

# The second start finds its folder and says nothing.
start_program second
wait_for_main_window second
[ -s "$work/second.log" ] && fail "the second start said: $(cat "$work/second.log")"
close_program
echo "PASS: package built, unpacked and started from the menu"

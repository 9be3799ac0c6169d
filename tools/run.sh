#!/bin/bash
# Installs what is missing, builds, and starts the program in run/, a working folder
# that gets a copy of the shipped demo data only when it has none of its own.
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
work="${KORMOPLAN_WORKDIR:-$root/run}"
mkdir -p "$work"
[ -d "$work/itog3" ] || cp -r "$root/data/itog3" "$work/itog3"
cd "$work"
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
    echo "Нет графического дисплея: программа запускается в виртуальном X-сервере (xvfb-run)."
    echo "No display: starting under xvfb-run; on a desktop run this command from a terminal there."
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$root/build/kormoplan"
fi
exec "$root/build/kormoplan"

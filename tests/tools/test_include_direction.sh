#!/bin/bash
# The includes between folders point one way: store, lp <- settings <- calc <- the other
# cores <- the shared widget pieces <- the windows <- the shell. A window library never
# includes another window library's header (the shell hands windows to each other), no
# core includes a window or widget header, and the shared widget pieces stand on the table
# layer and the settings alone, under every list and feature. Every offending include is
# named.
# Called with the source and build directories.
set -u
cd "$1" || exit 1
exec /usr/bin/python3 - <<'PY'
import pathlib, re, sys

# A folder may include its own headers and those of folders of a lower rank.
RANK = {
    "store": 0, "lp": 0, "platform": 1, "settings": 1, "calc": 2, "archive": 3, "lists": 3,
    "results": 4, "documents": 4, "maintenance": 4, "widgets": 5, "window": 6, "shell": 7,
}
WIDGETS_STAND_ON = {"store", "settings", "platform"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z]+)/(?:(window)/)?[^"]+"', re.M)

def layer(folder, window):
    return "window" if window else folder

faults = []
for path in sorted(pathlib.Path(".").glob("*/**/*")):
    parts = path.parts
    if path.suffix not in (".cpp", ".h") or parts[0] in ("build", "tests", "tools", "data"):
        continue
    folder, window = parts[0], len(parts) > 2 and parts[1] == "window"
    if folder not in RANK:
        continue
    own = layer(folder, window)
    for target, targetWindow in INCLUDE.findall(path.read_text(encoding="utf-8")):
        if target not in RANK:
            continue
        theirs = layer(target, targetWindow)
        if target == folder and (window or not targetWindow):
            continue  # its own folder, or a window over its own core
        if folder == "widgets" and target not in WIDGETS_STAND_ON:
            faults.append(f"{path}: the shared widgets include {target}/")
        elif window and targetWindow:
            faults.append(f"{path}: includes another window's header {target}/window/")
        elif RANK[theirs] >= RANK[own]:
            faults.append(f"{path}: {own} includes {theirs} ({target}/"
                          f"{'window/' if targetWindow else ''}...)")
for fault in faults:
    print(fault)
sys.exit(1 if faults else 0)
PY

#!/bin/bash
# Every C++ source keeps the repository's .clang-format layout (clang-format --dry-run
# -Werror); a file that does not is named with the lines to change.
# Called with the source and build directories.
set -u
root="$1"
if ! command -v clang-format >/dev/null; then
    echo "clang-format is not installed (tools/install-deps.sh installs it)" >&2
    exit 1
fi
cd "$root" || exit 1
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
existing=()
for f in "${files[@]}"; do
    [ -f "$f" ] && existing+=("$f")
done
[ ${#existing[@]} -gt 0 ] || { echo "no sources found under $root" >&2; exit 1; }
clang-format --dry-run -Werror "${existing[@]}"

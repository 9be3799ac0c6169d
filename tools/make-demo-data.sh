#!/bin/bash
# Regenerates the shipped data directory data/itog3 from data/source.
# Usage: tools/make-demo-data.sh [build-dir]   (default: build)
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target make-demo-data -j2
"$build/make-demo-data" --source "$root/data/source" --out "$root/data/itog3"

#!/bin/bash
# The committed data/itog3 is what make-demo-data builds from data/source today:
# a change to the sources that was not regenerated fails here.
# (The .dbf header's date of last change, bytes 2-4, is left out of the comparison.)
set -e
src="$1"; build="$2"
tool="$build/make-demo-data"
[ -x "$tool" ] || { echo "make-demo-data is not built"; exit 1; }
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
"$tool" --source "$src/data/source" --out "$out/itog3" >/dev/null
status=0
for f in "$out"/itog3/*; do
  name="$(basename "$f")"
  shipped="$src/data/itog3/$name"
  if [ ! -f "$shipped" ]; then echo "missing in data/itog3: $name"; status=1; continue; fi
  skip=0; [[ "$name" == *.dbf ]] && skip=4
  if ! cmp -s <(tail -c +$((skip + 1)) "$f") <(tail -c +$((skip + 1)) "$shipped"); then
    echo "out of date: data/itog3/$name (run tools/make-demo-data.sh)"; status=1
  fi
done
for f in "$src"/data/itog3/*; do
  [ -e "$out/itog3/$(basename "$f")" ] || { echo "not generated: $(basename "$f")"; status=1; }
done
exit $status

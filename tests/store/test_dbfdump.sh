#!/bin/bash
# dbfdump on damaged tables: the reason on stderr and a non-zero exit; a number field
# that holds no number printed as it stands, named on stderr, exit 3.
# Called as: bash test_dbfdump.sh SOURCE_DIR BUILD_DIR
set -uo pipefail

BUILD_DIR=${2:?build directory}
DUMP="$BUILD_DIR/dbfdump"
PYTHON=/usr/bin/python3
[ -x "$DUMP" ] || { echo "FAIL: $DUMP is not built (target dbfdump)"; exit 1; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0

# The sample table: NAIM C(30), VES N(10,3), order N(4), ot C(1), FLAG L(1); header of
# 32 + 5 * 32 + 1 = 193 bytes, records of 47 bytes, the first VES at byte 224.
"$DUMP" --sample "$WORK/good.dbf" || { echo "FAIL: no sample table"; exit 1; }

# damage NAME PYTHON-STATEMENT: a copy of the sample changed by the statement (on b)
damage() {
    "$PYTHON" - "$WORK/good.dbf" "$WORK/$1.dbf" "$2" <<'PY'
import sys
b = bytearray(open(sys.argv[1], 'rb').read())
exec(sys.argv[3])
open(sys.argv[2], 'wb').write(bytes(b))
PY
}

# expect NAME STATUS TEXT-ON-STDERR [TEXT-ON-STDOUT]
expect() {
    local out err status
    out=$("$DUMP" "$WORK/$1.dbf" 2>"$WORK/err"); status=$?
    err=$(cat "$WORK/err")
    if [ "$status" != "$2" ] || [[ "$err" != *"$3"* ]] || [[ "$out" != *"${4:-}"* ]]; then
        echo "FAIL: $1: exit $status (want $2), stderr: $err"
        echo "stdout: $out"
        failures=$((failures + 1))
    else
        echo "ok: $1 (exit $status) ${err:0:110}"
    fi
}

cp "$WORK/good.dbf" "$WORK/whole.dbf"
expect whole 0 "" "Мука пшеничная|12.5|1|+|true"
damage truncated 'del b[300:]'
expect truncated 1 "повреждена: в заголовке 3 записей, а в файле только 2"
damage header-plus-one 'b[8] += 1'
expect header-plus-one 1 "длина заголовка 194 байт, а описаниям полей нужно 193"
damage count-below 'b[4] = 2'
expect count-below 1 "в заголовке 2 записей, а в файле 3"
damage deletion-mark 'b[193] = ord("x")'
expect deletion-mark 1 "запись 1: неверный признак удаления"
damage stars 'b[224:234] = b"**********"'
expect stars 3 "запись 1, поле VES: число не читается: «**********»" "Мука пшеничная|**********|1"
damage thousands 'b[224:234] = b"    15 000"'
expect thousands 3 "поле VES: число не читается: «15 000»" "Мука пшеничная|15 000|1"
damage comma 'b[224+47:234+47] = b"    15,000"'
expect comma 3 "запись 2, поле VES" "Ячмень ёлочный|15,000|2"

[ "$failures" = 0 ] || exit 1
echo "dbfdump reports damaged tables and unreadable numbers: ok"

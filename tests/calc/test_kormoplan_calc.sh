#!/bin/bash
# kormoplan-calc on the demo data directory: a feasible programme, the JSON keys, the
# exported programme solved by glpsol to the same optimum, both rules of the solver, the
# data directory left untouched, exit statuses, and changed copies of the data (errors, an unattainable
# requirement relaxed in the cost mode and analysed in the proportional mode).
# Called as: bash test_kormoplan_calc.sh SOURCE_DIR BUILD_DIR
set -euo pipefail

SOURCE_DIR=${1:?source directory}
BUILD_DIR=${2:?build directory}
TOOL="$BUILD_DIR/kormoplan-calc"
DATA="$SOURCE_DIR/data/itog3"
PYTHON=/usr/bin/python3

fail() { echo "FAIL: $*"; exit 1; }
[ -x "$TOOL" ] || fail "$TOOL is not built (target kormoplan-calc)"
[ -d "$DATA" ] || fail "no demo data in $DATA"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
before=$(cd "$DATA" && find . -type f -exec sha256sum {} + | sort)

# Text as the window shows it; exit 0 for a solution.
"$TOOL" --data "$DATA" > "$WORK/text.txt" || fail "demo programme: exit $?"
head -1 "$WORK/text.txt" | grep -q '^Решение получено!    Общие затраты сырья  ' \
    || fail "summary title: $(head -1 "$WORK/text.txt")"

# JSON with exactly the agreed keys; every recipe adds up; the export solves the same.
"$TOOL" --data "$DATA" --json --export-lp "$WORK/first.lp" > "$WORK/out.json"
glpsol --lp "$WORK/first.lp" -o "$WORK/glpk.txt" > /dev/null || fail "glpsol could not read the export"
"$PYTHON" - "$WORK/out.json" "$WORK/glpk.txt" <<'PY'
import json, re, sys
d = json.load(open(sys.argv[1]))
keys = {'outcome', 'solveStatus', 'objective', 'diagnostics', 'feeds', 'raws',
        'totalConsumption', 'totalCost', 'attempts', 'relaxation', 'messages', 'pivots',
        'flips', 'sensitivity'}
assert set(d) == keys, sorted(set(d) ^ keys)
assert d['outcome'] == 'solution' and d['solveStatus'] == 0, d['outcome']
assert d['attempts'] == 1 and d['relaxation'] == [] and d['messages'] == []
for f in d['feeds']:
    assert set(f) == {'number', 'type', 'output', 'recipe', 'levels'}
    assert abs(sum(r['percent'] for r in f['recipe']) - 100) < 1e-9, f['type']
    assert abs(sum(r['tonnes'] for r in f['recipe']) - f['output']) < 1e-9, f['type']
    for r in f['recipe']:
        assert set(r) == {'raw', 'percent', 'tonnes', 'withLosses'}
    for l in f['levels']:
        assert set(l) == {'characteristic', 'min', 'max', 'value'}
        assert l['min'] - 1e-6 <= l['value'] <= l['max'] + 1e-6, (f['type'], l)
for r in d['raws']:
    assert set(r) == {'number', 'name', 'stock', 'consumption', 'price', 'cost'}
    # the recipe figures are rounded to kilograms per component: a few over at most
    assert r['consumption'] <= r['stock'] + 0.01, r
# the margins of the optimum, in exactly the agreed shape; an open end is null
sens = d['sensitivity']
assert set(sens) == {'degenerate', 'alternativeOptima', 'requirements', 'prices',
                     'stock'}, sorted(sens)
assert isinstance(sens['degenerate'], bool) and isinstance(sens['alternativeOptima'], bool)
numbers = {f['number'] for f in d['feeds']}
def end(v): return v is None or isinstance(v, (int, float))
for q in sens['requirements']:
    assert set(q) == {'feed', 'characteristic', 'side', 'norm', 'shadowPrice', 'normFrom',
                      'normTo'}, q
    assert q['feed'] in numbers and q['side'] in ('min', 'max'), q
    assert end(q['normFrom']) and end(q['normTo']), q
    # a minimum costs, a maximum saves when it widens
    assert (q['shadowPrice'] >= -1e-9) == (q['side'] == 'min') or abs(q['shadowPrice']) < 1e-9, q
assert sens['requirements'], 'no norm holds the demo recipes'
assert [p['raw'] for p in sens['prices']] == [r['number'] for r in d['raws']]
for p in sens['prices']:
    assert set(p) == {'raw', 'name', 'price', 'priceFrom', 'priceTo', 'feeds'}, p
    assert end(p['priceFrom']) and end(p['priceTo']) and set(p['feeds']) <= numbers, p
    assert p['priceFrom'] is None or p['priceFrom'] <= p['price'] + 1e-6, p
    assert p['priceTo'] is None or p['priceTo'] >= p['price'] - 1e-6, p
for s in sens['stock']:
    assert set(s) == {'raw', 'name', 'stock', 'valuePerTonne', 'stockFrom', 'stockTo'}, s
    assert end(s['stockFrom']) and end(s['stockTo']), s
glpk = float(re.search(r'Objective:\s+obj = (\S+)', open(sys.argv[2]).read()).group(1))
assert abs(glpk - d['objective']) <= 1e-6 * abs(glpk), (glpk, d['objective'])
print('demo: %d feed types, cost %.2f, %d pivots' % (len(d['feeds']), d['objective'], d['pivots']))
PY

# Both rules of the solver on the demo data: the same cost for every feed type.
for rules in described textbook; do
    "$TOOL" --data "$DATA" --json --rules $rules > "$WORK/$rules.json" || fail "--rules $rules: exit $?"
done
"$PYTHON" - "$WORK/described.json" "$WORK/textbook.json" <<'PY'
import json, sys
def costs(d):
    price = {r['name']: r['price'] for r in d['raws']}
    return [sum(r['tonnes'] * price[r['raw']] for r in f['recipe']) for f in d['feeds']]
described, textbook = (json.load(open(name)) for name in sys.argv[1:])
assert described['outcome'] == textbook['outcome'] == 'solution'
assert textbook['pivots'] < described['pivots'], (textbook['pivots'], described['pivots'])
for a, b in zip(costs(described), costs(textbook), strict=True):
    assert abs(a - b) <= 1e-9 * abs(a), (a, b)
PY

after=$(cd "$DATA" && find . -type f -exec sha256sum {} + | sort)
[ "$before" = "$after" ] || fail "the data directory changed"

# Bad usage and unreadable data: exit 2 with a message.
set +e
"$TOOL" > /dev/null 2> "$WORK/err.txt"; [ $? -eq 2 ] || fail "no arguments: not exit 2"
"$TOOL" --data "$DATA" --mode fastest > /dev/null 2>&1; [ $? -eq 2 ] || fail "bad mode: not exit 2"
"$TOOL" --data "$DATA" --rules fast > /dev/null 2> "$WORK/err.txt"; [ $? -eq 2 ] || fail "bad rules: not exit 2"
grep -q 'Неизвестные правила: fast' "$WORK/err.txt" || fail "bad rules message"
"$TOOL" --data "$WORK/none" > /dev/null 2> "$WORK/err.txt"; [ $? -eq 2 ] || fail "missing dir: not exit 2"
grep -q 'Каталог данных не найден' "$WORK/err.txt" || fail "missing dir message"
set -e

# A damaged table and a short settings file: the message names the folder given, never
# the temporary copy the run works on.
for broken in kk.dbf cons.txt; do
    rm -rf "$WORK/damaged"; cp -r "$DATA" "$WORK/damaged"
    truncate -s 100 "$WORK/damaged/$broken"
    set +e
    "$TOOL" --data "$WORK/damaged/" > /dev/null 2> "$WORK/err.txt"; status=$?
    set -e
    [ $status -eq 2 ] || fail "damaged $broken: exit $status"
    grep -qF "$WORK/damaged/$broken" "$WORK/err.txt" || fail "damaged $broken: $(cat "$WORK/err.txt")"
    ! grep -q 'kormoplan-calc-' "$WORK/err.txt" || fail "the temporary copy is named"
done

# Changed copies: an output of 0 t is an error; protein of 60 % for the first feed type
# is relaxed in the cost mode and analysed in the proportional mode.
change() { # copy, field, value (for the first selected feed type)
    rm -rf "$WORK/$1"; cp -r "$DATA" "$WORK/$1"
    "$PYTHON" - "$WORK/$1/kk.dbf" "$2" "$3" "$4" "$5" <<'PY'
import dbf, sys
table = dbf.Table(sys.argv[1]); table.open(dbf.READ_WRITE)
first = min((r for r in table if r.ot.strip() == '+'), key=lambda r: r.order)
with first:
    for k in range(2, len(sys.argv), 2):
        setattr(first, sys.argv[k], float(sys.argv[k + 1]))
table.close()
PY
}
change zero ves 0 ves 0
set +e
"$TOOL" --data "$WORK/zero" > "$WORK/zero.txt"; status=$?
set -e
[ $status -eq 1 ] || fail "errors: exit $status"
head -1 "$WORK/zero.txt" | grep -qx 'Ошибки подготовки исходных данных' || fail "error list title"
grep -q '^Требуемый вес продукта № 1 - ПК-5  .* - не указан\.$' "$WORK/zero.txt" || fail "M4 line"

change protein mi6 60 ma6 70
"$TOOL" --data "$WORK/protein" --json > "$WORK/relaxed.json" || fail "relaxed programme: exit $?"
"$PYTHON" - "$WORK/relaxed.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
assert d['outcome'] == 'solution', d['outcome']
shares = [r['share'] for r in d['relaxation']]
# one requirement at a time, by 0.05 a step: one attempt more than the steps taken
assert shares and d['attempts'] == round(sum(shares) / 0.05) + 1, (shares, d['attempts'])
PY
set +e
"$TOOL" --data "$WORK/protein" --mode proportional > "$WORK/analysis.txt"; status=$?
set -e
[ $status -eq 1 ] || fail "failure analysis: exit $status"
head -1 "$WORK/analysis.txt" | grep -qx 'Комбикорм № 1 типа ПК-5 не получается. Вес набран.' \
    || fail "analysis title: $(head -1 "$WORK/analysis.txt")"
grep -q '^Сырой протеин *! меньше минимума *!' "$WORK/analysis.txt" || fail "protein row"
# A requirement no data can meet: characteristic 23 of the fifth feed type at most 0.04
# (minimum 0.01, no maximum). It is widened on its own up to a share of 1.0, and then
# the run ends with the analysis of that row instead of widening for ever.
rm -rf "$WORK/unmeetable"; cp -r "$DATA" "$WORK/unmeetable"
"$PYTHON" - "$WORK/unmeetable/kk.dbf" <<'PY'
import dbf, sys
table = dbf.Table(sys.argv[1]); table.open(dbf.READ_WRITE)
with table[4] as record:
    record.mi23 = 0.01
    record.ma23 = 0
table.close()
PY
set +e
"$TOOL" --data "$WORK/unmeetable" --json > "$WORK/unmeetable.json"; status=$?
set -e
[ $status -eq 1 ] || fail "unmeetable requirement: exit $status"
"$PYTHON" - "$WORK/unmeetable.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
assert d['outcome'] == 'failure-analysis', d['outcome']
assert d['sensitivity'] is None  # no optimum, no margins
row = -d['solveStatus']
shares = {r['row']: r['share'] for r in d['relaxation']}
assert shares.get(row) == 1, (row, d['relaxation'])
# one requirement alone, 0.05 a step: twenty widenings, one attempt more
assert d['attempts'] <= 21, d['attempts']
PY

# The demo ratios are switched off: the report is the one of data without ratio.dbf, byte
# for byte. Calcium to available phosphorus switched on for the first feed type binds,
# and shows in its recipe and in the margins.
rm -rf "$WORK/noratio"; cp -r "$DATA" "$WORK/noratio"; rm "$WORK/noratio/ratio.dbf"
"$TOOL" --data "$WORK/noratio" --json | sed "s|$WORK/noratio|DATA|g" > "$WORK/noratio.json"
sed "s|$DATA|DATA|g" "$WORK/out.json" | cmp -s - "$WORK/noratio.json" \
    || fail "the demo report changed with the ratios switched off"
rm -rf "$WORK/capratio"; cp -r "$DATA" "$WORK/capratio"
"$PYTHON" - "$WORK/capratio/ratio.dbf" <<'PY'
import dbf, sys
table = dbf.Table(sys.argv[1]); table.open(dbf.READ_WRITE)
with table[0] as record:  # ПК-5, Кальций / Фосфор доступный, 1.9 ... 2.2
    record.on = '+'
table.close()
PY
"$TOOL" --data "$WORK/capratio" --json > "$WORK/capratio.json" || fail "Ca/P: exit $?"
"$PYTHON" - "$WORK/out.json" "$WORK/capratio.json" <<'PY'
import json, sys
plain, ratio = (json.load(open(f)) for f in sys.argv[1:])
first = ratio['feeds'][0]
assert [set(f) for f in ratio['feeds'][1:]] == [set(f) for f in plain['feeds'][1:]]
(r,) = first['ratios']
assert set(r) == {'numerator', 'denominator', 'min', 'max', 'level', 'state'}, r
assert (r['numerator'], r['denominator']) == ('Кальций', 'Фосфор доступный'), r
assert 1.9 - 1e-9 <= r['level'] <= 2.2 + 1e-9, r
assert ratio['objective'] >= plain['objective'] - 1e-6
for f in ratio['sensitivity']['ratios']:
    assert set(f) == {'feed', 'ratio', 'side', 'bound', 'shadowPrice', 'boundFrom', 'boundTo'}
print('Ca/P on for %s: %s %.4f, cost %.2f -> %.2f' % (first['type'], r['state'], r['level'],
      plain['objective'], ratio['objective']))
PY

# Numbers no table of the program holds (written as text straight into the field, as a
# foreign or damaged table may have them): refused by the data checks, naming the raw
# material or feed type and the field, before any solve; no amount is garbage.
huge() { # copy, table, record index, field, text
    rm -rf "$WORK/$1"; cp -r "$DATA" "$WORK/$1"
    "$PYTHON" - "$WORK/$1/$2" "$3" "$4" "$5" <<'PY'
import struct, sys
path, index, name, text = sys.argv[1], int(sys.argv[2]), sys.argv[3].upper(), sys.argv[4]
data = bytearray(open(path, 'rb').read())
header, record = struct.unpack_from('<HH', data, 8)
offset, at = 1, 32
while data[at] != 0x0D:
    field = data[at:at + 11].split(b'\0')[0].decode().upper()
    width = data[at + 16]
    if field == name:
        start = header + index * record + offset
        data[start:start + width] = text.rjust(width).encode()
        break
    offset += width
    at += 32
else:
    sys.exit('no field ' + name)
open(path, 'wb').write(data)
PY
}
check_huge() { # copy, expected line (a grep pattern)
    set +e
    "$TOOL" --data "$WORK/$1" > "$WORK/$1.txt"; status=$?
    set -e
    [ $status -eq 1 ] || fail "$1: exit $status"
    head -1 "$WORK/$1.txt" | grep -qx 'Ошибки подготовки исходных данных' || fail "$1: not refused"
    grep -q "$2" "$WORK/$1.txt" || fail "$1: $(cat "$WORK/$1.txt")"
    ! grep -q -- '-9223372036854775808' "$WORK/$1.txt" || fail "$1: an amount overflowed"
}
first_selected() { # table: the record index of the first selected entry in list order
    "$PYTHON" - "$WORK/$1" <<'PY'
import dbf, sys
table = dbf.Table(sys.argv[1]); table.open()
rows = [(r.order, i) for i, r in enumerate(table) if r.ot.strip() == '+']
print(min(rows)[1])
table.close()
PY
}
cp "$DATA/sir.dbf" "$WORK/sir.dbf"; cp "$DATA/kk.dbf" "$WORK/kk.dbf"
raw=$(first_selected sir.dbf); feed=$(first_selected kk.dbf)
huge stock sir.dbf "$raw" ves 1e308
check_huge stock '^Сырье № 1  .* -  Наличие (VES): число 1e+308 слишком велико'
huge content sir.dbf "$raw" mi2 -1e15
check_huge content '^Сырье № 1  .* (MI2): число -1e+15 слишком велико'
huge output kk.dbf "$feed" ves 1e300
check_huge output '^Продукт № 1 - ПК-5  .* -  Выработка (VES): число 1e+300 слишком велико'
huge norm kk.dbf "$feed" mi2 5e20
check_huge norm '^Продукт № 1 - ПК-5  .* -  Минимум требований по характеристике .* (MI2): число 5e+20'

# Data the program refuses at its start are refused here too, before any run: exit 2
# with the file and the field named (the folder given, never the temporary copy).
refused() { # copy, table, record index, field, text
    huge "$1" "$2" "$3" "$4" "$5"
    set +e
    "$TOOL" --data "$WORK/$1" > "$WORK/$1.txt" 2> "$WORK/$1.err"; status=$?
    set -e
    [ $status -eq 2 ] || fail "$1: exit $status: $(head -1 "$WORK/$1.txt")"
    grep -qF "$WORK/$1/$2" "$WORK/$1.err" && grep -qF "поле $4" "$WORK/$1.err" \
        || fail "$1: $(cat "$WORK/$1.err")"
}
refused no-characteristics order.dbf 0 pit 0
refused level-order pit.dbf 0 order nan
refused limit-key norm.dbf 116 kods 1e-3
refused premix-order sir.dbf 38 order 1e-3

echo "kormoplan-calc: ok"

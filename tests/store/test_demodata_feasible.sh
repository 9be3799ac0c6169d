#!/bin/bash
# The shipped demo programme computes out of the box: a least-cost run on data/itog3
# finds a solution at the first attempt, without relaxing any requirement, and every
# selected feed type gets a recipe of several raw materials adding up to 100 %.
set -e
src="$1"; build="$2"
calc="$build/kormoplan-calc"
[ -x "$calc" ] || { echo "kormoplan-calc is not built"; exit 1; }
"$calc" --data "$src/data/itog3" --json | /usr/bin/python3 -c '
import json, sys
run = json.load(sys.stdin)
assert run["outcome"] == "solution", run["outcome"]
assert run["attempts"] == 1 and not run["relaxation"], "requirements were relaxed"
for feed in run["feeds"]:
    used = [line for line in feed["recipe"] if line["percent"] > 0]
    total = sum(line["percent"] for line in feed["recipe"])
    assert len(used) >= 6, (feed["type"], len(used))
    assert abs(total - 100) < 0.011, (feed["type"], total)
print(len(run["feeds"]), "feed types, cost", run["totalCost"])
'

#!/usr/bin/python3
"""HiGHS beside the engine: solves a free MPS file as the engine exports it with
scipy.optimize.linprog(method='highs') and prints one line of JSON: status (0 optimal,
2 infeasible, as linprog counts), cost, simplex iterations and the solve's seconds (the
call to linprog only). A bench tool only (python3-scipy)."""

import json
import sys
import time

import numpy as np
from scipy.optimize import linprog
from scipy.sparse import csr_matrix, vstack


def read_mps(path):
    rows, kinds, costs = {}, [], {}
    columns, entries = {}, []
    rhs, ranges, lower, upper = {}, {}, {}, {}
    section = None
    with open(path) as mps:
        for line in mps:
            if not line.strip():
                continue
            if not line[0].isspace():
                section = line.split()[0]
                continue
            f = line.split()
            if section == 'ROWS':
                if f[0] != 'N':
                    rows[f[1]] = len(kinds)
                    kinds.append(f[0])
            elif section == 'COLUMNS':
                j = columns.setdefault(f[0], len(columns))
                for name, value in zip(f[1::2], f[2::2]):
                    if name == 'obj':
                        costs[j] = float(value)
                    else:
                        entries.append((rows[name], j, float(value)))
            elif section == 'RHS':
                rhs[rows[f[1]]] = float(f[2])
            elif section == 'RANGES':
                ranges[rows[f[1]]] = float(f[2])
            elif section == 'BOUNDS':
                j = columns[f[2]]
                (lower if f[0] == 'LO' else upper)[j] = float(f[3])
    m, n = len(kinds), len(columns)
    lo, hi = np.full(m, -np.inf), np.full(m, np.inf)
    for i, kind in enumerate(kinds):
        b = rhs.get(i, 0.0)
        if kind == 'E':
            lo[i] = hi[i] = b
        elif kind == 'G':
            lo[i] = b
            if i in ranges:
                hi[i] = b + abs(ranges[i])
        else:
            hi[i] = b
            if i in ranges:
                lo[i] = b - abs(ranges[i])
    r, c, v = zip(*entries) if entries else ((), (), ())
    a = csr_matrix((v, (r, c)), shape=(m, n))
    cost = np.array([costs.get(j, 0.0) for j in range(n)])
    bounds = [(lower.get(j, 0.0), upper.get(j, None)) for j in range(n)]
    return a, lo, hi, cost, bounds


def main():
    a, lo, hi, cost, bounds = read_mps(sys.argv[1])
    equal = lo == hi
    below = ~equal & np.isfinite(hi)
    above = ~equal & np.isfinite(lo)
    started = time.perf_counter()
    result = linprog(cost,
                     A_ub=vstack([a[below], -a[above]]),
                     b_ub=np.concatenate([hi[below], -lo[above]]),
                     A_eq=a[equal], b_eq=lo[equal], bounds=bounds, method='highs')
    seconds = time.perf_counter() - started
    print(json.dumps({'status': int(result.status), 'cost': float(result.fun)
                      if result.fun is not None else None, 'iterations': int(result.nit),
                      'seconds': seconds}))


if __name__ == '__main__':
    main()

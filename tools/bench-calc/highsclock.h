#pragma once

// HiGHS on an exported programme, through scipy.optimize.linprog(method='highs') in the
// Python tool beside this file (highs.py): its iterations and the time of the solve
// itself, the best of a few runs.

#include <QString>

struct HighsTiming {
    bool available = false; // python3 with scipy ran the tool
    bool optimal = false;
    bool infeasible = false;
    double cost = 0;
    int iterations = 0;
    double seconds = 0;
};

HighsTiming timeHighs(const QString &mpsFile, int runs);

#pragma once

// glpsol's simplex time on an exported programme: the wall time of solving it less
// the wall time of only reading and checking it, each the best of a few runs.

#include <QString>

struct GlpsolTiming {
    bool available = false;
    bool optimal = false;
    double solveSeconds = 0; // reading and solving
    double readSeconds = 0;  // reading only
    double simplexSeconds() const { return solveSeconds - readSeconds; }
    double cost = 0;
    int iterations = 0;     // simplex iterations in all
    int feasibleAfter = -1; // iterations when the first feasible point was reached
};

GlpsolTiming timeGlpsol(const QString &mpsFile, int runs);

#pragma once

// A sample case written as the tables of a data directory (pit, kk, sir, norm, order),
// for timing the whole way a calculation goes: loading from the tables, the attempt
// checks, assembly, solve and rounding.

#include "calc/run.h"
#include "calc/selection.h"

#include <QString>

#include <functional>
#include <memory>

namespace calctest
{
class CalcFixture;
}

class TableCase final
{
public:
    // Writes the case held in selection (as makeCase leaves it) into a new temporary
    // directory; lossNorm as the settings would give it.
    TableCase(const calc::Selection &selection, double lossNorm);
    ~TableCase();

    // Load, checks, assembly, solve, rounding; false (with the first message) when the
    // load or the checks report a problem or the solve finds no recipe. Statistics of
    // the solve go to figures.
    bool run(struct RunFigures &figures) const;

    // The whole calculation run in the cost mode, relaxation to its end, by the given
    // rules; first receives the programme of each attempt until one has a recipe.
    calc::RunResult relax(lp::Rules rules,
                          const std::function<void(const lp::Programme &)> &first) const;

private:
    std::unique_ptr<calctest::CalcFixture> fixture_;
    double lossNorm_ = 0;
};

struct RunFigures {
    long long pivots = 0;
    long long flips = 0;
    int solveStatus = 0;
    QString problem;
};

#pragma once

// What kormoplan-calc prints after a run: the window's texts, or one JSON object.

#include "calc/run.h"

#include <QByteArray>
#include <QStringList>

namespace kpcalc
{

// The outcome as the calculation window shows it (the message boxes were printed while
// the run went on).
QStringList textReport(const calc::RunResult &result);

// One JSON object: outcome, solveStatus, objective, diagnostics, feeds, raws,
// totalConsumption, totalCost, attempts, relaxation, messages, pivots, flips,
// sensitivity (null without a solution).
QByteArray jsonReport(const calc::RunResult &result);

// "solution", "errors", "failure-analysis", "stock-message", "no-analysis", "overflow".
QString outcomeName(calc::RunOutcome outcome);

} // namespace kpcalc

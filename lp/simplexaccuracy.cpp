#include "lp/simplexaccuracy.h"

#include "lp/simplextableau.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lp
{

OriginalProgramme::OriginalProgramme(const Programme &programme)
    : programme_(programme), x_(programme.columnCount() + 1), y_(programme.rowCount() + 1)
{
}

void OriginalProgramme::restore(TableauState &state) const
{
    const Programme &p = programme_;
    for (RowIndex i(1); i.number() <= p.rowCount(); ++i) {
        state.rowLower[i.number()] = p.rowLower(i);
        state.rowUpper[i.number()] = p.rowUpper(i);
    }
    for (ColIndex j(1); j.number() <= p.columnCount(); ++j) {
        state.columnLower[j.number()] = p.columnLower(j);
        state.columnUpper[j.number()] = p.columnUpper(j);
        state.columnValue[j.number()] = p.cost(j);
    }
    if (!state.coef.allocated())
        return;
    DenseMatrix &coef = state.coef;
    std::memset(coef.row(1), 0, sizeof(double) * std::size_t(coef.rows()) * coef.stride());
    for (RowIndex i(1); i.number() <= p.rowCount(); ++i) {
        double *row = coef.row(i.number());
        for (const Entry &e : p.row(i))
            row[e.column.number() - 1] = -e.value;
    }
}

double OriginalProgramme::inconsistency(const TableauState &r) const
{
    auto put = [&](int label, double value) {
        if (label > 0)
            x_[label] = value;
        else
            y_[-label] = value;
    };
    for (int j = 1; j <= r.columnCount; ++j)
        put(r.columnLabel[j], r.columnAtLower[j] ? r.columnLower[j] : r.columnUpper[j]);
    for (int i = 1; i <= r.rowCount; ++i)
        put(r.rowLabel[i], r.rowValue[i]);
    double worst = 0;
    for (RowIndex i(1); i.number() <= r.rowCount; ++i) {
        double activity = 0;
        for (const Entry &e : programme_.row(i))
            activity -= -e.value * x_[e.column.number()]; // the tableau's entry T = −a
        const double tableau = y_[i.number()];
        worst = std::max(worst, std::fabs(activity - tableau) / std::max(1.0, std::fabs(activity)));
    }
    return worst;
}

void OriginalProgramme::residuals(const TableauState &r, std::vector<double> &residual) const
{
    for (int j = 1; j <= r.columnCount; ++j) {
        const int label = r.columnLabel[j];
        const double value = r.columnAtLower[j] ? r.columnLower[j] : r.columnUpper[j];
        (label > 0 ? x_[label] : y_[-label]) = value;
    }
    for (int i = 1; i <= r.rowCount; ++i) {
        const int label = r.rowLabel[i];
        (label > 0 ? x_[label] : y_[-label]) = r.rowValue[i];
    }
    residual.assign(std::size_t(r.rowCount) + 1, 0.0);
    for (RowIndex i(1); i.number() <= r.rowCount; ++i) {
        double activity = 0;
        for (const Entry &e : programme_.row(i))
            activity += e.value * x_[e.column.number()];
        residual[std::size_t(i.number())] = activity - y_[i.number()];
    }
}

void OriginalProgramme::refine(TableauState &state) const
{
    std::vector<double> residual;
    residuals(state, residual);
    // A non-basic row activity stays on its bound: the sum over the amounts has to move
    // by −residual, which its column does to the basic variables.
    std::vector<int> columns;
    std::vector<double> moves;
    for (int j = 1; j <= state.columnCount; ++j)
        if (const int label = state.columnLabel[j]; label < 0 && residual[-label] != 0) {
            columns.push_back(j - 1);
            moves.push_back(state.columnAtLower[j] ? -residual[-label] : residual[-label]);
        }
    for (int i = 1; i <= state.rowCount; ++i) {
        const double *row = state.coef.row(i);
        double change = 0;
        for (std::size_t t = 0; t < columns.size(); ++t)
            change += row[columns[t]] * moves[t];
        state.rowValue[i] -= change;
    }
    // the basic row activities from the amounts so moved
    residuals(state, residual);
    for (int i = 1; i <= state.rowCount; ++i)
        if (const int label = state.rowLabel[i]; label < 0)
            state.rowValue[i] += residual[-label];
    double cost = 0;
    for (ColIndex j(1); j.number() <= programme_.columnCount(); ++j)
        cost += programme_.cost(j) * x_[j.number()];
    state.objective = -cost;
}

} // namespace lp

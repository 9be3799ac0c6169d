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

} // namespace lp

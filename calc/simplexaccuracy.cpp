#include "calc/simplexaccuracy.h"

#include "calc/simplexkernel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace calc {

OriginalProgramme::OriginalProgramme(const ProblemRecord &r)
    : m_(r.rowCount), n_(r.columnCount),
      rowLower_(r.rowLower.begin(), r.rowLower.begin() + m_ + 1),
      rowUpper_(r.rowUpper.begin(), r.rowUpper.begin() + m_ + 1),
      columnLower_(r.columnLower.begin(), r.columnLower.begin() + n_ + 1),
      columnUpper_(r.columnUpper.begin(), r.columnUpper.begin() + n_ + 1),
      price_(r.columnValue.begin(), r.columnValue.begin() + n_ + 1), x_(n_ + 1), y_(m_ + 1)
{
    if (!r.coef.allocated() || !coef_.allocate(m_, n_))
        return;
    std::memcpy(coef_.row(1), r.coef.row(1), sizeof(double) * std::size_t(m_) * coef_.stride());
    held_ = true;
}

void OriginalProgramme::restore(ProblemRecord &r) const
{
    std::copy(rowLower_.begin(), rowLower_.end(), r.rowLower.begin());
    std::copy(rowUpper_.begin(), rowUpper_.end(), r.rowUpper.begin());
    std::copy(columnLower_.begin(), columnLower_.end(), r.columnLower.begin());
    std::copy(columnUpper_.begin(), columnUpper_.end(), r.columnUpper.begin());
    std::copy(price_.begin(), price_.end(), r.columnValue.begin());
    std::memcpy(r.coef.row(1), coef_.row(1), sizeof(double) * std::size_t(m_) * coef_.stride());
}

double OriginalProgramme::inconsistency(const ProblemRecord &r) const
{
    auto put = [&](int label, double value) {
        if (label > 0)
            x_[label] = value;
        else
            y_[-label] = value;
    };
    for (int j = 1; j <= n_; ++j)
        put(r.columnLabel[j], r.columnAtLower[j] ? r.columnLower[j] : r.columnUpper[j]);
    for (int i = 1; i <= m_; ++i)
        put(r.rowLabel[i], r.rowValue[i]);
    double worst = 0;
    for (int i = 1; i <= m_; ++i) {
        const double activity = -dotProduct(coef_.row(i), x_.data() + 1, n_); // negated list
        worst = std::max(worst, std::fabs(activity - y_[i]) / std::max(1.0, std::fabs(activity)));
    }
    return worst;
}

} // namespace calc

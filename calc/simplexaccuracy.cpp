#include "calc/simplexaccuracy.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace calc
{

OriginalProgramme::OriginalProgramme(const ProblemRecord &r)
    : m_(r.rowCount), n_(r.columnCount), rowLower_(r.rowLower.begin(), r.rowLower.begin() + m_ + 1),
      rowUpper_(r.rowUpper.begin(), r.rowUpper.begin() + m_ + 1),
      columnLower_(r.columnLower.begin(), r.columnLower.begin() + n_ + 1),
      columnUpper_(r.columnUpper.begin(), r.columnUpper.begin() + n_ + 1),
      price_(r.columnValue.begin(), r.columnValue.begin() + n_ + 1), x_(n_ + 1), y_(m_ + 1)
{
    if (!r.coef.allocated())
        return;
    stride_ = r.coef.stride();
    rowStart_.reserve(m_ + 2);
    rowStart_.push_back(0); // row 0 does not exist
    for (int i = 1; i <= m_; ++i) {
        rowStart_.push_back(int(entry_.size()));
        const double *row = r.coef.row(i);
        for (int j = 0; j < n_; ++j)
            if (row[j] != 0) {
                column_.push_back(j);
                entry_.push_back(row[j]);
            }
    }
    rowStart_.push_back(int(entry_.size()));
    held_ = true;
}

void OriginalProgramme::restore(ProblemRecord &r) const
{
    std::copy(rowLower_.begin(), rowLower_.end(), r.rowLower.begin());
    std::copy(rowUpper_.begin(), rowUpper_.end(), r.rowUpper.begin());
    std::copy(columnLower_.begin(), columnLower_.end(), r.columnLower.begin());
    std::copy(columnUpper_.begin(), columnUpper_.end(), r.columnUpper.begin());
    std::copy(price_.begin(), price_.end(), r.columnValue.begin());
    if (!held_)
        return;
    std::memset(r.coef.row(1), 0, sizeof(double) * std::size_t(m_) * stride_);
    for (int i = 1; i <= m_; ++i) {
        double *row = r.coef.row(i);
        for (int t = rowStart_[i]; t < rowStart_[i + 1]; ++t)
            row[column_[t]] = entry_[t];
    }
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
        double activity = 0;
        for (int t = rowStart_[i]; t < rowStart_[i + 1]; ++t)
            activity -= entry_[t] * x_[column_[t] + 1]; // the list holds them negated
        worst = std::max(worst, std::fabs(activity - y_[i]) / std::max(1.0, std::fabs(activity)));
    }
    return worst;
}

} // namespace calc

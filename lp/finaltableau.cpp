#include "lp/finaltableau.h"

#include "lp/simplextableau.h"

#include <algorithm>

namespace lp
{

namespace
{

template <typename T> void copyPrefix(std::vector<T> &to, const std::vector<T> &from, int count)
{
    to.assign(from.begin(), from.begin() + count + 1);
}

} // namespace

void FinalTableau::take(const TableauState &r)
{
    clear();
    if (!r.coef.allocated() || r.rowCount <= 0 || r.columnCount <= 0)
        return;
    m_ = r.rowCount;
    n_ = r.columnCount;
    entries_.resize(std::size_t(m_) * n_);
    for (int i = 1; i <= m_; ++i)
        std::copy(r.coef.row(i), r.coef.row(i) + n_, entries_.begin() + std::size_t(i - 1) * n_);
    copyPrefix(rowLabel, r.rowLabel, m_);
    copyPrefix(rowValue, r.rowValue, m_);
    copyPrefix(rowLower, r.rowLower, m_);
    copyPrefix(rowUpper, r.rowUpper, m_);
    copyPrefix(columnLabel, r.columnLabel, n_);
    copyPrefix(atLower, r.columnAtLower, n_);
    copyPrefix(columnLower, r.columnLower, n_);
    copyPrefix(columnUpper, r.columnUpper, n_);
    copyPrefix(reducedCost, r.columnValue, n_);
}

void FinalTableau::clear()
{
    m_ = n_ = 0;
    std::vector<double>().swap(entries_); // a programme's worth of memory given back
    for (auto *v : {&rowLabel, &columnLabel})
        v->clear();
    atLower.clear();
    for (auto *v : {&rowValue, &rowLower, &rowUpper, &columnLower, &columnUpper, &reducedCost})
        v->clear();
}

} // namespace lp

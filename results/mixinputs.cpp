#include "results/mixinputs.h"

#include "store/numbertext.h"
#include "store/table.h"

namespace results
{

double MixInputs::input(int kods, MixMode mode) const
{
    return of(mode).value(kods, 0.0);
}

void MixInputs::setInput(int kods, MixMode mode, double value)
{
    const double kept = store::round3(value);
    if (kept == 0)
        of(mode).remove(kods);
    else
        of(mode).insert(kods, kept);
}

void MixInputs::clear()
{
    percent_.clear();
    mass_.clear();
}

QHash<int, double> &MixInputs::of(MixMode mode)
{
    return mode == MixMode::Percent ? percent_ : mass_;
}

const QHash<int, double> &MixInputs::of(MixMode mode) const
{
    return mode == MixMode::Percent ? percent_ : mass_;
}

store::FieldDef mixInputFormat(MixMode mode)
{
    // a mass mix's total goes into the volume field, which holds 999999.999
    return mode == MixMode::Percent ? store::FieldDef{QString(), 'N', 8, 3}
                                    : store::FieldDef{QString(), 'N', 10, 3};
}

} // namespace results

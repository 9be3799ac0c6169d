#pragma once

// The mix window's inputs: for raw materials, by their permanent key sir.kods, the
// percentage typed in percent mode and the mass typed in mass mode, each mode's kept
// apart so that a change of mode finds the other's as they were. They belong to the
// window and never to sir, where VES is the stock and MANOR an inclusion limit.
//
// An input holds three decimals, as the archive's shares do, and is typed as a number
// field of its mode's format would be (percent up to 9999.999, mass up to 999999.999).

#include "results/mixcharacteristics.h"

#include <QHash>

namespace store
{
struct FieldDef;
}

namespace results
{

class MixInputs final
{
public:
    // 0 when nothing was typed for the raw material.
    double input(int kods, MixMode mode) const;
    // Kept rounded to three decimals; 0 removes the input.
    void setInput(int kods, MixMode mode, double value);
    void clear();

private:
    QHash<int, double> &of(MixMode mode);
    const QHash<int, double> &of(MixMode mode) const;

    QHash<int, double> percent_;
    QHash<int, double> mass_;
};

// The number field an input of the mode is typed as.
store::FieldDef mixInputFormat(MixMode mode);

} // namespace results

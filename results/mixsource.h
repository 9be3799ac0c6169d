#pragma once

// Where the mix comes from and what it is compared with, read from the shared cursors:
// the raw materials with an input of the window's own (sir gives their names, prices
// and contents), the characteristics list (pit) and the chosen product's norms (kk).
// Each reader keeps the cursor's current record; none writes a table.

#include "results/mixcharacteristics.h"
#include "results/mixinputs.h"

#include <QList>
#include <QString>

#include <utility>

namespace store
{
class Table;
}

namespace results
{

// The raw materials of sir's view (its current filter) with an input other than 0 in
// mode, in list order, with their contents MI1 .. MI65.
QList<MixLine> readMixLines(store::Table &sir, const MixInputs &inputs, MixMode mode);

// One row per characteristic of the list, from the first (the price).
QList<MixCharacteristic> readMixCharacteristics(store::Table &pit);

// The product chosen in kk and its norms, one pair (minimum, maximum) per row.
struct ProductNorms {
    QString type;     // kk.tip
    QString purpose;  // "Для " + kk.nasn
    QString standard; // "ГОСТ " + kk.gost, empty without one
    QList<std::pair<double, double>> norms;

    // Rows with a norm other than the price row are marked for printing.
    bool marked(int row) const;
};
ProductNorms readProductNorms(const store::Table &kk,
                              const QList<MixCharacteristic> &characteristics);

// Lists the raw materials selected for calculation, or all of them, from the first.
void listMixRawMaterials(store::Table &sir, bool selectedOnly);

} // namespace results

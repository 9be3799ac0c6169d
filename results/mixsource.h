#pragma once

// Where the mix comes from and what it is compared with, read from the shared cursors:
// the raw materials with an input (sir, whose MANOR and VES the mix window borrows as its
// percent and mass inputs), the characteristics list (pit) and the chosen product's
// norms (kk). Each reader keeps the cursor's current record.

#include "results/mixcharacteristics.h"

#include <QHash>
#include <QList>
#include <QString>

#include <utility>

namespace store
{
class Table;
}

namespace results
{

// The sir field that holds the input of mode: MANOR (percent) or VES (mass).
QString mixInputField(MixMode mode);

// The raw materials of sir's view (its current filter) whose input is not 0, in list
// order, with their contents MI1 .. MI65.
QList<MixLine> readMixLines(store::Table &sir, MixMode mode);

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

// Sets MANOR and VES to 0 in every record of sir's range, its filter cleared; then
// lists only the raw materials selected for calculation ("ot='+'") from the first.
void resetMixInputs(store::Table &sir);

// Lists the raw materials selected for calculation, or all of them, from the first.
void listMixRawMaterials(store::Table &sir, bool selectedOnly);

// The inputs of every record of sir's range, by order, kept while another window that
// uses MANOR as its own working column (the feed types window loads inclusion limits
// into it) is open, and put back afterwards.
using MixInputs = QHash<int, std::pair<double, double>>; // order -> (MANOR, VES)
MixInputs saveMixInputs(store::Table &sir);
void restoreMixInputs(store::Table &sir, const MixInputs &inputs);

} // namespace results

#pragma once

// The characteristics and the price of a mix composed by hand, without any optimisation:
// the user gives, for raw materials, either their percentage in the mix or their mass;
// the mix's level of every nutrient characteristic is the input-weighted mean of the
// raw materials' contents, its price of one tonne is built from the weighted raw-material
// price as a feed type's is (losses, production costs, profit, granulation surcharge
// unless the product is loose, tax), and the price goes into the recipe name.
//
// Percentages that do not add up to 100 (± 0.005) are completed by a neutral filler
// without content or price, and such a mix cannot be archived. In mass mode the mass of
// the mix is its volume and the percentages are derived, the largest line taking the
// rounding residue so that they add up to 100.00.
//
//     MixInput input{MixMode::Percent, volume, lines, characteristics, taxRate, form};
//     const MixResult result = computeMix(input, settings::currentSettings());
//     if (!result.ok()) show(result.error);

#include "results/cellnumber.h"
#include "results/pricebuildup.h"

#include <QList>
#include <QString>

#include <vector>

namespace settings
{
struct Settings;
}

namespace results
{

enum class MixMode { Percent, Mass }; // "По проценту ввода" / "По массе сырья"

// "Гранулы", "Крупка", "Россыпь": loose products get no granulation surcharge.
enum class ProductForm { Granules, Crumbs, Loose };

// The form letter of recipe names and of arkk.gk: "Г", "К", none for loose products.
QString productFormLetter(ProductForm form);

// One raw material with a non-zero input.
struct MixLine {
    QString name;                 // sir.NAIM, at most 30 characters
    bool premix = false;          // sir.PREM not empty
    double input = 0;             // as typed: percent (percent mode) or tonnes (mass mode)
    double percent = 0;           // share in the mix, %: the input, or derived from the masses
    double price = 0;             // sir.MI1, roubles per tonne
    std::vector<double> contents; // [key] = sir.MI<key>; a key beyond the end reads 0

    double content(int key) const;
};

// One row of the characteristics grid: a characteristic of the list, in list order;
// the first one is the price.
struct MixCharacteristic {
    QString name; // pit.pit
    int key = 0;  // pit.key: the content field MI<key> of sir, the norms mi/ma<key> of kk
    QString unit; // pit.ediz
};

struct MixInput {
    MixMode mode = MixMode::Percent;
    double volume = 0; // "Объем выработки": required in percent mode
    QList<MixLine> lines;
    QList<MixCharacteristic> characteristics;
    double taxRate = 0; // "Налог%"
    ProductForm form = ProductForm::Granules;
};

// The price of one tonne of the mix, step by step.
struct MixPrice {
    FeedPrice build;         // raw cost, losses, full cost, profit, surcharge, price, tax
    double sellingPrice = 0; // price with tax, rounded when the settings say so
    QString sellingText;     // fixed, width 12: 0 decimals when rounded, else 2
    QString nameText;        // the price the recipe name carries, trimmed
    QString label; // "Отпускная цена 1Т с НДС" + sellingText + " руб."
};

// Why a computation was refused.
enum class MixRefusal { None, NoVolume, NegativeInput, NoInput, SettingsOutOfRange };

struct MixResult {
    MixRefusal refusal = MixRefusal::None;
    QString error;            // why nothing was computed (Russian); empty when it was
    double total = 0;         // sum of the inputs; 100 once a filler completed them
    double fillerPercent = 0; // the share the filler took; 0 without a filler
    bool fillerAdded = false;
    QString fillerMessage; // "Набрано ... наполнитель." when a filler was added
    QString fillerLabel;   // "Наполнитель ...%"
    QList<MixLine> lines;  // with their percentages (derived in mass mode)
    std::vector<double> levels; // [m] for characteristic row m (0-based)
    QList<CellValue> facts;     // the "Факт" column, as levelCell writes it
    MixPrice price;

    bool ok() const { return error.isEmpty(); }
    // A mix without a filler can be written to the archive.
    bool archivable() const { return ok() && !fillerAdded; }
};

// The computation. Refused, with a message, when a price setting is out of its range (as
// the calculation is), when the volume is missing in percent mode, when an input is negative
// (naming the raw material) and when no raw material has an input.
MixResult computeMix(const MixInput &input, const settings::Settings &values);

// The price build-up of one tonne from the mean raw-material price.
MixPrice mixPrice(double meanRawPrice, double taxRate, ProductForm form,
                  const settings::Settings &values);

// A level in the "Факт" column: 0 decimals from 45 on, else 2, width 12; its number is
// the level as shown.
CellValue levelCell(double level);
// A norm in the "Минимум"/"Максимум" columns: from 45 on without decimals in width 6,
// else in the general format; a norm of 0 is left blank (no number).
CellValue normCell(double norm);

// The product field with the price appended by a computation: "<product>-<price>-".
QString productWithPrice(const QString &product, const QString &namePrice);
// The product field without the price a computation appended ("-" + price onwards);
// unchanged when that price is not in it.
QString productWithoutPrice(const QString &product, const QString &namePrice);

} // namespace results

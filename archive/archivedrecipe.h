#pragma once

// One recipe of the archive as the documents read it: the head row of arkk and the
// rows of arsir, arpit and arprem that carry its number, in table order.

#include <QList>
#include <QString>

namespace store
{
class Table;
}

namespace archive
{

struct ArchivedRecipe {
    struct RawLine // arsir
    {
        QString naim;
        double procin = 0; // share in the recipe, %
        double price = 0;  // per tonne of the raw material
    };
    struct CharLine // arpit
    {
        QString pit;
        QString ediz;
        double mi = 0; // norm minimum
        double ma = 0; // norm maximum, 0 for none
        double ra = 0; // calculated level
        double fa = 0; // actual level
    };
    struct RatioLine // a ratio in force of the recipe's feed type (archive/archivedratios.h)
    {
        QString numerator; // the characteristics' names, as arpit keeps them
        QString denominator;
        double minimum = 0; // 0: no bound
        double maximum = 0;
    };
    struct PremixLine // arprem
    {
        QString pit;
        QString ediz;
        double ra = 0; // amount the premixes bring into one unit of product
    };

    int arnom = 0;
    double ves = 0; // batch weight, tonnes
    QString data;   // date of the calculation, as stored
    QString naim;   // texts trimmed
    QString nasn;
    QString gost;
    QString prim;
    QString gk;          // form letter: "Г" granules, "К" crumbs, empty for mash
    double nds = 0;      // tax rate, %
    double izder = 0;    // production costs per tonne
    double procprib = 0; // profitability, %
    double gran = 0;     // granulation surcharge per tonne
    double procpot = 0;  // loss norm, %
    bool kn3 = false;    // the price without tax is rounded
    bool kn5 = false;    // the price with tax is rounded

    QList<RawLine> raws;
    QList<CharLine> chars;
    QList<PremixLine> premixes;
    QList<RatioLine> ratios;
};

// Texts of a recipe head: whether a standard names itself ("ГОСТ" in any case),
// and the purpose with "Для " put in front when it holds none of "ДЛЯ", "Для", "для".
bool namesStandard(const QString &gost);
QString purposeText(const QString &nasn);

// Filters the four archive cursors to recipe `number` ("arnom=" + number, filtering
// on) and reads it, with the ratios of its feed type from the tables beside arkk
// (archivedRatios). `found` is false when arkk has no head row of that number (the
// recipe then reads as empty, batch weight 0). Table errors are thrown as TableError.
ArchivedRecipe readArchivedRecipe(store::Table &arkk, store::Table &arsir, store::Table &arpit,
                                  store::Table &arprem, int number, bool *found = nullptr);

} // namespace archive

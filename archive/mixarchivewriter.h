#pragma once

// Writing a mix composed by hand into the recipe archive, under the next archive number
// (given out and released as for a calculated recipe).
//
// The recipe name is the product text (which already ends in "-" + price + "-")
// followed by the number and the form letter, those two cut to 4 characters together:
// number 1234 of granules is named "...-1234" while gk still says "Г". Each premix line
// brings its own contents into arprem, in proportion to its share in the mix.

#include "archive/reciperows.h"

#include <QDate>
#include <QList>
#include <QString>

namespace settings
{
struct Settings;
}

namespace archive
{

struct MixRecipe {
    QString product;    // "Продукция", ending in "-" + price + "-"
    QString standard;   // "Стандарт"
    QString purpose;    // "Назначение продукции"
    QString note;       // "Примечание"
    double volume = 0;  // "Объем выработки", tonnes
    double taxRate = 0; // "Налог%"
    QString formLetter; // "Г" granules, "К" crumbs, empty for a loose product

    struct Line {
        QString name;
        double percent = 0; // share in the mix, %
        double price = 0;   // per tonne
        bool premix = false;
        QList<double> contents; // per characteristic row, in the rows' order
    };
    QList<Line> lines;

    // A row of the characteristics grid, its numbers as shown there; the first row (the
    // price), rows not marked and names beginning with "*" are not stored.
    struct Characteristic {
        QString name;
        QString unit;
        double minimum = 0;
        double maximum = 0;
        double fact = 0;
        bool marked = false;
    };
    QList<Characteristic> characteristics;
};

// The number and form letter as the name and the archive-number label carry them: at
// most 4 characters.
QString mixNumberText(int number, const QString &formLetter);

// Writes the mix under a new number with the settings' costs, profitability, loss norm
// and price flags and the working date, and flushes the four tables. Values that cannot
// be stored are refused before a number is given out.
ArchiveWriteResult writeMixToArchive(const ArchiveCursors &cursors, const MixRecipe &recipe,
                                     const settings::Settings &values, const QDate &workingDate);

} // namespace archive

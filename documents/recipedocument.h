#pragma once

// The recipe document: one archived recipe as fixed-pitch text lines, with its cost
// figures and the batch amounts of every raw material. The view window lists the
// lines, the printed page and the word-processor export address them by position:
//
//   0        name and standard            8 .. 7+n     raw-material lines
//   1, 2     purpose (two parts)          8+n          rule
//   3        weight and dates             9+n          quality heading
//   4        note                         10+n         rule
//   5 .. 7   raw-material headings        11+n ..      characteristic lines, the ratio
//                                                      lines, then rule E
//   E+1      "Стоимостные показатели, руб."   E+2 rule   E+3 .. E+12 the ten cost lines
//   E+13     rule; then the premix section when the recipe has premix rows.

#include "archive/archivedrecipe.h"

#include <QList>
#include <QStringList>

namespace documents
{

using archive::ArchivedRecipe;

// The cost figures of one tonne of product.
struct RecipeCosts {
    double rawCost = 0;   // sum of the rounded raw-material costs
    double loss = 0;      // production losses
    double costPrice = 0; // raw materials + losses + production costs
    double profit = 0;
    double wholesale = 0; // price without tax, whole roubles when the recipe says so
    double tax = 0;
    double selling = 0; // price with tax, whole roubles when the recipe says so
};

class RecipeDocument final
{
public:
    static constexpr int kFirstRawLine = 8;
    static const QString kRule;       // 101 "="
    static const QString kRuleMarker; // 17 "=": what ends a block of the text

    RecipeDocument() = default;

    // Builds the text. A batch weight below 0.001 t gives an empty document (the
    // window says "Вес не задан!"). taxName is the settings' tax name, printDate the
    // working date in the short date format.
    static RecipeDocument build(const ArchivedRecipe &recipe, const QString &taxName,
                                const QString &printDate);

    bool isEmpty() const { return lines_.isEmpty(); }
    const QStringList &lines() const { return lines_; }
    const ArchivedRecipe &recipe() const { return recipe_; }
    const RecipeCosts &costs() const { return costs_; }

    int rawCount() const { return int(recipe_.raws.size()); }
    // The lines of the quality block: the characteristics, then the ratios.
    int charCount() const { return int(recipe_.chars.size() + recipe_.ratios.size()); }
    int firstCharLine() const { return kFirstRawLine + rawCount() + 3; }
    int costRuleIndex() const { return firstCharLine() + charCount(); } // E
    int firstCostLine() const { return costRuleIndex() + 3; }           // E+3

    // Batch amounts of raw-material line k (from 0), tonnes: without and with losses.
    double batch(int k) const { return batch_.at(k); }
    double batchWithLosses(int k) const { return withLosses_.at(k); }

    // Rounds the batch amounts to 4 decimals and corrects them so that they add up to
    // the batch weight and to the weight with losses. Runs before every print and
    // export; the corrections stay (the text on screen keeps the first amounts).
    void balanceBatch();

    // Text helpers shared with the printed page and the export.
    static bool namesStandard(const QString &gost);  // holds "ГОСТ" in any case
    static QString purposeText(const QString &text); // "Для " added when missing
    static QString normText(double mi, double ma);
    // A ratio's bounds with four decimals, 0 being none; empty without either.
    static QString ratioNormText(double minimum, double maximum);
    // "РЕЦЕПТ " + name + "  " + standard, trimmed; an empty standard prints "ГОСТ".
    static QString titleText(const ArchivedRecipe &recipe);

private:
    void addHeader(const QString &printDate);
    void addRawLines();
    void addCharLines();
    void addCostLines(const QString &taxName);
    void addPremixLines();
    // "Кальций/Фосфор доступный" in the name and unit columns, then the norm, the
    // calculated and the actual level from the archived levels of the two.
    QString ratioLine(const ArchivedRecipe::RatioLine &ratio) const;

    ArchivedRecipe recipe_;
    QStringList lines_;
    RecipeCosts costs_;
    QList<double> batch_;
    QList<double> withLosses_;
};

} // namespace documents

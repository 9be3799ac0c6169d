#pragma once

// The texts of a run's outcome, as the calculation window shows and prints them and the
// command-line tool writes them: the titles, the grids with their headers and number
// formats, and a grid as lines of text.

#include "calc/outcome.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace calc
{

// A grid of texts with one header row; numeric columns are drawn right-aligned.
struct TextGrid {
    QStringList header;
    QList<QStringList> rows;
    QList<bool> numeric; // by column
};

// The grid as printed: row 0 the header, then the rows; each cell followed by blanks up
// to one more than the widest text of its column, then "!".
QStringList gridLines(const TextGrid &grid);

// Comments of the analysis grids.
inline constexpr char16_t kAtMinimum[] = u" на минимуме      ";
inline constexpr char16_t kAtMaximum[] = u" на максимуме     ";
inline constexpr char16_t kAboveMaximum[] = u" больше максимума ";
inline constexpr char16_t kBelowMinimum[] = u" меньше минимума  ";
inline constexpr char16_t kWithinNorm[] = u" в норме          ";
inline constexpr char16_t kStockUsedUp[] = u"Запас использован";

// The comment of the analysis grids for a state (kWithinNorm, ...).
QString levelStateText(LevelState state);

// "Комбикорм № p типа … не получается. Вес …"
QString analysisTitle(const FailureAnalysis &analysis);
// A ratio's bound or level in the grids: four decimals, or blank when not shown (a bound
// of 0, which is none; a level without any of the denominator in the batch).
QString ratioText(double value, bool shown);

// "Характеристика", "Комментарий", "Минимум", "Факт", "Максимум"; a ratio's figures
// with four decimals
TextGrid characteristicsGrid(const FailureAnalysis &analysis);
// "Наименование сырья", "Запас", … "Комментарий"
TextGrid rawsGrid(const FailureAnalysis &analysis);

// "Решение получено!    Общие затраты сырья …"
QString summaryTitle(const SolutionSummary &summary);
// "Наименование сырья", "Запас Т", "Затраты общие", "Цена 1Т", "Стоимость затрат"
TextGrid summaryGrid(const SolutionSummary &summary);

} // namespace calc

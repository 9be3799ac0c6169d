#include "calc/outcometext.h"

#include "store/numbertext.h"

namespace calc
{

using store::fixedText;

QStringList gridLines(const TextGrid &grid)
{
    QList<QStringList> all{grid.header};
    all += grid.rows;
    QList<int> widths;
    for (const QStringList &row : std::as_const(all))
        for (int c = 0; c < row.size(); ++c) {
            if (c >= widths.size())
                widths.append(0);
            widths[c] = std::max(widths[c], int(row[c].size()));
        }
    QStringList lines;
    for (const QStringList &row : std::as_const(all)) {
        QString line;
        for (int c = 0; c < row.size(); ++c)
            line += store::padded(row[c], widths[c] + 1) + u'!';
        lines.append(line);
    }
    return lines;
}

QString levelStateText(LevelState state)
{
    switch (state) {
    case LevelState::AtMinimum:
        return QString::fromUtf16(kAtMinimum);
    case LevelState::AtMaximum:
        return QString::fromUtf16(kAtMaximum);
    case LevelState::BelowMinimum:
        return QString::fromUtf16(kBelowMinimum);
    case LevelState::AboveMaximum:
        return QString::fromUtf16(kAboveMaximum);
    case LevelState::WithinNorm:
        break;
    }
    return QString::fromUtf16(kWithinNorm);
}

QString analysisTitle(const FailureAnalysis &a)
{
    const QString title =
        QStringLiteral("Комбикорм №") + store::rightAligned(QString::number(a.feed), 2) +
        QStringLiteral(" типа ") + a.feedType + QStringLiteral(" не получается. Вес ");
    if (!a.outputFailed)
        return title + QStringLiteral("набран.");
    return title + QStringLiteral("не набран. ") + QStringLiteral("  Задано - ") +
           fixedText(a.output, 7, 3) + QStringLiteral("     Подсчитано до -  ") +
           fixedText(a.reached, 7, 3);
}

QString ratioText(double value, bool shown)
{
    return shown ? fixedText(value, 9, 4) : QString(9, u' ');
}

TextGrid characteristicsGrid(const FailureAnalysis &a)
{
    TextGrid grid;
    grid.header = {QStringLiteral("Характеристика"), QStringLiteral("Комментарий"),
                   QStringLiteral("Минимум"), QStringLiteral("Факт"), QStringLiteral("Максимум")};
    grid.numeric = {false, false, true, true, true};
    for (const CharacteristicLevel &c : a.characteristics) {
        if (c.ratio) {
            grid.rows.append({c.name, c.defined ? levelStateText(c.state) : QString(),
                              ratioText(c.minimum, c.minimum != 0), ratioText(c.level, c.defined),
                              ratioText(c.maximum, c.maximum != 0)});
            continue;
        }
        grid.rows.append({c.name, levelStateText(c.state), fixedText(c.minimum, 9, 2),
                          fixedText(c.level, 9, 2), fixedText(c.maximum, 9, 2)});
    }
    return grid;
}

TextGrid rawsGrid(const FailureAnalysis &a)
{
    TextGrid grid;
    grid.header = {QStringLiteral("Наименование сырья"),
                   QStringLiteral("Запас"),
                   QStringLiteral("Затраты общие"),
                   QStringLiteral("Вес текущий"),
                   QStringLiteral("Примечание"),
                   QStringLiteral("Мин.%"),
                   QStringLiteral("Факт.%"),
                   QStringLiteral("Макс.%"),
                   QStringLiteral("Комментарий")};
    grid.numeric = {false, true, true, true, false, true, true, true, false};
    for (const RawLevel &r : a.raws)
        grid.rows.append({r.name, fixedText(r.stock, 13, 3), fixedText(r.used, 13, 3),
                          fixedText(r.weight, 13, 3),
                          r.state.stockUsedUp ? QString::fromUtf16(kStockUsedUp) : QString(),
                          fixedText(r.minimum, 10, 2), fixedText(r.share, 10, 2),
                          fixedText(r.maximum, 10, 2), levelStateText(r.state.share)});
    return grid;
}

QString summaryTitle(const SolutionSummary &s)
{
    return QStringLiteral("Решение получено!    Общие затраты сырья  ") +
           fixedText(s.totalConsumption, 13, 3) + QStringLiteral("  Т.  на сумму  ") +
           fixedText(s.totalCost, 13, 2) + QStringLiteral("  руб.");
}

TextGrid summaryGrid(const SolutionSummary &s)
{
    TextGrid grid;
    grid.header = {QStringLiteral("Наименование сырья"), QStringLiteral("Запас Т"),
                   QStringLiteral("Затраты общие"), QStringLiteral("Цена 1Т"),
                   QStringLiteral("Стоимость затрат")};
    grid.numeric = {false, true, true, true, true};
    for (const SummaryRow &r : s.rows)
        grid.rows.append({r.name, fixedText(r.stock, 13, 3), fixedText(r.used, 13, 3),
                          fixedText(r.price, 13, 2), fixedText(r.cost, 13, 2)});
    return grid;
}

} // namespace calc

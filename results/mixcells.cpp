#include "results/mixcells.h"

namespace results
{

QString mixColumnTitle(MixNumberColumn column)
{
    switch (column) {
    case MixNumberColumn::Minimum:
        return QStringLiteral("Минимум");
    case MixNumberColumn::Fact:
        return QStringLiteral("Факт");
    case MixNumberColumn::Maximum:
        break;
    }
    return QStringLiteral("Максимум");
}

NormDeviation normDeviation(const MixCells &cells)
{
    if (!cells.fact.number.ok())
        return NormDeviation::Within;
    const double level = cells.fact.number.value;
    const auto bounds = [](const CellValue &norm) {
        return norm.number.ok() && norm.number.value != 0;
    };
    if (bounds(cells.minimum) && level < cells.minimum.number.value)
        return NormDeviation::BelowMinimum;
    if (bounds(cells.maximum) && level > cells.maximum.number.value)
        return NormDeviation::AboveMaximum;
    return NormDeviation::Within;
}

CellValue typedNormCell(const QString &text)
{
    return {text, readCellNumber(text.trimmed())};
}

MixArchiveRows archivedCharacteristics(const QList<MixCharacteristic> &characteristics,
                                       const QList<MixCells> &cells, const QList<bool> &marked)
{
    MixArchiveRows result;
    for (int m = 0; m < characteristics.size(); ++m) {
        const MixCharacteristic &c = characteristics.at(m);
        const MixCells shown = cells.value(m);
        archive::MixRecipe::Characteristic row{c.name, c.unit, 0, 0, 0, marked.value(m)};
        struct Number {
            double *target;
            const CellValue &cell;
            MixNumberColumn column;
        };
        const Number numbers[] = {{&row.minimum, shown.minimum, MixNumberColumn::Minimum},
                                  {&row.maximum, shown.maximum, MixNumberColumn::Maximum},
                                  {&row.fact, shown.fact, MixNumberColumn::Fact}};
        for (const Number &n : numbers) {
            const bool blank = n.cell.text.trimmed().isEmpty();
            // the price row is never stored, so its cells need not be numbers
            if (!blank && !n.cell.number.ok() && row.marked && m > 0) {
                result.error = QStringLiteral("В строке \"%1\" колонка \"%2\" не число. Рецепт "
                                              "в архив не записан...")
                                   .arg(c.name.trimmed(), mixColumnTitle(n.column));
                result.rows.clear();
                return result;
            }
            *n.target = n.cell.number.ok() ? n.cell.number.value : 0;
        }
        result.rows.append(row);
    }
    return result;
}

} // namespace results

#include "results/mixcharacteristics.h"

#include "results/cellnumber.h"
#include "settings/settings.h"
#include "store/numbertext.h"

#include <cmath>

namespace results
{

using store::fixedText;
using store::round2;

namespace
{

// Percentages within this of 100 need no filler.
constexpr double kPercentTolerance = 0.005;
// From this level on, levels and norms are shown without decimals.
constexpr double kWholeFrom = 45;

// The inputs are stored with three decimals; their sum is written without the binary
// noise of the addition, so that 99.9 is not shown as 99.8999999999999.
QString sumText(double x)
{
    return generalText(store::roundTo(x, 9));
}

QString negativeInput(const MixLine &line)
{
    return QStringLiteral("Ввод сырья \"%1\" отрицательный (%2). Смесь не может содержать "
                          "отрицательное количество сырья... Исправьте...")
        .arg(line.name.trimmed(), generalText(line.input));
}

double sumOfInputs(const QList<MixLine> &lines)
{
    double total = 0;
    for (const MixLine &line : lines)
        total += line.input;
    return total;
}

// Mass mode: each line's share rounded to kopeck precision, the first largest line
// taking what is left to 100.
void derivePercentages(QList<MixLine> &lines, double total)
{
    double sum = 0;
    int largest = -1;
    for (int i = 0; i < lines.size(); ++i) {
        lines[i].percent = round2(lines[i].input * 100 / total);
        sum += lines[i].percent;
        if (largest < 0 || lines[i].percent > lines[largest].percent)
            largest = i;
    }
    if (largest >= 0)
        lines[largest].percent = round2(lines[largest].percent + 100 - sum);
}

std::vector<double> levelsOf(const MixInput &input, double total)
{
    std::vector<double> levels;
    levels.reserve(size_t(input.characteristics.size()));
    for (const MixCharacteristic &row : input.characteristics) {
        double sum = 0;
        for (const MixLine &line : input.lines)
            sum += line.content(row.key) * line.input;
        levels.push_back(sum / total);
    }
    return levels;
}

// The mean raw-material price of one tonne: the price row's level, or the lines' prices
// weighted by their inputs when the list has no price row.
double meanRawPrice(const MixInput &input, const std::vector<double> &levels, double total)
{
    for (int m = 0; m < input.characteristics.size(); ++m)
        if (input.characteristics.at(m).key == 1)
            return levels[size_t(m)];
    double sum = 0;
    for (const MixLine &line : input.lines)
        sum += line.price * line.input;
    return sum / total;
}

} // namespace

QString productFormLetter(ProductForm form)
{
    switch (form) {
    case ProductForm::Granules:
        return QStringLiteral("Г");
    case ProductForm::Crumbs:
        return QStringLiteral("К");
    case ProductForm::Loose:
        break;
    }
    return {};
}

double MixLine::content(int key) const
{
    return key >= 0 && size_t(key) < contents.size() ? contents[size_t(key)] : 0.0;
}

MixPrice mixPrice(double meanRawPrice, double taxRate, ProductForm form,
                  const settings::Settings &values)
{
    PriceSettings s = PriceSettings::fromSettings(values);
    if (form == ProductForm::Loose)
        s.granulationSurcharge = 0;
    MixPrice price;
    price.build = buildPrice(round2(meanRawPrice), taxRate, s);
    FeedPrice &b = price.build;
    if (values.roundWholesalePrice) {
        // the tax is computed from the rounded price
        b.priceNoTax = store::roundHalfEven(b.priceNoTax);
        b.taxAmount = round2(b.priceNoTax * taxRate / 100);
    }
    price.sellingPrice = b.priceNoTax + b.taxAmount;
    if (values.roundSellingPrice)
        price.sellingPrice = store::roundHalfEven(price.sellingPrice);
    b.namePrice = values.namePriceWithoutTax ? b.priceNoTax : price.sellingPrice;
    price.sellingText = fixedText(price.sellingPrice, 12, values.roundSellingPrice ? 0 : 2);
    price.label =
        QStringLiteral("Отпускная цена 1Т с НДС") + price.sellingText + QStringLiteral(" руб.");
    price.nameText = values.namePriceWithoutTax
                         ? fixedText(b.priceNoTax, 12, values.roundWholesalePrice ? 0 : 2)
                         : price.sellingText;
    price.nameText = price.nameText.trimmed();
    return price;
}

MixResult computeMix(const MixInput &input, const settings::Settings &values)
{
    MixResult result;
    // A loss norm or profitability out of range would price the mix as nonsense.
    if (const QStringList problems = settings::settingsRangeProblems(values); !problems.isEmpty()) {
        result.refusal = MixRefusal::SettingsOutOfRange;
        result.error = problems.join(QLatin1Char('\n'));
        return result;
    }
    if (input.mode == MixMode::Percent && input.volume == 0) {
        result.refusal = MixRefusal::NoVolume;
        result.error = QStringLiteral("Не введен объем выработки...");
        return result;
    }
    for (const MixLine &line : input.lines) {
        if (line.input < 0) {
            result.refusal = MixRefusal::NegativeInput;
            result.error = negativeInput(line);
            return result;
        }
    }
    double total = sumOfInputs(input.lines);
    result.total = total;
    if (total == 0) {
        result.refusal = MixRefusal::NoInput;
        result.error = QStringLiteral("Ввод сырья не задан!!!");
        return result;
    }
    result.lines = input.lines;
    if (input.mode == MixMode::Percent) {
        for (MixLine &line : result.lines)
            line.percent = line.input;
        if (std::abs(total - 100) > kPercentTolerance) {
            result.fillerAdded = true;
            result.fillerPercent = 100 - total;
            result.fillerMessage =
                QStringLiteral("Набрано ") + sumText(total) +
                QStringLiteral("% !!!         Добавляем нейтральный бесплатный наполнитель.");
            result.fillerLabel =
                QStringLiteral("Наполнитель ") + sumText(100 - total) + QStringLiteral("%");
            total = 100;
            result.total = total;
        }
    }
    result.levels = levelsOf(input, total);
    for (double level : result.levels)
        result.facts.append(levelCell(level));
    result.price =
        mixPrice(meanRawPrice(input, result.levels, total), input.taxRate, input.form, values);
    if (input.mode == MixMode::Mass)
        derivePercentages(result.lines, total);
    return result;
}

CellValue levelCell(double level)
{
    return CellValue::fixed(level, 12, level >= kWholeFrom ? 0 : 2);
}

CellValue normCell(double norm)
{
    if (norm == 0)
        return {};
    return norm >= kWholeFrom ? CellValue::fixed(norm, 6, 0) : CellValue::general(norm);
}

QString productWithPrice(const QString &product, const QString &namePrice)
{
    return product.trimmed() + QLatin1Char('-') + namePrice + QLatin1Char('-');
}

QString productWithoutPrice(const QString &product, const QString &namePrice)
{
    if (namePrice.isEmpty())
        return product;
    const int at = product.lastIndexOf(QLatin1Char('-') + namePrice);
    return at < 0 ? product : product.left(at);
}

} // namespace results

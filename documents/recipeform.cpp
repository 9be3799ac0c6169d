#include "documents/recipeform.h"

#include "documents/recipedocument.h"
#include "store/numbertext.h"

namespace documents
{

using store::fixedText;
using store::padded;
using store::rightAligned;

namespace
{

constexpr int kHeadLines = 5;        // name, purpose (two lines), weight and dates, note
constexpr int kFullRawChars = 69;    // name, share, price and cost
constexpr int kShortRawChars = 38;   // name and share
constexpr int kCharHeadChars = 50;   // name, unit and norm
constexpr int kValueChars = 8;       // a characteristic's value
constexpr int kActualValueFrom = 62; // where the actual value stands in the document line

QString spaces(int n)
{
    return QString(n, QLatin1Char(' '));
}

} // namespace

QStringList formRawHeadings(RecipeForm form)
{
    const QString second =
        spaces(11) + QStringLiteral("Состав сырья") + spaces(10) + QStringLiteral("%ввода");
    if (form == RecipeForm::Full) {
        return {spaces(42) + QStringLiteral("Оптовая цена") + spaces(6) +
                    QStringLiteral("Стоимость в") + spaces(3) + QStringLiteral("Количество на") +
                    spaces(3) + QStringLiteral("Количество на"),
                second,
                spaces(41) + QStringLiteral("за 1 тонну, руб.") + spaces(2) +
                    QStringLiteral("рецепте, руб.") + spaces(4) + QStringLiteral("партию") +
                    spaces(7) + QStringLiteral("партию с потерями ")};
    }
    return {
        spaces(41) + QStringLiteral("Количество на") + spaces(2) + QStringLiteral("Количество на"),
        second,
        spaces(45) + QStringLiteral("партию") + spaces(5) + QStringLiteral("партию с потерями ")};
}

QString formRawLine(const RecipeDocument &document, int k, RecipeForm form)
{
    const QString &source = document.lines().at(RecipeDocument::kFirstRawLine + k);
    const int cut = form == RecipeForm::Full ? kFullRawChars : kShortRawChars;
    return source.left(cut) + rightAligned(fixedText(document.batch(k), 14, 4), 15) +
           fixedText(document.batchWithLosses(k), 14, 4);
}

QString formCharLine(const RecipeDocument &document, int i, bool actualValues)
{
    const QString &source = document.lines().at(document.firstCharLine() + i);
    if (!actualValues)
        return source.left(kCharHeadChars + kValueChars);
    return source.left(kCharHeadChars) + source.mid(kActualValueFrom, kValueChars);
}

QStringList formCostLines(const RecipeDocument &document, RecipeForm form)
{
    // wholesale, tax, selling and volume are the last four of the ten
    const int first = form == RecipeForm::NoFinance ? 6 : 0;
    return document.lines().mid(document.firstCostLine() + first, 10 - first);
}

QStringList formText(const RecipeDocument &document, RecipeForm form, bool actualValues)
{
    if (document.isEmpty())
        return {};
    QStringList text = document.lines().mid(0, kHeadLines);
    text << formRawHeadings(form);
    for (int k = 0; k < document.rawCount(); ++k)
        text << formRawLine(document, k, form);
    // the printed quality block's words over the columns of the screen lines
    text << RecipeDocument::kRule
         << padded(QStringLiteral("Показатели качества"), 34) +
                padded(QStringLiteral("Норматив"), 16) +
                rightAligned(QStringLiteral("Факт"), kValueChars)
         << RecipeDocument::kRule;
    for (int i = 0; i < document.charCount(); ++i)
        text << formCharLine(document, i, actualValues);
    text << RecipeDocument::kRule << QStringLiteral("Стоимостные показатели, руб.")
         << RecipeDocument::kRule << formCostLines(document, form) << RecipeDocument::kRule;
    return text;
}

} // namespace documents

#include "documents/recipeexport.h"

#include "documents/recipedocument.h"
#include "store/numbertext.h"

namespace documents
{

namespace
{

constexpr int kSignatureWidth = 48;
const QString kMark = QStringLiteral("\n");
const QString kUnderline(16, QLatin1Char('_'));

// Characters from..to of a line, counted from 1.
QString chars(const QString &line, int from, int to)
{
    return line.mid(from - 1, to - from + 1);
}

// A column of a table body: a mark first, then every value followed by a mark.
QString columnText(const QStringList &values)
{
    QString text = kMark;
    for (const QString &v : values)
        text += v + kMark;
    return text;
}

DocxFormat format(double size, bool bold, DocxAlign align)
{
    return {size, bold, align, 0};
}

// A header cell: centred both ways.
DocxCell headerCell(const QString &text, double size)
{
    DocxCell cell = DocxCell::fromText(text, format(size, false, DocxAlign::Centre));
    cell.centredVertically = true;
    return cell;
}

// Lines of the text from `first` up to (not including) the next rule.
QStringList blockLines(const QStringList &lines, int first)
{
    QStringList block;
    for (int i = first; i < lines.size() && !lines.at(i).contains(RecipeDocument::kRuleMarker); ++i)
        block << lines.at(i);
    return block;
}

void addHead(DocxDocument &docx, const RecipeDocument &document, const RecipePageTexts &texts)
{
    const ArchivedRecipe &r = document.recipe();
    docx.addText(texts.enterprise + kMark + kMark, format(14, true, DocxAlign::Centre));
    docx.addText(QStringLiteral("УТВЕРЖДАЮ        ") + kMark, format(14, true, DocxAlign::Right));
    const QString approver = texts.approverName.isEmpty()
                                 ? kUnderline
                                 : QLatin1Char('/') + texts.approverName + QLatin1Char('/');
    docx.addText(texts.approverPost + kUnderline + approver + kMark,
                 format(14, false, DocxAlign::Right));
    docx.addText(QStringLiteral("Дата печати ") + texts.printDate + kMark,
                 format(10, false, DocxAlign::Left));
    docx.addText(QStringLiteral("Дата расчета ") + r.data + QStringLiteral("   Примечание. ") +
                     r.prim + kMark + kMark,
                 format(8, false, DocxAlign::Left));
}

void addSpacer(DocxDocument &docx)
{
    docx.addText(kMark, format(3, false, DocxAlign::Left));
}

void addTitleFrame(DocxDocument &docx, const RecipeDocument &document)
{
    DocxTable frame = DocxTable::sized(1, {522});
    frame.outside = DocxBorder::Double;
    frame.rows[0][0] = headerCell(RecipeDocument::titleText(document.recipe()) + kMark +
                                      RecipeDocument::purposeText(document.recipe().nasn),
                                  14);
    docx.addTable(frame);
    addSpacer(docx);
}

void addRawTable(DocxDocument &docx, const RecipeDocument &document, RecipeForm form)
{
    const bool full = form == RecipeForm::Full;
    QStringList names, shares, prices, costs, batch, withLosses;
    const QStringList lines = blockLines(document.lines(), RecipeDocument::kFirstRawLine);
    for (int k = 0; k < lines.size() && k < document.rawCount(); ++k) {
        const QString &line = lines.at(k);
        names << chars(line, 1, 31);
        shares << chars(line, 33, 38).trimmed();
        prices << chars(line, 39, 55).trimmed();
        costs << chars(line, 56, 69).trimmed();
        batch << store::fixedText(document.batch(k), 14, 4).trimmed();
        withLosses << store::fixedText(document.batchWithLosses(k), 14, 4).trimmed();
    }
    QStringList headers = {QStringLiteral("Состав сырья"), QStringLiteral("%\nввода")};
    QList<QStringList> columns = {names, shares};
    QList<double> widths = {155, 35};
    if (full) {
        headers << QStringLiteral("Оптовая цена\nза 1 тонну, руб.")
                << QStringLiteral("Стоимость в\nрецепте, руб.");
        columns << prices << costs;
        widths << 88 << 74;
    }
    headers << QStringLiteral("Количество на\nпартию")
            << QStringLiteral("Количество на\nпартию с потерями");
    columns << batch << withLosses;
    widths << 78 << 93;

    DocxTable table = DocxTable::sized(2, widths);
    for (int c = 0; c < widths.size(); ++c) {
        table.rows[0][c] = headerCell(headers.at(c), 8);
        const DocxAlign align = c == 0 ? DocxAlign::Left : DocxAlign::Right;
        table.rows[1][c] = DocxCell::fromText(columnText(columns.at(c)), format(8, false, align));
    }
    docx.addTable(table);
    addSpacer(docx);
}

void addQualityTable(DocxDocument &docx, const RecipeDocument &document, RecipeForm form,
                     bool actualValues)
{
    const bool withCosts = form != RecipeForm::NoFinance;
    QStringList names, norms, values;
    for (const QString &line : blockLines(document.lines(), document.firstCharLine())) {
        names << chars(line, 1, 34).trimmed();
        norms << chars(line, 35, 50).trimmed();
        values << (actualValues ? chars(line, 63, 70) : chars(line, 51, 58)).trimmed();
    }
    QStringList headers = {QStringLiteral("Показатели качества"), QStringLiteral("Норматив"),
                           QStringLiteral("Факт")};
    QList<double> widths = {165, 93, 50};
    if (withCosts) {
        headers << QStringLiteral("Стоимостные показатели руб.");
        widths << 215;
    }
    DocxTable table = DocxTable::sized(2, widths);
    const DocxFormat left = format(8, false, DocxAlign::Left);
    for (int c = 0; c < widths.size(); ++c)
        table.rows[0][c] = headerCell(headers.at(c), 8);
    table.rows[1][0] = DocxCell::fromText(columnText(names), left);
    table.rows[1][1] = DocxCell::fromText(columnText(norms), left);
    table.rows[1][2] = DocxCell::fromText(columnText(values), format(8, false, DocxAlign::Right));
    if (withCosts) {
        const QStringList costs = document.lines().mid(document.firstCostLine(), 10);
        table.rows[1][3] = DocxCell::fromText(columnText(costs), left);
    }
    docx.addTable(table);
}

void addSignatures(DocxDocument &docx, const RecipePageTexts &texts)
{
    QStringList s;
    for (int i = 0; i < 5; ++i)
        s << recipeSignature(texts.signerPosts.at(i), texts.signerNames.at(i));
    const QString gap(7, QLatin1Char(' '));
    const QString twoMarks = kMark + kMark;
    docx.addText(twoMarks + s.at(0) + gap + s.at(1) + twoMarks + s.at(2) + gap + s.at(3) +
                     twoMarks + s.at(4),
                 format(8, false, DocxAlign::Left));
}

} // namespace

QString recipeSignature(const QString &post, const QString &name)
{
    const QString p = post.trimmed();
    if (p.isEmpty())
        return {};
    const QString n = name.trimmed();
    const QString namePart = n.isEmpty() ? QString() : QLatin1Char('/') + n + QLatin1Char('/');
    const int underscores = std::max(0, kSignatureWidth - int(p.size() + namePart.size()));
    return p + QString(underscores, QLatin1Char('_')) + namePart;
}

DocxDocument recipeDocx(const RecipeDocument &document, const RecipePageTexts &texts,
                        RecipeForm form, bool actualValues)
{
    DocxDocument docx;
    docx.setMargins({60, 36, 18, 18});
    if (document.isEmpty())
        return docx;
    addHead(docx, document, texts);
    addTitleFrame(docx, document);
    addRawTable(docx, document, form);
    addQualityTable(docx, document, form, actualValues);
    addSignatures(docx, texts);
    return docx;
}

} // namespace documents

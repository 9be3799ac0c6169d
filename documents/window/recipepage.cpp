#include "documents/window/recipepage.h"

#include "documents/recipedocument.h"
#include "settings/settings.h"
#include "store/numbertext.h"
#include "store/splitline.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

namespace documents
{

using store::fixedText;
using store::rightAligned;

namespace
{

constexpr double kBandWidth = 4060;     // width of the bands the title is centred in
constexpr int kPageOneTitleTop = 820;   // top of the outer title frame, page 1
constexpr int kContinuationTop = 320;   // the same on the continuation page
constexpr int kNoteChars = 105;         // characters per note line
constexpr int kSignatureNameChars = 62; // a signatory's "/name/" is cut to this

QString spaces(int n)
{
    return QString(n, QLatin1Char(' '));
}

// The three heading lines of the printed raw-material table.
QStringList printedHeadings(RecipeForm form)
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

const QString kQualityHeading = QStringLiteral("Показатели качества") + spaces(13) +
                                QStringLiteral("Норматив") + spaces(9) + QStringLiteral("Факт") +
                                spaces(10) + QStringLiteral("Стоимостные показатели руб.");

} // namespace

RecipePage::RecipePage(QPainter *painter, std::function<bool()> newPage)
    : painter_(painter), newPage_(std::move(newPage))
{
    if (!newPage_) {
        newPage_ = [painter] {
            auto *paged = dynamic_cast<QPagedPaintDevice *>(painter->device());
            return paged != nullptr && paged->newPage();
        };
    }
    sx_ = double(painter_->device()->width()) / kVirtualWidth;
    sy_ = double(painter_->device()->height()) / kVirtualHeight;
}

int RecipePage::x(double v) const
{
    return int(store::roundHalfEven(v * sx_));
}

int RecipePage::y(double v) const
{
    return int(store::roundHalfEven(v * sy_));
}

void RecipePage::setFont(int pointSize, bool bold)
{
    font_ = QFont(QStringLiteral("Courier New"));
    font_.setStyleHint(QFont::TypeWriter);
    font_.setPointSize(pointSize);
    font_.setBold(bold);
    painter_->setFont(font_);
}

void RecipePage::text(int px, int py, const QString &s)
{
    painter_->drawText(px, py + painter_->fontMetrics().ascent(), s);
}

void RecipePage::textAt(double vx, double vy, const QString &s)
{
    text(x(vx), y(vy), s);
}

void RecipePage::textEndingAt(double vx, double vy, const QString &s)
{
    text(x(vx) - painter_->fontMetrics().horizontalAdvance(s), y(vy), s);
}

void RecipePage::centred(double band, double vy, const QString &s)
{
    const int width = painter_->fontMetrics().horizontalAdvance(s);
    text(x(band) + (x(kBandWidth) - width) / 2, y(vy), s);
}

void RecipePage::rectangle(double x1, double y1, double x2, double y2)
{
    painter_->drawRect(x(x1), y(y1), x(x2) - x(x1), y(y2) - y(y1));
}

void RecipePage::line(int x1, int y1, int x2, int y2)
{
    painter_->drawLine(x1, y1, x2, y2);
}

int RecipePage::draw(const RecipeDocument &document, const RecipePageTexts &texts, RecipeForm form,
                     bool actualValues)
{
    if (document.isEmpty())
        return 0;
    pages_ = 1;
    painter_->save();
    painter_->setPen(QPen(Qt::black, x(5)));
    painter_->setBrush(Qt::NoBrush);

    drawHeader(document, texts);
    const QString purpose = RecipeDocument::purposeText(document.recipe().nasn.trimmed());
    const QString title = RecipeDocument::titleText(document.recipe());
    if (purpose.size() <= 61) {
        drawTitle(kPageOneTitleTop, title, purpose, QString(), false);
    } else {
        const store::SplitText parts = store::splitLine(purpose, purpose.size() < 72 ? 61 : 71);
        drawTitle(kPageOneTitleTop, title, parts.first, parts.rest, true);
    }

    const int bottom = drawRawTable(document, form);
    int y0 = y(bottom + 30);
    const int q = document.charCount();
    const int h = form == RecipeForm::NoFinance ? 720 : 1320;
    const int needed = std::max(y(100 * q + 210), y(h)) + y(900);
    if (needed > y(kVirtualHeight) - y0 && newPage_()) {
        pages_ = 2;
        drawContinuationTitle(document);
        y0 = y(810);
    }
    const int blockEnd = drawQualityBlock(document, form, actualValues, y0);
    drawSignatures(texts, blockEnd);
    painter_->restore();
    return pages_;
}

void RecipePage::drawHeader(const RecipeDocument &document, const RecipePageTexts &texts)
{
    setFont(14, true);
    textAt(1600, 100, texts.enterprise);
    textAt(2600, 300, QStringLiteral("УТВЕРЖДАЮ"));
    setFont(14);
    textEndingAt(4500, 500,
                 texts.approverPost + QStringLiteral("________________/") + texts.approverName +
                     QLatin1Char('/'));
    setFont(10);
    textAt(400, 580, QStringLiteral("Дата печати ") + texts.printDate);
    setFont(8);
    const ArchivedRecipe &r = document.recipe();
    const QString note =
        QStringLiteral("Дата расчета ") + r.data + QStringLiteral("   Примечание. ") + r.prim;
    textAt(400, 660, note.left(kNoteChars));
    textAt(400, 740, note.mid(kNoteChars, kNoteChars));
}

// The double frame and the title inside it: two lines in 14 pt, or three in 12 pt when
// the purpose takes two lines.
void RecipePage::drawTitle(double top, const QString &title, const QString &purpose,
                           const QString &purposeRest, bool threeLines)
{
    rectangle(400, top, 4500, top + 410);
    rectangle(420, top + 20, 4480, top + 390);
    if (threeLines) {
        setFont(12);
        centred(450, top + 50, title);
        centred(420, top + 150, purpose);
        centred(420, top + 250, purposeRest);
    } else {
        setFont(14);
        centred(450, top + 75, title);
        centred(450, top + 215, purpose);
    }
}

void RecipePage::drawContinuationTitle(const RecipeDocument &document)
{
    setFont(8);
    textAt(400, 220, QStringLiteral("ЛИСТ 2"));
    const QString nasn = document.recipe().nasn.trimmed();
    const QString first = RecipeDocument::purposeText(nasn.left(60));
    const QString rest = nasn.mid(60, 60);
    const QString title = RecipeDocument::titleText(document.recipe());
    drawTitle(kContinuationTop, title, first, rest, !rest.isEmpty());
    setFont(8);
}

int RecipePage::drawRawTable(const RecipeDocument &document, RecipeForm form)
{
    rectangle(400, 1260, 4500, 1520);
    setFont(8);
    const QStringList headings = printedHeadings(form);
    for (int i = 0; i < headings.size(); ++i)
        textAt(450, 1310 + 50 * i, headings.at(i));
    const int cut = form == RecipeForm::Full ? 69 : 38;
    const int n = document.rawCount();
    for (int k = 1; k <= n; ++k) {
        const QString &source = document.lines().at(RecipeDocument::kFirstRawLine + k - 1);
        textAt(450, 1480 + 100 * k,
               source.left(cut) + rightAligned(fixedText(document.batch(k - 1), 14, 4), 15) +
                   fixedText(document.batchWithLosses(k - 1), 14, 4));
    }
    const int bottom = 1480 + 100 * (n + 1);
    const QList<int> rules = form == RecipeForm::Full
                                 ? QList<int>{400, 1670, 1950, 2630, 3192, 3740, 4500}
                                 : QList<int>{400, 1670, 1950, 2520, 3240, 3740, 4500};
    for (int at : rules)
        line(x(at), y(1260), x(at), y(bottom));
    line(x(4500), y(bottom), x(400), y(bottom));
    return bottom;
}

int RecipePage::drawQualityBlock(const RecipeDocument &document, RecipeForm form, bool actualValues,
                                 int y0)
{
    setFont(8);
    painter_->drawRect(x(400), y0, x(4500) - x(400), y(150));
    text(x(600), y0 + y(50), kQualityHeading);
    const int q = document.charCount();
    for (int i = 1; i <= q; ++i) {
        const QString &source = document.lines().at(document.firstCharLine() + i - 1);
        const QString shown = actualValues ? source.left(50) + source.mid(62, 8) : source.left(58);
        text(x(450), y0 + y(100 * i + 120), QLatin1Char(' ') + shown);
    }
    const int tableBottom = y0 + y(100 * q + 210);
    for (int at : {400, 1740, 2430, 2740})
        line(x(at), y0, x(at), tableBottom);
    line(x(2740), tableBottom, x(400), tableBottom);

    const int e = document.costRuleIndex();
    const QList<std::pair<int, int>> costs =
        form == RecipeForm::NoFinance
            ? QList<std::pair<int, int>>{{9, 220}, {10, 320}, {11, 520}, {12, 620}}
            : QList<std::pair<int, int>>{{3, 220}, {4, 320}, {5, 420},  {6, 520},   {7, 620},
                                         {8, 720}, {9, 820}, {10, 920}, {11, 1120}, {12, 1220}};
    for (const auto &[offset, at] : costs)
        text(x(2790), y0 + y(at), document.lines().at(e + offset));
    const int h = form == RecipeForm::NoFinance ? 720 : 1320;
    line(x(2740), y0, x(2740), y0 + y(h));
    line(x(3790), y0 + y(150), x(3790), y0 + y(h));
    line(x(4500), y0 + y(150), x(4500), y0 + y(h));
    line(x(4500), y0 + y(h), x(2740), y0 + y(h));
    return std::max(tableBottom, y0 + y(h));
}

void RecipePage::drawSignatures(const RecipePageTexts &texts, int bottom)
{
    setFont(8);
    const auto sign = [&](int i, double postX, double nameEnd, int row) {
        const int py = bottom + y(row);
        if (!texts.signerPosts.at(i).isEmpty())
            text(x(postX), py, texts.signerPosts.at(i));
        if (!texts.signerNames.at(i).isEmpty()) {
            const QString name = (QLatin1Char('/') + texts.signerNames.at(i) + QLatin1Char('/'))
                                     .left(kSignatureNameChars);
            text(x(nameEnd) - painter_->fontMetrics().horizontalAdvance(name), py, name);
        }
    };
    sign(0, 450, 2300, 200);
    sign(1, 2400, 4520, 200);
    sign(2, 450, 2300, 400);
    sign(3, 2400, 4520, 400);
    sign(4, 450, 2300, 600);
}

} // namespace documents

#include "documents/window/recipepage.h"

#include "documents/recipedocument.h"
#include "documents/recipeform.h"
#include "documents/window/textplacement.h"
#include "settings/settings.h"
#include "store/numbertext.h"
#include "store/splitline.h"

#include <QPainter>

#include <algorithm>

namespace documents
{

using store::wrapText;

namespace
{

constexpr double kBandWidth = 4060;     // width of the bands the title is centred in
constexpr int kPageOneTitleTop = 820;   // top of the outer title frame, page 1
constexpr int kContinuationTop = 320;   // the same on the continuation page
constexpr int kNoteChars = 105;         // characters per note line
constexpr int kSignatureNameChars = 62; // a signatory's "/name/" is cut to this
constexpr int kFrameLeft = 400;         // the frames' left and right edges
constexpr int kFrameRight = 4500;
constexpr int kHeadClearance = 10;    // between a head pushed down and the title frame
constexpr int kSignatureRowGap = 100; // between a signature row pushed down and the next

QString spaces(int n)
{
    return QString(n, QLatin1Char(' '));
}

const QString kQualityHeading = QStringLiteral("Показатели качества") + spaces(13) +
                                QStringLiteral("Норматив") + spaces(9) + QStringLiteral("Факт") +
                                spaces(10) + QStringLiteral("Стоимостные показатели руб.");

} // namespace

RecipePage::RecipePage(QPainter *painter, std::function<bool()> newPage)
    : painter_(painter), page_(painter, std::move(newPage))
{
}

void RecipePage::text(int px, int py, const QString &s)
{
    if (drawing_)
        page_.text(px, py, s);
}

void RecipePage::textAt(double vx, double vy, const QString &s)
{
    text(x(vx), y(vy), s);
}

void RecipePage::centred(double band, double vy, const QString &s)
{
    const int width = painter_->fontMetrics().horizontalAdvance(s);
    text(x(band) + (x(kBandWidth) - width) / 2, y(vy), s);
}

int RecipePage::charsBetween(double from, double to) const
{
    const int advance = painter_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    return advance > 0 ? (x(to) - x(from)) / advance : 0;
}

int RecipePage::placeLines(TextPlacement &placed, const QStringList &lines, Anchor anchor,
                           double vx, int top)
{
    const QFontMetrics metrics = painter_->fontMetrics();
    int bottom = top;
    for (const QString &s : lines) {
        const int width = metrics.horizontalAdvance(s);
        const int left = anchor == Anchor::Left ? x(vx) : x(vx) - width;
        const QRect box = placed.place(QRect(left, top, width, metrics.height()));
        text(box.x(), box.y(), s);
        bottom = box.y() + metrics.height();
        top = box.y() + metrics.lineSpacing();
    }
    return bottom;
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

    // A head that grows past the title frame moves the rest of page 1 down with it.
    const int headBottom = drawHeader(document, texts);
    const int shift =
        headBottom > y(kPageOneTitleTop) ? headBottom - y(kPageOneTitleTop - kHeadClearance) : 0;
    painter_->translate(0, shift);
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
    const int below = std::max(y(900), signaturesHeight(texts) + y(kSignatureRowGap));
    const int needed = std::max(y(100 * q + 210), y(h)) + below;
    if (needed > y(kVirtualHeight) - shift - y0 && page_.newPage()) {
        pages_ = 2;
        painter_->translate(0, -shift);
        drawContinuationTitle(document);
        y0 = y(810);
    }
    const int blockEnd = drawQualityBlock(document, form, actualValues, y0);
    drawSignatures(texts, blockEnd);
    painter_->restore();
    return pages_;
}

int RecipePage::drawHeader(const RecipeDocument &document, const RecipePageTexts &texts)
{
    TextPlacement placed;
    page_.setFont(14, true);
    const QStringList enterprise = wrapText(texts.enterprise, charsBetween(1600, kFrameRight));
    const int enterpriseBottom = placeLines(placed, enterprise, Anchor::Left, 1600, y(100));
    // under a name that takes two lines, not beside its second line
    placeLines(placed, {QStringLiteral("УТВЕРЖДАЮ")}, Anchor::Left, 2600,
               enterprise.size() > 1 ? std::max(y(300), enterpriseBottom) : y(300));
    page_.setFont(14);
    const QString signature =
        QStringLiteral("________________/") + texts.approverName + QLatin1Char('/');
    const int chars = charsBetween(kFrameLeft, kFrameRight);
    const QString approver = texts.approverPost + signature;
    const QStringList approverLines =
        approver.size() <= chars ? QStringList{approver}
                                 : wrapText(texts.approverPost, chars) + wrapText(signature, chars);
    placeLines(placed, approverLines, Anchor::Right, kFrameRight, y(500));
    page_.setFont(10);
    placeLines(placed, {QStringLiteral("Дата печати ") + texts.printDate}, Anchor::Left, 400,
               y(580));
    page_.setFont(8);
    const ArchivedRecipe &r = document.recipe();
    const QString note =
        QStringLiteral("Дата расчета ") + r.data + QStringLiteral("   Примечание. ") + r.prim;
    placeLines(placed, {note.left(kNoteChars)}, Anchor::Left, 400, y(660));
    placeLines(placed, {note.mid(kNoteChars, kNoteChars)}, Anchor::Left, 400, y(740));
    return placed.bottom(y(740));
}

// The double frame and the title inside it: two lines in 14 pt, or three in 12 pt when
// the purpose takes two lines.
void RecipePage::drawTitle(double top, const QString &title, const QString &purpose,
                           const QString &purposeRest, bool threeLines)
{
    page_.rectangle(400, top, 4500, top + 410);
    page_.rectangle(420, top + 20, 4480, top + 390);
    if (threeLines) {
        page_.setFont(12);
        centred(450, top + 50, title);
        centred(420, top + 150, purpose);
        centred(420, top + 250, purposeRest);
    } else {
        page_.setFont(14);
        centred(450, top + 75, title);
        centred(450, top + 215, purpose);
    }
}

void RecipePage::drawContinuationTitle(const RecipeDocument &document)
{
    page_.setFont(8);
    textAt(400, 220, QStringLiteral("ЛИСТ 2"));
    const QString nasn = document.recipe().nasn.trimmed();
    const QString first = RecipeDocument::purposeText(nasn.left(60));
    const QString rest = nasn.mid(60, 60);
    const QString title = RecipeDocument::titleText(document.recipe());
    drawTitle(kContinuationTop, title, first, rest, !rest.isEmpty());
    page_.setFont(8);
}

int RecipePage::drawRawTable(const RecipeDocument &document, RecipeForm form)
{
    page_.rectangle(400, 1260, 4500, 1520);
    page_.setFont(8);
    const QStringList headings = formRawHeadings(form);
    for (int i = 0; i < headings.size(); ++i)
        textAt(450, 1310 + 50 * i, headings.at(i));
    const int n = document.rawCount();
    for (int k = 1; k <= n; ++k)
        textAt(450, 1480 + 100 * k, formRawLine(document, k - 1, form));
    const int bottom = 1480 + 100 * (n + 1);
    const QList<int> rules = form == RecipeForm::Full
                                 ? QList<int>{400, 1670, 1950, 2630, 3192, 3740, 4500}
                                 : QList<int>{400, 1670, 1950, 2520, 3240, 3740, 4500};
    for (int at : rules)
        page_.line(x(at), y(1260), x(at), y(bottom));
    page_.line(x(4500), y(bottom), x(400), y(bottom));
    return bottom;
}

int RecipePage::drawQualityBlock(const RecipeDocument &document, RecipeForm form, bool actualValues,
                                 int y0)
{
    page_.setFont(8);
    painter_->drawRect(x(400), y0, x(4500) - x(400), y(150));
    text(x(600), y0 + y(50), kQualityHeading);
    const int q = document.charCount();
    for (int i = 1; i <= q; ++i)
        text(x(450), y0 + y(100 * i + 120),
             QLatin1Char(' ') + formCharLine(document, i - 1, actualValues));
    const int tableBottom = y0 + y(100 * q + 210);
    for (int at : {400, 1740, 2430, 2740})
        page_.line(x(at), y0, x(at), tableBottom);
    page_.line(x(2740), tableBottom, x(400), tableBottom);

    // the selling price and the volume stand apart from the lines above them
    const QStringList costs = formCostLines(document, form);
    const QList<int> places = form == RecipeForm::NoFinance
                                  ? QList<int>{220, 320, 520, 620}
                                  : QList<int>{220, 320, 420, 520, 620, 720, 820, 920, 1120, 1220};
    for (int i = 0; i < costs.size() && i < places.size(); ++i)
        text(x(2790), y0 + y(places.at(i)), costs.at(i));
    const int h = form == RecipeForm::NoFinance ? 720 : 1320;
    page_.line(x(2740), y0, x(2740), y0 + y(h));
    page_.line(x(3790), y0 + y(150), x(3790), y0 + y(h));
    page_.line(x(4500), y0 + y(150), x(4500), y0 + y(h));
    page_.line(x(4500), y0 + y(h), x(2740), y0 + y(h));
    return std::max(tableBottom, y0 + y(h));
}

// Three rows of two signatories (the fifth alone), 200 units apart; a row that grew with
// wrapped texts pushes the next one down.
int RecipePage::drawSignatures(const RecipePageTexts &texts, int bottom)
{
    page_.setFont(8);
    TextPlacement placed;
    int rowBottom = bottom;
    for (int row = 0; row < 3; ++row) {
        const int top =
            std::max(bottom + y(200 * (row + 1)), row == 0 ? 0 : rowBottom + y(kSignatureRowGap));
        const int left = 2 * row;
        rowBottom = drawSignature(placed, texts.signerPosts.at(left), texts.signerNames.at(left),
                                  450, 2300, top);
        if (left + 1 < int(texts.signerPosts.size())) {
            rowBottom = std::max(rowBottom, drawSignature(placed, texts.signerPosts.at(left + 1),
                                                          texts.signerNames.at(left + 1), 2400,
                                                          kFrameRight, top));
        }
    }
    return rowBottom;
}

// A post from postX and "/name/" ending at nameEnd: on one line when a blank stays
// between them, else the name under the post; each wrapped to the room between the two.
int RecipePage::drawSignature(TextPlacement &placed, const QString &post, const QString &name,
                              double postX, double nameEnd, int top)
{
    const int chars = charsBetween(postX, nameEnd);
    const QStringList postLines = wrapText(post, chars);
    const QStringList nameLines =
        name.isEmpty()
            ? QStringList{}
            : wrapText((QLatin1Char('/') + name + QLatin1Char('/')).left(kSignatureNameChars),
                       chars);
    int bottom = placeLines(placed, postLines, Anchor::Left, postX, top);
    if (nameLines.isEmpty())
        return bottom;
    const QFontMetrics metrics = painter_->fontMetrics();
    const bool oneLine = postLines.size() <= 1 && nameLines.size() == 1 &&
                         metrics.horizontalAdvance(postLines.value(0) + QLatin1Char(' ') +
                                                   nameLines.first()) <= x(nameEnd) - x(postX);
    const int nameTop = oneLine || postLines.isEmpty() ? top : bottom;
    return std::max(bottom, placeLines(placed, nameLines, Anchor::Right, nameEnd, nameTop));
}

// How far below the quality and cost block the signatures reach (pixels).
int RecipePage::signaturesHeight(const RecipePageTexts &texts)
{
    drawing_ = false;
    const int height = drawSignatures(texts, 0);
    drawing_ = true;
    return height;
}

} // namespace documents

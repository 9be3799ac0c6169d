#pragma once

// The printed recipe document: page 1 and, when the quality and cost block does not
// fit below the raw materials, the continuation page "ЛИСТ 2". Everything is laid out
// on the virtual page of the printed documents (platform::VirtualPage). The same
// drawing serves the printer, a PDF file, the print preview and the tests.
//
// The head and the signatures keep their places, except where texts would print over
// each other or out of the frame (x 400 … 4500): a text too wide for its room is wrapped,
// and a text that would overlap one drawn before it goes down below it (the print date
// under a long approver line; a signatory's name under a long post). When the head
// grows past the title frame, the rest of page 1 moves down with it.

#include "documents/recipepagetexts.h"
#include "platform/virtualpage.h"

#include <QString>

#include <functional>

class QPainter;

namespace documents
{

class RecipeDocument;
class TextPlacement;

class RecipePage final
{
public:
    static constexpr int kVirtualWidth = platform::VirtualPage::kWidth;
    static constexpr int kVirtualHeight = platform::VirtualPage::kHeight;

    // newPage starts the continuation page on the painter's device (a printer's
    // newPage()); without one the painter's device must be a QPagedPaintDevice.
    explicit RecipePage(QPainter *painter, std::function<bool()> newPage = {});

    // Draws the document (its batch amounts as they stand: balance them first).
    // actualValues: the characteristic column shows "Факт" instead of "Расчет".
    // Returns the number of pages drawn (1 or 2); 0 for an empty document.
    int draw(const RecipeDocument &document, const RecipePageTexts &texts, RecipeForm form,
             bool actualValues);

    // Device pixels of a virtual horizontal / vertical value.
    int x(double v) const { return page_.x(v); }
    int y(double v) const { return page_.y(v); }

private:
    Q_DISABLE_COPY_MOVE(RecipePage)

    enum class Anchor { Left, Right }; // the x of a text is its left or its right edge

    // text and textAt draw nothing while the page is only measured
    void text(int px, int py, const QString &s);         // top-left at device pixels
    void textAt(double vx, double vy, const QString &s); // top-left at virtual units
    void centred(double band, double vy, const QString &s);
    int charsBetween(double from, double to) const; // of the current font
    // The lines one under another from `top` (pixels), each placed where it overlaps
    // nothing drawn before; the bottom of the last one.
    int placeLines(TextPlacement &placed, const QStringList &lines, Anchor anchor, double vx,
                   int top);

    int drawHeader(const RecipeDocument &document, const RecipePageTexts &texts); // its bottom
    void drawTitle(double top, const QString &title, const QString &purpose,
                   const QString &purposeRest, bool threeLines);
    void drawContinuationTitle(const RecipeDocument &document);
    int drawRawTable(const RecipeDocument &document, RecipeForm form); // returns Y
    int drawQualityBlock(const RecipeDocument &document, RecipeForm form, bool actualValues,
                         int y0);
    int drawSignatures(const RecipePageTexts &texts, int bottom); // their bottom
    int drawSignature(TextPlacement &placed, const QString &post, const QString &name, double postX,
                      double nameEnd, int top);
    int signaturesHeight(const RecipePageTexts &texts);

    QPainter *painter_;
    platform::VirtualPage page_;
    int pages_ = 0;
    bool drawing_ = true; // false while only measuring
};

} // namespace documents

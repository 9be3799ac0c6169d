#pragma once

// The printed recipe document: page 1 and, when the quality and cost block does not
// fit below the raw materials, the continuation page "ЛИСТ 2". Everything is laid out
// on a virtual page of 4676 × 6814 units scaled to the painter's device (round half to
// even), in Courier New (Liberation Mono where Courier New is not installed). The
// same drawing serves the printer, a PDF file, the print preview and the tests.

#include "documents/recipepagetexts.h"

#include <QFont>
#include <QString>

#include <functional>

class QPainter;

namespace documents
{

class RecipeDocument;

class RecipePage final
{
public:
    static constexpr int kVirtualWidth = 4676;
    static constexpr int kVirtualHeight = 6814;

    // newPage starts the continuation page on the painter's device (a printer's
    // newPage()); without one the painter's device must be a QPagedPaintDevice.
    explicit RecipePage(QPainter *painter, std::function<bool()> newPage = {});

    // Draws the document (its batch amounts as they stand: balance them first).
    // actualValues: the characteristic column shows "Факт" instead of "Расчет".
    // Returns the number of pages drawn (1 or 2); 0 for an empty document.
    int draw(const RecipeDocument &document, const RecipePageTexts &texts, RecipeForm form,
             bool actualValues);

    // Device pixels of a virtual horizontal / vertical value.
    int x(double v) const;
    int y(double v) const;

private:
    Q_DISABLE_COPY_MOVE(RecipePage)

    void setFont(int pointSize, bool bold = false);
    void text(int px, int py, const QString &s);         // top-left at device pixels
    void textAt(double vx, double vy, const QString &s); // top-left at virtual units
    void textEndingAt(double vx, double vy, const QString &s);
    void centred(double band, double vy, const QString &s);
    void rectangle(double x1, double y1, double x2, double y2);
    void line(int x1, int y1, int x2, int y2); // device pixels

    void drawHeader(const RecipeDocument &document, const RecipePageTexts &texts);
    void drawTitle(double top, const QString &title, const QString &purpose,
                   const QString &purposeRest, bool threeLines);
    void drawContinuationTitle(const RecipeDocument &document);
    int drawRawTable(const RecipeDocument &document, RecipeForm form); // returns Y
    int drawQualityBlock(const RecipeDocument &document, RecipeForm form, bool actualValues,
                         int y0);
    void drawSignatures(const RecipePageTexts &texts, int bottom);

    QPainter *painter_;
    std::function<bool()> newPage_;
    double sx_ = 1;
    double sy_ = 1;
    QFont font_;
    int pages_ = 0;
};

} // namespace documents

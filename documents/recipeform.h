#pragma once

// What each form of the recipe document shows, taken from the document text by position:
// form 1 every raw-material figure, forms 2 and 3 no raw-material prices or costs; of the
// ten cost lines form 3 keeps only the prices (wholesale, tax, selling) and the batch
// volume; a characteristic shows its norm and either its calculated or its actual value.
// The printed page draws these lines, and the view window lists them, so that the screen
// shows what the chosen form prints.

#include "documents/recipepagetexts.h"

#include <QStringList>

namespace documents
{

class RecipeDocument;

// The three heading lines of the raw-material table.
QStringList formRawHeadings(RecipeForm form);

// Raw-material line k (from 0): name and share (form 1 also price and cost), then the
// batch amounts as they stand (balanced before printing).
QString formRawLine(const RecipeDocument &document, int k, RecipeForm form);

// Characteristic line i (from 0): name, unit, norm, then the calculated or the actual
// value in the same 8 characters (58 characters).
QString formCharLine(const RecipeDocument &document, int i, bool actualValues);

// The cost lines the form shows, in order.
QStringList formCostLines(const RecipeDocument &document, RecipeForm form);

// The document for the screen as the form prints it: the head lines, the raw-material
// table, the characteristics and the cost lines, each block between rules. The premix
// additions are neither printed nor exported, so they are not shown either.
QStringList formText(const RecipeDocument &document, RecipeForm form, bool actualValues);

} // namespace documents

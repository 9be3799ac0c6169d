#pragma once

// The recipe document as a word-processor document: the enterprise head, the title
// frame, the raw-material table, the quality table with the cost figures beside it and
// the signatures. The figures are taken from the document text by position, the batch
// amounts from the document itself (balance them first, as for printing).

#include "documents/docxdocument.h"
#include "documents/recipepagetexts.h"

namespace documents
{

class RecipeDocument;

// An empty document (no batch weight) gives an empty export: the caller refuses it.
DocxDocument recipeDocx(const RecipeDocument &document, const RecipePageTexts &texts,
                        RecipeForm form, bool actualValues);

// One signature: the trimmed post, underscores up to 48 characters, then "/name/"
// (nothing when the name is empty). Empty when the post is empty.
QString recipeSignature(const QString &post, const QString &name);

} // namespace documents

#pragma once

// What the recipe document shows besides the archived recipe: the enterprise texts of
// the settings, the date it is printed on, and the form it is given. The printed page
// and the word-processor export take the same texts.

#include <QString>

#include <array>

namespace settings
{
struct Settings;
}

namespace documents
{

// The enterprise texts of the page (settings) and the date it is printed on.
struct RecipePageTexts {
    QString enterprise;
    QString approverPost;
    QString approverName;
    std::array<QString, 5> signerPosts;
    std::array<QString, 5> signerNames;
    QString printDate; // working date, short date format

    static RecipePageTexts fromSettings(const settings::Settings &values, const QString &printDate);
};

// Form of the document: all figures, no raw-material prices, no prices and no finance.
enum class RecipeForm { Full = 1, NoRawPrices = 2, NoFinance = 3 };

} // namespace documents

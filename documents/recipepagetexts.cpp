#include "documents/recipepagetexts.h"

#include "settings/settings.h"

namespace documents
{

RecipePageTexts RecipePageTexts::fromSettings(const settings::Settings &values,
                                              const QString &printDate)
{
    RecipePageTexts texts;
    texts.enterprise = values.enterpriseName;
    texts.approverPost = values.approverPosition;
    texts.approverName = values.approverSurname;
    for (int i = 0; i < 5; ++i) {
        texts.signerPosts.at(i) = values.signers.at(i).position;
        texts.signerNames.at(i) = values.signers.at(i).surname;
    }
    texts.printDate = printDate;
    return texts;
}

} // namespace documents

#pragma once

// The archived recipe the document tests share: a layer feed of four raw materials with
// every cost figure set; each test adds the characteristics it needs.

#include "documents/recipedocument.h"

inline archive::ArchivedRecipe sampleRecipeHead()
{
    archive::ArchivedRecipe r;
    r.arnom = 12;
    r.ves = 10;
    r.data = QStringLiteral("05.03.2024");
    r.naim = QStringLiteral("ПК-1-15054.19-12Г");
    r.gost = QStringLiteral("51851-2001");
    r.nasn = QStringLiteral("кур-несушек промышленного стада");
    r.prim = QStringLiteral("опытная партия");
    r.nds = 10;
    r.izder = 150;
    r.procprib = 12;
    r.gran = 80;
    r.procpot = 1;
    r.raws = {{QStringLiteral("Пшеница"), 40.5, 12000},
              {QStringLiteral("Ячмень"), 33.25, 10500.5},
              {QStringLiteral("Премикс П1-1"), 1, 95000},
              {QStringLiteral("Шрот подсолнечный"), 25.25, 15000}};
    return r;
}

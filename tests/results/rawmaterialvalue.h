#pragma once

// A field of the raw material called name, looked up over the whole of sir (its filter
// switched off for the look-up and back afterwards); -1 when there is no such raw
// material.

#include "store/table.h"

#include <QString>

namespace roadtest
{

inline double rawMaterialValue(store::Table &sir, const QString &name, const QString &field)
{
    const bool filtered = sir.filtered();
    sir.setFiltered(false);
    double value = -1;
    for (sir.first(); !sir.eof(); sir.next())
        if (sir.text(QStringLiteral("NAIM")).trimmed() == name)
            value = sir.number(field);
    sir.setFiltered(filtered);
    return value;
}

} // namespace roadtest

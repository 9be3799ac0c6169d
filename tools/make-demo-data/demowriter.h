#pragma once

// Writes a complete data directory from the demo sources: the pools pit (65), kk and
// sir (400 each) with their permanent keys, norm, order, ratio, the four empty archive
// tables, cons.txt and the eight instruction texts (code page 1251, CRLF).

#include "demosource.h"

#include <QString>

// Builds the directory beside dir and then puts it in place of dir, so that a failure
// leaves the old directory untouched. Throws std::runtime_error or store::TableError.
void writeDemoData(const DemoSource &source, const QString &dir);

#pragma once

// Field and index definitions of the list tables of the data directory as the demo data
// creates them (the archive tables come from archive/archivetables.h). Readers look fields up by
// name, so other widths and orders written by other tools still open; these are the widths a new
// data directory starts with.

#include "store/table.h"

#include <QList>

namespace demotables
{

QList<store::FieldDef> pitFields();
QList<store::FieldDef> kkFields();
QList<store::FieldDef> sirFields();
QList<store::FieldDef> normFields();
QList<store::FieldDef> orderFields();

QList<store::IndexDef> orderIndex(); // "order" on the field order
QList<store::IndexDef> normIndex();  // "si" on kods

// Name of the characteristic column for a key: "MI" + key, "MA" + key.
QString minField(int key);
QString maxField(int key);

} // namespace demotables

#pragma once

// Why a value does not fit the field it is written to, said in the user's words: the
// list or window, the column title, the entry's name and what the column holds (its
// largest number, its number of characters), never a file or field name. Long texts
// are quoted by their first 40 characters.
//
//     Список сырья, "Овес", колонка "Наличие": число 100000000 не помещается — колонка
//     вмещает числа до 9999999.999.

#include "store/table.h"

#include <QString>
#include <QVariant>

namespace store
{

// Where the value goes; any part may be empty.
struct FieldPlace {
    QString list;   // the list or window, "Список сырья"
    QString column; // the column title, "Наличие"
    QString entry;  // the entry's name, "Овес"
};

inline constexpr int kQuotedChars = 40;

// The text in double quotes, cut to its first 40 characters with "…" after a cut.
QString quotedStart(const QString &text);

// The largest and the smallest number a numeric field holds ("9999999.999",
// "-999999.999").
QString largestFieldNumber(const FieldDef &field);
QString smallestFieldNumber(const FieldDef &field);

// Why value cannot be written to field, at its place; empty when it can.
QString fieldProblem(const FieldDef &field, const QVariant &value, const FieldPlace &place);

// Whether text, being typed into a cell or field written to `field`, still fits it: a
// text no longer than the field; a number in the making ("-12.", "1200.5") with no
// more digits before and after the point than the field holds. Text that is no number
// at all is left to the window's own check, which says what is wrong with it.
bool fitsWhileTyping(const FieldDef &field, const QString &text);

// A negative number typed where none may stand (stock, output, price), at its place.
QString negativeNumberProblem(const FieldPlace &place);

// The count of characters with its noun after "не более" ("1 знака", "254 знаков").
QString charactersAtMost(int count);

} // namespace store

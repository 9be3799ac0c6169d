#pragma once

// A numeric field whose bytes are neither blank nor a number: "15 000", "15,000", the
// overflow mark "*****" of dBASE writers. Reading such a field gives this value, never
// 0 and never blank, with the field's text as it stands; writing it back puts the same
// text in place, so copying a record keeps it.

#include <QMetaType>
#include <QString>
#include <QVariant>

namespace store
{

struct UnreadableNumber {
    QString text; // the field's text without the blanks around it

    bool operator==(const UnreadableNumber &) const = default;
};

} // namespace store

Q_DECLARE_METATYPE(store::UnreadableNumber)

namespace store
{

inline bool isUnreadableNumber(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<UnreadableNumber>();
}

// The text of an unreadable number; empty for any other value.
inline QString unreadableText(const QVariant &value)
{
    return isUnreadableNumber(value) ? value.value<UnreadableNumber>().text : QString();
}

} // namespace store

#pragma once

// The drive letter the user types into the backup and restore windows.

#include <QChar>
#include <QString>

#include <optional>

namespace maintenance
{

// Shown when the field holds no Latin letter.
inline const QString kLetterMessage = QStringLiteral("Введите одну латинскую букву...");

// The upper-case drive letter of the field's text: blanks around it ignored, a lower-case
// Latin letter taken as its capital. Nothing for an empty field or a first character that
// is not a Latin letter (a Cyrillic letter, a digit).
std::optional<QChar> driveLetter(const QString &fieldText);

} // namespace maintenance

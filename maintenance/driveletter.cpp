#include "maintenance/driveletter.h"

namespace maintenance
{

std::optional<QChar> driveLetter(const QString &fieldText)
{
    const QString text = fieldText.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    const char16_t first = text.at(0).unicode();
    if (first >= u'a' && first <= u'z')
        return QChar(first - u'a' + u'A');
    if (first >= u'A' && first <= u'Z')
        return QChar(first);
    return std::nullopt;
}

} // namespace maintenance

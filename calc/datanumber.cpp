#include "calc/datanumber.h"

#include "store/numbertext.h"

#include <cmath>

namespace calc
{

bool isUsableDataNumber(double value)
{
    return std::isfinite(value) && std::fabs(value) <= kLargestDataNumber;
}

QString dataNumberTooLarge(const QString &subject, const QString &what, const QString &field,
                           double value)
{
    return subject + QStringLiteral(" -  ") + what + QStringLiteral(" (") + field +
           QStringLiteral("): число ") + QString::number(value, 'g', 6) +
           QStringLiteral(" слишком велико (допустимо не больше ") +
           store::fixedText(kLargestDataNumber, 0, 0) + QStringLiteral(" по абсолютной величине).");
}

} // namespace calc

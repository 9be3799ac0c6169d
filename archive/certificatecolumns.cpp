#include "archive/certificatecolumns.h"

namespace archive
{

QStringList certificateCells(const QString &row)
{
    QStringList cells;
    for (std::size_t i = 0; i < kCertificateColumns.size(); ++i) {
        const CertificateColumn &column = kCertificateColumns[i];
        const bool last = i + 1 == kCertificateColumns.size();
        cells << row.mid(column.start, last ? -1 : column.width).trimmed();
    }
    return cells;
}

} // namespace archive

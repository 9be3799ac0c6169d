#include "platform/filereplace.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#endif

namespace platform
{

namespace
{

QString temporaryNameFor(const QString &target)
{
    return target + QStringLiteral(".kp-new");
}

} // namespace

bool replaceFile(const QString &from, const QString &to, QString *error)
{
#ifdef Q_OS_WIN
    const auto source = reinterpret_cast<const wchar_t *>(from.utf16());
    const auto target = reinterpret_cast<const wchar_t *>(to.utf16());
    if (MoveFileExW(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    if (error)
        *error = QStringLiteral("код ошибки %1").arg(GetLastError());
    return false;
#else
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
#endif
}

bool copyFileReplacing(const QString &from, const QString &to, QString *error)
{
    const QString temporary = temporaryNameFor(to);
    QFile::remove(temporary);
    QFile source(from);
    if (!source.copy(temporary)) {
        if (error)
            *error = source.errorString();
        QFile::remove(temporary);
        return false;
    }
    if (!replaceFile(temporary, to, error)) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

} // namespace platform

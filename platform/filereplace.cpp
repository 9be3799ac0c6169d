#include "platform/filereplace.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#endif

namespace platform
{

namespace
{

const QString kTemporarySuffix = QStringLiteral(".kp-new");

// The written bytes of an open file onto the disk, past the system's cache: a removable
// drive may be pulled out right after the copy is reported made.
bool syncToDisk(QFile &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()))) != 0;
#else
    // A file system that cannot sync at all (EINVAL) has written what it could.
    return ::fsync(file.handle()) == 0 || errno == EINVAL || errno == ENOTSUP;
#endif
}

bool copyContent(QFile &source, QFile &target)
{
    QByteArray block;
    while (!source.atEnd()) {
        block = source.read(1 << 20);
        if (block.isEmpty() && source.error() != QFileDevice::NoError)
            return false;
        if (target.write(block) != block.size())
            return false;
    }
    return source.error() == QFileDevice::NoError;
}

} // namespace

QString temporaryNameFor(const QString &target)
{
    return target + kTemporarySuffix;
}

bool isTemporaryName(const QString &fileName)
{
    return fileName.endsWith(kTemporarySuffix, Qt::CaseInsensitive);
}

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

bool writeTemporaryCopy(const QString &from, const QString &to, QString *error)
{
    const QString temporary = temporaryNameFor(to);
    QFile source(from);
    QFile target(temporary);
    const auto fail = [&](const QFile &culprit) {
        if (error)
            *error = culprit.errorString();
        target.close();
        QFile::remove(temporary);
        return false;
    };
    if (!source.open(QIODevice::ReadOnly))
        return fail(source);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(target);
    if (!copyContent(source, target))
        return fail(source.error() != QFileDevice::NoError ? source : target);
    if (!syncToDisk(target))
        return fail(target);
    target.close();
    return true;
}

bool copyFileReplacing(const QString &from, const QString &to, QString *error)
{
    if (!writeTemporaryCopy(from, to, error))
        return false;
    const QString temporary = temporaryNameFor(to);
    if (!replaceFile(temporary, to, error)) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

} // namespace platform

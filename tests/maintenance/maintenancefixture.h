#pragma once

// A working folder with a copy of the demo data directory and a folder standing for a
// removable drive, for the backup and restore tests.

#include "store/datamodule.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace fixture
{

class Workplace final
{
public:
    Workplace()
    {
        const QDir demo(QStringLiteral(KP_SOURCE_DIR "/data/itog3"));
        QDir(work_.path()).mkpath(QStringLiteral("itog3"));
        QDir(work_.path()).mkpath(QStringLiteral("stick"));
        for (const QString &name : demo.entryList(QDir::Files))
            ok_ = QFile::copy(demo.filePath(name), dataDir() + u'/' + name) && ok_;
    }
    Q_DISABLE_COPY_MOVE(Workplace)

    bool ok() const { return ok_ && work_.isValid(); }
    QString root() const { return work_.path(); }
    QString dataDir() const { return work_.filePath(QStringLiteral("itog3")); }
    QString drive() const { return work_.filePath(QStringLiteral("stick")); }
    QString backupDir() const { return drive() + QStringLiteral("/arhivkpl"); }

    // The data module over the copy, as the main menu leaves it.
    store::DataModule *open()
    {
        QString error;
        module_ = store::DataModule::create(dataDir(), &error);
        if (!module_)
            qWarning("%s", qPrintable(error));
        else {
            module_->setNormalState();
            module_->countSelected();
        }
        return module_.get();
    }
    void closeModule() { module_.reset(); }

private:
    QTemporaryDir work_;
    std::unique_ptr<store::DataModule> module_;
    bool ok_ = true;
};

// Every file of a folder by name with a digest of its bytes: two snapshots are equal
// exactly when the folders hold the same files with the same bytes.
inline QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile file(dir.filePath(name));
        files.insert(name, file.open(QIODevice::ReadOnly)
                               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1)
                               : QByteArray("unreadable"));
    }
    return files;
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A file entry that cannot be read: a link to nothing (a permission bit would not stop
// a test running as root).
inline void makeUnreadable(const QString &path)
{
    QFile::remove(path);
    QVERIFY(QFile::link(path + QStringLiteral(".gone"), path));
}

} // namespace fixture

#include "store/dbffile.h"

#include "store/datafiles.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <shapefil.h>

#include <cstdio>

namespace store
{

namespace
{

// shapelib reports write failures only through its hooks: these remember them.
thread_local bool ioFailed = false;
SAHooks defaultHooks;

SAOffset checkedWrite(void *p, SAOffset size, SAOffset count, SAFile file)
{
    const SAOffset written = defaultHooks.FWrite(p, size, count, file);
    if (written != count)
        ioFailed = true;
    return written;
}

int checkedFlush(SAFile file)
{
    const int result = defaultHooks.FFlush(file);
    if (result != 0)
        ioFailed = true;
    return result;
}

void rememberError(const char *)
{
    ioFailed = true;
}

SAHooks *checkedHooks()
{
    static SAHooks hooks = [] {
        SASetupDefaultHooks(&defaultHooks);
        SAHooks h = defaultHooks;
        h.FWrite = checkedWrite;
        h.FFlush = checkedFlush;
        h.Error = rememberError;
        return h;
    }();
    return &hooks;
}

DBFHandle handle(void *writer)
{
    return static_cast<DBFHandle>(writer);
}

void stampToday(DBFHandle h)
{
    const QDate today = QDate::currentDate();
    DBFSetLastModifiedDate(h, today.year() - 1900, today.month(), today.day());
}

int littleEndian(const QByteArray &bytes, int at, int size)
{
    unsigned value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
    return int(value);
}

bool knownVersion(unsigned char version)
{
    static const QSet<unsigned char> versions = {0x02, 0x03, 0x04, 0x05, 0x30, 0x31, 0x32, 0x43,
                                                 0x63, 0x83, 0x8B, 0x8E, 0xCB, 0xE5, 0xF5, 0xFB};
    return versions.contains(version);
}

bool validFieldName(const QByteArray &name)
{
    if (name.isEmpty())
        return false;
    for (char c : name) {
        if (c <= ' ' || c > '~')
            return false;
    }
    return true;
}

TableError damaged(const QString &displayName, const QString &what)
{
    return TableError(QStringLiteral("Таблица %1 повреждена: %2").arg(displayName, what));
}

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

// Visual FoxPro keeps a 263-byte area for the name of its database after the field
// descriptors; its version bytes say so.
constexpr int kBacklinkSize = 263;

bool hasBacklinkArea(unsigned char version)
{
    return version == 0x30 || version == 0x31 || version == 0x32;
}

// The header ends with the terminator byte after the field descriptors (at terminatorAt),
// then the Visual FoxPro area when the version has one. Anything else misplaces every
// record, so it is refused. Bytes of zero after that are padding some writers leave.
void checkHeaderLength(const QByteArray &bytes, int headerLength, int terminatorAt,
                       const QString &displayName)
{
    if (terminatorAt >= headerLength || bytes.at(terminatorAt) != '\x0D')
        throw damaged(displayName, QStringLiteral("нет признака конца описаний полей в "
                                                  "пределах заголовка (%1 байт)")
                                       .arg(headerLength));
    int needed = terminatorAt + 1;
    if (hasBacklinkArea(static_cast<unsigned char>(bytes.at(0))))
        needed += kBacklinkSize;
    bool padding = headerLength > needed;
    for (int i = needed; padding && i < headerLength; ++i)
        padding = bytes.at(i) == '\0';
    if (headerLength != needed && !padding)
        throw damaged(displayName,
                      QStringLiteral("длина заголовка %1 байт, а описаниям полей нужно %2")
                          .arg(headerLength)
                          .arg(needed));
}

// The records fill the file after the header exactly; one end-of-file byte 0x1A may
// follow them (most writers put it, some do not).
void checkFileSize(const QByteArray &bytes, qint64 headerLength, qint64 recordCount,
                   qint64 recordLength, const QString &displayName)
{
    qint64 data = bytes.size() - headerLength;
    const qint64 expected = recordCount * recordLength;
    if (data == expected || (data == expected + 1 && bytes.back() == '\x1A'))
        return;
    if (data % recordLength == 1 && bytes.back() == '\x1A')
        --data; // the end byte is no part of the records the message counts
    const qint64 whole = data / recordLength;
    if (whole < recordCount)
        throw damaged(displayName, QStringLiteral("в заголовке %1 записей, а в файле только %2")
                                       .arg(recordCount)
                                       .arg(whole));
    const qint64 rest = data - whole * recordLength;
    QString what =
        QStringLiteral("в заголовке %1 записей, а в файле %2").arg(recordCount).arg(whole);
    if (rest > 0)
        what += QStringLiteral(" и еще %1 байт").arg(rest);
    throw damaged(displayName, what);
}

// Each record begins with its deletion mark: a blank, or "*" for a deleted record.
void checkDeletionMarks(const QByteArray &bytes, qint64 headerLength, qint64 recordCount,
                        qint64 recordLength, const QString &displayName)
{
    for (qint64 i = 0; i < recordCount; ++i) {
        const char mark = bytes.at(headerLength + i * recordLength);
        if (mark != ' ' && mark != '*')
            throw damaged(displayName,
                          QStringLiteral("запись %1: неверный признак удаления "
                                         "(байт %2)")
                              .arg(i + 1)
                              .arg(static_cast<unsigned char>(mark), 2, 16, QLatin1Char('0')));
    }
}

} // namespace

struct DbfFile::Header {
    qint64 recordCount = 0;
    int headerLength = 0;
    int recordLength = 0;
    QList<DbfField> fields;
};

DbfFile::~DbfFile()
{
    close();
}

DbfFile::Header DbfFile::parse(const QByteArray &bytes, const QString &displayName)
{
    if (bytes.size() < 32)
        throw damaged(displayName,
                      QStringLiteral("файл короче заголовка (%1 байт)").arg(bytes.size()));
    const auto version = static_cast<unsigned char>(bytes.at(0));
    if (!knownVersion(version))
        throw damaged(displayName, QStringLiteral("неизвестный формат файла (первый байт %1)")
                                       .arg(version, 2, 16, QLatin1Char('0')));
    Header h;
    h.recordCount = static_cast<unsigned>(littleEndian(bytes, 4, 4));
    h.headerLength = littleEndian(bytes, 8, 2);
    h.recordLength = littleEndian(bytes, 10, 2);
    if (h.headerLength < 65 || h.headerLength > bytes.size())
        throw damaged(displayName,
                      QStringLiteral("неверная длина заголовка (%1 байт)").arg(h.headerLength));
    if (h.recordLength < 2)
        throw damaged(displayName,
                      QStringLiteral("неверная длина записи (%1 байт)").arg(h.recordLength));
    QList<int> highBytes; // the decimals byte of a text field may be its width's high byte
    int total = 1;
    int at = 32;
    for (; at + 32 <= h.headerLength && bytes.at(at) != '\x0D'; at += 32) {
        QByteArray name = bytes.mid(at, 11);
        name.truncate(name.indexOf('\0') < 0 ? 11 : name.indexOf('\0'));
        if (!validFieldName(name))
            throw damaged(displayName,
                          QStringLiteral("неверное имя поля № %1").arg(h.fields.size() + 1));
        DbfField field;
        field.def.name = QString::fromLatin1(name);
        field.def.type = bytes.at(at + 11);
        field.def.width = static_cast<unsigned char>(bytes.at(at + 16));
        field.def.decimals = static_cast<unsigned char>(bytes.at(at + 17));
        if (field.def.width == 0)
            throw damaged(displayName,
                          QStringLiteral("поле %1 нулевой ширины").arg(field.def.name));
        field.offset = total;
        total += field.def.width;
        highBytes.append(field.def.type == 'C' ? field.def.decimals : 0);
        h.fields.append(field);
    }
    if (h.fields.isEmpty())
        throw damaged(displayName, QStringLiteral("нет описаний полей"));
    checkHeaderLength(bytes, h.headerLength, at, displayName);
    if (total != h.recordLength) {
        // Clipper and FoxPro keep text fields wider than 255 with the high byte in place of
        // the decimals: accept that reading only when it makes the record length agree.
        int wide = 1;
        for (int i = 0; i < h.fields.size(); ++i)
            wide += h.fields[i].def.width + 256 * highBytes[i];
        if (wide != h.recordLength)
            throw damaged(displayName,
                          QStringLiteral("длина записи %1 не равна сумме ширин полей %2")
                              .arg(h.recordLength)
                              .arg(total));
        int offset = 1;
        for (int i = 0; i < h.fields.size(); ++i) {
            h.fields[i].def.width += 256 * highBytes[i];
            h.fields[i].offset = offset;
            offset += h.fields[i].def.width;
        }
    }
    for (DbfField &field : h.fields) {
        if (field.def.type == 'C')
            field.def.decimals = 0;
    }
    checkFileSize(bytes, h.headerLength, h.recordCount, h.recordLength, displayName);
    checkDeletionMarks(bytes, h.headerLength, h.recordCount, h.recordLength, displayName);
    return h;
}

void DbfFile::open(const QString &path, const QString &displayName)
{
    close();
    QFile file(path);
    if (!file.exists())
        throw TableError(QStringLiteral("Таблица %1 не найдена").arg(displayName));
    if (!file.open(QIODevice::ReadOnly))
        throw TableError(
            QStringLiteral("Таблица %1 не открывается: нет доступа к файлу").arg(displayName));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TableError(QStringLiteral("Таблица %1 не читается с диска").arg(displayName));
    const Header h = parse(bytes, displayName);
    records_.clear();
    records_.reserve(size_t(h.recordCount));
    for (qint64 i = 0; i < h.recordCount; ++i)
        records_.push_back(bytes.mid(h.headerLength + i * h.recordLength, h.recordLength));
    fields_ = h.fields;
    recordLength_ = h.recordLength;
    displayName_ = displayName;
    path_ = path;
}

QList<FieldDef> DbfFile::readFieldDefs(const QString &path, const QString &displayName)
{
    DbfFile file;
    file.open(path, displayName);
    QList<FieldDef> defs;
    for (const DbfField &field : file.fields())
        defs.append(field.def);
    return defs;
}

void DbfFile::close()
{
    deferred_ = false;
    deferredRecords_.clear();
    if (writer_)
        DBFClose(handle(writer_));
    writer_ = nullptr;
    records_.clear();
    fields_.clear();
    recordLength_ = 0;
    path_.clear();
}

void DbfFile::openWriter()
{
    if (writer_)
        return;
    // shapelib finds the file by its base name plus ".dbf" or ".DBF"
    if (QFileInfo(path_).suffix().compare(QLatin1String("dbf"), Qt::CaseInsensitive) != 0)
        throw TableError(QStringLiteral("Таблица %1 не открывается для записи: имя файла "
                                        "должно оканчиваться на .dbf")
                             .arg(displayName_));
    DBFHandle h = DBFOpenLL(nativePath(path_).constData(), "rb+", checkedHooks());
    if (!h)
        throw TableError(QStringLiteral("Таблица %1 не открывается для записи").arg(displayName_));
    if (h->nRecordLength != recordLength_ || h->nRecords != recordCount()) {
        DBFClose(h);
        throw TableError(
            QStringLiteral("Таблица %1 изменена на диске другой программой").arg(displayName_));
    }
    stampToday(h);
    writer_ = h;
}

// Another cursor or program that appended records since this one read the file would
// lose them when this one writes its own record count: such a write is refused.
void DbfFile::checkCountOnDisk() const
{
    QFile file(path_);
    const QByteArray head = file.open(QIODevice::ReadOnly) ? file.read(8) : QByteArray();
    if (head.size() < 8 || littleEndian(head, 4, 4) != recordCount())
        throw TableError(QStringLiteral("Таблица %1 изменена на диске другой программой: "
                                        "закройте и откройте ее заново")
                             .arg(displayName_));
}

void DbfFile::writeRecord(int index, const QByteArray &bytes)
{
    Q_ASSERT(bytes.size() == recordLength_ && index >= 0 && index <= recordCount());
    if (deferred_ && index < recordCount()) {
        records_[size_t(index)] = bytes;
        deferredRecords_.insert(index);
        return;
    }
    checkCountOnDisk();
    openWriter();
    ioFailed = false;
    QByteArray copy = bytes;
    const bool written = DBFWriteTuple(handle(writer_), index, copy.data());
    if (written)
        DBFUpdateHeader(handle(writer_));
    if (!written || ioFailed)
        throw TableError(QStringLiteral("Таблица %1: ошибка записи на диск").arg(displayName_));
    if (index == recordCount())
        records_.push_back(bytes);
    else
        records_[size_t(index)] = bytes;
}

void DbfFile::setDeferred(bool on)
{
    deferred_ = on;
    if (!on)
        flush();
}

// The deferred records in one pass in file order and the header once: a post written
// through costs a check of the file, a seek and the header each time.
void DbfFile::flush()
{
    if (!deferredRecords_.empty()) {
        checkCountOnDisk();
        openWriter();
    }
    if (!writer_)
        return;
    ioFailed = false;
    for (int index : deferredRecords_) {
        QByteArray copy = records_[size_t(index)];
        if (!DBFWriteTuple(handle(writer_), index, copy.data()))
            ioFailed = true;
    }
    DBFUpdateHeader(handle(writer_));
    if (ioFailed)
        throw TableError(QStringLiteral("Таблица %1: ошибка записи на диск").arg(displayName_));
    deferredRecords_.clear();
}

namespace
{

QString checkFieldDef(const FieldDef &f)
{
    const QByteArray name = f.name.toLatin1();
    bool nameOk = !name.isEmpty() && name.size() <= 10 && QChar(f.name.at(0)).isLetter() &&
                  f.name.at(0).unicode() < 0x80;
    for (char c : name)
        nameOk = nameOk && (std::isalnum(static_cast<unsigned char>(c)) || c == '_');
    if (!nameOk)
        return QStringLiteral("недопустимое имя поля \"%1\"").arg(f.name);
    bool sizeOk = false;
    switch (f.type) {
    case 'C':
        sizeOk = f.width >= 1 && f.width <= 254 && f.decimals == 0;
        break;
    case 'N':
    case 'F':
        sizeOk = f.width >= 1 && f.width <= 20 && f.decimals >= 0 &&
                 (f.decimals == 0 || f.decimals <= f.width - 2);
        break;
    case 'L':
        sizeOk = f.width == 1 && f.decimals == 0;
        break;
    case 'D':
        sizeOk = f.width == 8 && f.decimals == 0;
        break;
    default:
        return QStringLiteral("недопустимый тип поля %1").arg(f.name);
    }
    if (!sizeOk)
        return QStringLiteral("недопустимая ширина поля %1 (%2, %3)")
            .arg(f.name)
            .arg(f.width)
            .arg(f.decimals);
    return {};
}

bool replaceFile(const QString &from, const QString &to)
{
    if (std::rename(nativePath(from).constData(), nativePath(to).constData()) == 0)
        return true;
    QFile::remove(to);
    return QFile::rename(from, to);
}

} // namespace

void DbfFile::create(const QString &path, const QString &displayName, const QList<FieldDef> &fields)
{
    auto refuse = [&](const QString &why) {
        return TableError(QStringLiteral("Таблица %1 не создается: %2").arg(displayName, why));
    };
    if (fields.isEmpty())
        throw refuse(QStringLiteral("нет полей"));
    QSet<QString> names;
    for (const FieldDef &f : fields) {
        const QString problem = checkFieldDef(f);
        if (!problem.isEmpty())
            throw refuse(problem);
        if (names.contains(f.name.toUpper()))
            throw refuse(QStringLiteral("поле %1 повторяется").arg(f.name));
        names.insert(f.name.toUpper());
    }
    const QString temporary = newTableFileName(path);
    ioFailed = false;
    DBFHandle h = DBFCreateLL(nativePath(temporary).constData(), "LDID/201", checkedHooks());
    if (!h)
        throw refuse(QStringLiteral("нет доступа к папке"));
    for (const FieldDef &f : fields) {
        if (DBFAddNativeFieldType(h, f.name.toLatin1().constData(), f.type, f.width, f.decimals) <
            0)
            ioFailed = true;
    }
    stampToday(h);
    DBFUpdateHeader(h); // writes the header of the empty table
    DBFClose(h);
    if (ioFailed || !replaceFile(temporary, path)) {
        QFile::remove(temporary);
        throw refuse(QStringLiteral("ошибка записи на диск"));
    }
}

} // namespace store

// Seeded mutations of the demo tables (truncation, header fields, field descriptors,
// flipped bytes, deletion marks, text in number fields, in key fields): every damaged file
// ends in an error that names it, or reads as exactly what its bytes say. Never a crash,
// never a number field that holds no number read as 0 or as blank, never a key that
// holds no whole number passing the data check.

#include "store/codepage1251.h"
#include "store/datafiles.h"
#include "store/table.h"
#include "store/unreadablenumber.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <random>
#include <span>

using store::Table;
using store::TableError;

namespace
{

constexpr unsigned kSeed = 20261207;
constexpr int kMutations = 600;

const char *const kTables[] = {"pit",  "kk",    "sir",   "norm",  "order",
                               "arkk", "arsir", "arpit", "arprem"};

enum class Kind {
    Truncation,
    HeaderField,
    Descriptor,
    FlippedBytes,
    DeletionMark,
    NumberText,
    KeyText
};
constexpr int kKinds = 7;

const char *const kNotNumbers[] = {"15 000", "15,000", "**********", "1a",  "12-3", "abc", "1.2.3",
                                   "--1",    "0x10",   "1e",         "+-5", "-",    ".",   "5 %"};
// What no list position, permanent key or archive number holds.
const char *const kNotKeys[] = {"nan", "inf", "1e-3", "0.5", "2.5", "1 2", "***", "-", "1,5"};

int word(const QByteArray &bytes, int at, int size)
{
    unsigned value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | uchar(bytes.at(at + i));
    return int(value);
}

void putWord(QByteArray &bytes, int at, unsigned value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray stripped(QByteArray bytes)
{
    auto pad = [](char c) { return c == ' ' || c == '\0'; };
    while (!bytes.isEmpty() && pad(bytes.back()))
        bytes.chop(1);
    while (!bytes.isEmpty() && pad(bytes.front()))
        bytes.remove(0, 1);
    return bytes;
}

// What a number field's bytes say, judged apart from the table layer: blank, a number
// written in digits (sign, point and exponent allowed), or something that is no number.
struct Expected {
    enum { Blank, Number, Unreadable } kind = Blank;
    double number = 0;
    QString text;
};

Expected expectedNumber(const QByteArray &field)
{
    static const QRegularExpression digits(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    Expected e;
    const QByteArray s = stripped(field);
    if (s.isEmpty())
        return e;
    if (digits.match(QString::fromLatin1(s)).hasMatch()) {
        errno = 0;
        const double x = std::strtod(s.constData(), nullptr);
        if (errno == 0 && std::isfinite(x)) {
            e.kind = Expected::Number;
            e.number = x;
            return e;
        }
    }
    e.kind = Expected::Unreadable;
    e.text = store::decode1251(s);
    return e;
}

} // namespace

class TestTableFuzz final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::mt19937 random_{kSeed};
    int tried_ = 0;
    int errors_ = 0;
    int reads_ = 0;
    int unreadable_ = 0;  // number fields read back as unreadable, over all correct reads
    int keysRefused_ = 0; // correct reads whose keys the data check refused

    unsigned pick(unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(random_); }

    QByteArray mutate(QByteArray bytes, Kind kind, const QString &table, bool *mustFail);
    void mutateHeader(QByteArray &bytes, bool *mustFail);
    void putNumberText(QByteArray &bytes, const QStringList &keys = {});
    QString checkRead(const QString &path, const QByteArray &bytes, int *unreadable);
    QString checkKeys(const QString &path, const QByteArray &bytes);

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }
    void mutations();
};

void TestTableFuzz::mutateHeader(QByteArray &bytes, bool *mustFail)
{
    // A record count, header length or record length other than the true one must fail.
    auto change = [&](int at, int size, unsigned value) {
        *mustFail = unsigned(word(bytes, at, size)) != (value & (size == 4 ? ~0u : 0xFFFFu));
        putWord(bytes, at, value, size);
    };
    const int count = word(bytes, 4, 4);
    const int header = word(bytes, 8, 2);
    const int record = word(bytes, 10, 2);
    switch (pick(5)) {
    case 0: {
        const unsigned counts[] = {0u, unsigned(count - 1), unsigned(count + 1), 0xFFFFFFFFu,
                                   unsigned(random_())};
        change(4, 4, counts[pick(5)]);
        break;
    }
    case 1: {
        const unsigned lengths[] = {unsigned(header + 1), unsigned(header - 1),
                                    unsigned(header + 32), unsigned(header - 32), pick(65536)};
        change(8, 2, lengths[pick(5)]);
        break;
    }
    case 2: {
        const unsigned lengths[] = {unsigned(record + 1), unsigned(record - 1), pick(65536)};
        change(10, 2, lengths[pick(3)]);
        break;
    }
    case 3:
        bytes[0] = char(pick(256)); // another version: read or refused, as it says
        break;
    default:
        // the date and the reserved bytes: nothing the reader depends on
        bytes[1 + int(pick(3))] = char(pick(256));
        bytes[12 + int(pick(20))] = char(pick(256));
        break;
    }
}

// Text that is no number, right-aligned in a number field of a live record; given key
// fields, text that is no whole number in one of them.
void TestTableFuzz::putNumberText(QByteArray &bytes, const QStringList &keys)
{
    const int header = word(bytes, 8, 2);
    const int record = word(bytes, 10, 2);
    const int count = word(bytes, 4, 4);
    QList<QPair<int, int>> numbers; // offset in the record, width
    int offset = 1;
    for (int at = 32; bytes.at(at) != '\x0D'; at += 32) {
        const char type = bytes.at(at + 11);
        const int width = uchar(bytes.at(at + 16));
        const QString name = QString::fromLatin1(bytes.mid(at, 11).split('\0').first());
        if ((type == 'N' || type == 'F') &&
            (keys.isEmpty() || keys.contains(name, Qt::CaseInsensitive)))
            numbers.append({offset, width});
        offset += width;
    }
    if (numbers.isEmpty() || count == 0)
        return;
    const auto [at, width] = numbers.at(int(pick(unsigned(numbers.size()))));
    const std::span<const char *const> texts =
        keys.isEmpty() ? std::span<const char *const>(kNotNumbers) : kNotKeys;
    QByteArray text;
    do // a text cut to the width could become a number ("15 000" to "000")
        text = texts[pick(unsigned(texts.size()))];
    while (text.size() > width);
    const int start = header + int(pick(unsigned(count))) * record + at;
    bytes.replace(start, width, QByteArray(width - text.size(), ' ') + text);
}

QByteArray TestTableFuzz::mutate(QByteArray bytes, Kind kind, const QString &table, bool *mustFail)
{
    *mustFail = false;
    switch (kind) {
    case Kind::Truncation: {
        const int size = int(pick(unsigned(bytes.size())));
        // only the end byte 0x1A cut away leaves the table whole
        *mustFail = size != bytes.size() - 1;
        bytes.truncate(size);
        break;
    }
    case Kind::HeaderField:
        mutateHeader(bytes, mustFail);
        break;
    case Kind::Descriptor: {
        const int fields = (word(bytes, 8, 2) - 33) / 32;
        const int at = 32 + 32 * int(pick(unsigned(fields))) + int(pick(32));
        bytes[at] = char(pick(256));
        break;
    }
    case Kind::FlippedBytes:
        for (int n = 1 + int(pick(8)); n > 0; --n)
            bytes[int(pick(unsigned(bytes.size())))] ^= char(1 + pick(255));
        break;
    case Kind::DeletionMark: {
        const int count = word(bytes, 4, 4);
        if (count == 0)
            break;
        const char mark = char(pick(256));
        bytes[word(bytes, 8, 2) + int(pick(unsigned(count))) * word(bytes, 10, 2)] = mark;
        *mustFail = mark != ' ' && mark != '*';
        break;
    }
    case Kind::NumberText:
        putNumberText(bytes);
        break;
    case Kind::KeyText:
        putNumberText(bytes, store::keyFieldNames(table + QStringLiteral(".dbf")));
        break;
    }
    return bytes;
}

// Compares what the table layer read with what the file's own header and bytes say.
// Returns the first difference, empty when the read is right.
QString TestTableFuzz::checkRead(const QString &path, const QByteArray &bytes, int *unreadable)
{
    Table table;
    table.setFileName(path);
    table.open();
    const int count = word(bytes, 4, 4);
    const int header = word(bytes, 8, 2);
    const int record = word(bytes, 10, 2);
    const QList<store::FieldDef> fields = table.fields();
    int width = 1;
    for (const store::FieldDef &f : fields)
        width += f.width;
    if (width != record)
        return QStringLiteral("field widths %1, record length %2").arg(width).arg(record);
    const qint64 data = qint64(count) * record;
    if (bytes.size() != header + data &&
        !(bytes.size() == header + data + 1 && bytes.back() == '\x1A'))
        return QStringLiteral("read although the size disagrees with the header");
    table.first();
    for (int r = 0; r < count; ++r) {
        const char *rec = bytes.constData() + header + qint64(r) * record;
        if (rec[0] == '*')
            continue;
        if (table.eof())
            return QStringLiteral("record %1 missing").arg(r + 1);
        int offset = 1;
        for (int f = 0; f < fields.size(); ++f) {
            const store::FieldDef &def = fields.at(f);
            const QVariant value = table.value(f);
            const QByteArray raw(rec + offset, def.width);
            offset += def.width;
            if (def.type != 'N' && def.type != 'F')
                continue;
            const Expected e = expectedNumber(raw);
            const QString where = QStringLiteral("record %1 field %2 \"%3\": ")
                                      .arg(r + 1)
                                      .arg(def.name, QString::fromLatin1(raw));
            if (e.kind == Expected::Blank && value.isValid())
                return where + QStringLiteral("blank read as a value");
            if (e.kind == Expected::Number && (store::isUnreadableNumber(value) ||
                                               !value.isValid() || value.toDouble() != e.number))
                return where + QStringLiteral("read as ") + value.toString();
            if (e.kind == Expected::Unreadable) {
                if (store::unreadableText(value) != e.text || !store::isUnreadableNumber(value))
                    return where + QStringLiteral("no number read as ") + value.toString();
                ++*unreadable;
            }
        }
        table.next();
    }
    if (!table.eof())
        return QStringLiteral("more records than the file holds");
    return {};
}

// The keys judged apart from the table layer: a key field that is no number field, or
// that holds in a live record no number or a fraction where the field has no decimals,
// is refused by the data check naming the file and the field; keys that read pass it.
// Returns the first difference, empty when the check is right.
QString TestTableFuzz::checkKeys(const QString &path, const QByteArray &bytes)
{
    Table table;
    table.setFileName(path);
    table.open();
    const QList<store::FieldDef> fields = table.fields();
    const int count = word(bytes, 4, 4);
    const int header = word(bytes, 8, 2);
    const int record = word(bytes, 10, 2);
    QString bad;
    for (const QString &key : store::keyFieldNames(QFileInfo(path).fileName())) {
        const int f = table.fieldIndex(key);
        if (f < 0)
            continue;
        const store::FieldDef &def = fields.at(f);
        int offset = 1;
        for (int i = 0; i < f; ++i)
            offset += fields.at(i).width;
        bool whole = def.type == 'N' || def.type == 'F';
        for (int r = 0; whole && r < count; ++r) {
            const char *rec = bytes.constData() + header + qint64(r) * record;
            const Expected e = expectedNumber(QByteArray(rec + offset, def.width));
            whole = rec[0] == '*' || e.kind == Expected::Blank ||
                    (e.kind == Expected::Number &&
                     (def.decimals > 0 || std::trunc(e.number) == e.number));
        }
        if (!whole) {
            bad = def.name;
            break;
        }
    }
    const QString problem = store::tableReadProblem(path);
    if (bad.isEmpty())
        return problem.isEmpty() ? QString() : QStringLiteral("keys refused: ") + problem;
    if (!problem.startsWith(QStringLiteral("Таблица ") + path) ||
        !problem.contains(QStringLiteral("поле ") + bad))
        return QStringLiteral("key field %1 not refused: %2").arg(bad, problem);
    ++keysRefused_;
    return {};
}

// Every mutation ends in a named error or a correct read; the figures go to the output.
void TestTableFuzz::mutations()
{
    QHash<QString, QByteArray> originals;
    for (const char *name : kTables)
        originals.insert(
            name,
            readFile(QStringLiteral(KP_SOURCE_DIR "/data/itog3/%1.dbf").arg(QLatin1String(name))));
    int numberTexts = 0;
    for (int i = 0; i < kMutations; ++i) {
        const QString name = QLatin1String(kTables[pick(std::size(kTables))]);
        const QString path = dir_.filePath(name + QStringLiteral(".dbf")); // names its keys
        const auto kind = Kind(pick(kKinds));
        bool mustFail = false;
        const QByteArray bytes = mutate(originals.value(name), kind, name, &mustFail);
        writeFile(path, bytes);
        ++tried_;
        const QString tag =
            QStringLiteral("mutation %1 (%2, kind %3)").arg(i).arg(name).arg(int(kind));
        try {
            int unreadable = 0;
            const QString wrong = checkRead(path, bytes, &unreadable);
            QVERIFY2(wrong.isEmpty(), qPrintable(tag + QStringLiteral(": ") + wrong));
            QVERIFY2(!mustFail, qPrintable(tag + QStringLiteral(": damage not noticed")));
            if (kind == Kind::NumberText && word(bytes, 4, 4) > 0)
                QVERIFY2(unreadable > 0, qPrintable(tag + QStringLiteral(": text read as number")));
            const QString wrongKeys = checkKeys(path, bytes);
            QVERIFY2(wrongKeys.isEmpty(), qPrintable(tag + QStringLiteral(": ") + wrongKeys));
            numberTexts += kind == Kind::NumberText ? 1 : 0;
            unreadable_ += unreadable;
            ++reads_;
        } catch (const TableError &e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("Таблица ") + path),
                     qPrintable(tag + QStringLiteral(": ") + e.message()));
            QVERIFY2(kind != Kind::NumberText && kind != Kind::KeyText,
                     qPrintable(tag + QStringLiteral(": ") + e.message()));
            ++errors_;
        }
    }
    qInfo("table reader fuzz (seed %u): %d mutations tried, %d named errors, %d correct reads "
          "(%d with text in a number field); %d unreadable number fields reported; "
          "%d tables refused for their keys",
          kSeed, tried_, errors_, reads_, numberTexts, unreadable_, keysRefused_);
    QCOMPARE(errors_ + reads_, tried_);
}

QTEST_APPLESS_MAIN(TestTableFuzz)
#include "tst_tablefuzz.moc"

#include "store/codepage1251.h"

#include <QHash>
#include <QStringDecoder>

#include <array>

namespace store
{

namespace
{

struct CodeTable {
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;

    CodeTable()
    {
        QStringDecoder decoder("windows-1251");
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString text = decoder.decode(QByteArrayView(&byte, 1));
            const char16_t unit = text.size() == 1 ? text.at(0).unicode() : u'\uFFFD';
            toUnicode[b] = unit;
            if (unit != u'\uFFFD' && !fromUnicode.contains(unit))
                fromUnicode.insert(unit, byte);
        }
    }
};

const CodeTable &codeTable()
{
    static const CodeTable table;
    return table;
}

} // namespace

QString decode1251(const char *bytes, qsizetype size)
{
    const CodeTable &table = codeTable();
    QString text(size, Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < size; ++i)
        out[i] = QChar(table.toUnicode[static_cast<unsigned char>(bytes[i])]);
    return text;
}

bool encode1251(const QString &text, QByteArray *bytes)
{
    const CodeTable &table = codeTable();
    QByteArray result(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (unit < 0x80) {
            result[i] = char(unit);
            continue;
        }
        const auto found = table.fromUnicode.constFind(unit);
        if (found == table.fromUnicode.constEnd())
            return false;
        result[i] = *found;
    }
    *bytes = result;
    return true;
}

} // namespace store

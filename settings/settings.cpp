#include "settings/settings.h"

#include "store/numbertext.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace settings
{

namespace
{

constexpr int addressLine = 24;
constexpr int firstFlagLine = 25;

Settings &processSettings()
{
    static Settings values;
    return values;
}

// The text value of a line (1-13, 17, 19, 21-24), or null for a number or flag line.
QString *textOf(Settings &s, int line)
{
    if (line >= 4 && line <= 13) {
        Signer &signer = s.signers[std::size_t((line - 4) / 2)];
        return line % 2 == 0 ? &signer.position : &signer.surname;
    }
    switch (line) {
    case 1:
        return &s.enterpriseName;
    case 2:
        return &s.approverPosition;
    case 3:
        return &s.approverSurname;
    case 17:
        return &s.taxName;
    case 19:
        return &s.premixFiller;
    case 21:
        return &s.certificateSignerPosition;
    case 22:
        return &s.conformityCertificate;
    case 23:
        return &s.certificateSignerSurname;
    case addressLine:
        return &s.address;
    default:
        return nullptr;
    }
}

double *numberOf(Settings &s, int line)
{
    switch (line) {
    case 14:
        return &s.lossNorm;
    case 15:
        return &s.productionCosts;
    case 16:
        return &s.profitability;
    case 18:
        return &s.taxRate;
    case 20:
        return &s.granulationSurcharge;
    default:
        return nullptr;
    }
}

bool *flagOf(Settings &s, int line)
{
    switch (line) {
    case 25:
        return &s.namePriceWithoutTax;
    case 26:
        return &s.namePriceWithTax;
    case 27:
        return &s.roundWholesalePrice;
    case 28:
        return &s.noRoundWholesalePrice;
    case 29:
        return &s.roundSellingPrice;
    case 30:
        return &s.noRoundSellingPrice;
    default:
        return nullptr;
    }
}

const QString fillIn = QStringLiteral(" Заполните их в окне «Параметры».");

// A file's lines as a text list splits them: at CR LF, a lone CR or a lone LF.
QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

QString shortFileProblem(const QString &fileLabel, qsizetype count)
{
    if (count == 0)
        return QStringLiteral("Файл настроек %1 пуст: параметры предприятия пусты.")
                   .arg(fileLabel) +
               fillIn;
    const QString last = QString::number(settingsLineCount);
    const QString missing = count + 1 == settingsLineCount
                                ? QStringLiteral("строка %1").arg(last)
                                : QStringLiteral("строки %1–%2").arg(count + 1).arg(last);
    return QStringLiteral("В файле настроек %1 строк %2 из %3: недостающие значения (%4) пусты.")
               .arg(fileLabel, QString::number(count), last, missing) +
           fillIn;
}

QString numberProblem(const QString &fileLabel, int line, const QString &text)
{
    const QString where =
        QStringLiteral("Файл настроек %1, строка %2 («%3»): ")
            .arg(fileLabel, QString::number(line), settingsLineLabel(line).trimmed());
    const QString what = text.trimmed().isEmpty() ? QStringLiteral("строка пуста")
                                                  : QStringLiteral("«%1» — не число").arg(text);
    return where + what + QStringLiteral("; принят 0. Исправьте значение в окне «Параметры».");
}

QString rangeText(int line)
{
    return QStringLiteral("от 0 до %1")
        .arg(store::fixedText(settings::numberLineLimit(line), 0, 2));
}

// A file is taken for UTF-8 when it decodes as UTF-8 without error and holds Cyrillic,
// which a 1251 file almost never does: its Cyrillic letters are single bytes 0xC0-0xFF,
// and UTF-8 wants each lead byte followed by 0x80-0xBF.
bool looksLikeUtf8Cyrillic(const QByteArray &bytes, QString *text)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString decoded = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    if (decoded.startsWith(QChar(0xFEFF)))
        decoded.remove(0, 1);
    const bool cyrillic = std::any_of(decoded.cbegin(), decoded.cend(), [](QChar c) {
        return c.unicode() >= 0x0400 && c.unicode() <= 0x04FF;
    });
    if (cyrillic)
        *text = decoded;
    return cyrillic;
}

QString rangeProblem(const QString &fileLabel, int line, const QString &text)
{
    return QStringLiteral("Файл настроек %1, строка %2 («%3»): значение %4 вне допустимых "
                          "пределов (%5). Исправьте значение в окне «Параметры»: до тех пор "
                          "расчет не выполняется.")
        .arg(fileLabel, QString::number(line), settingsLineLabel(line).trimmed(), text.trimmed(),
             rangeText(line));
}

// The line as code page 1251 can hold it: every character without a 1251 byte becomes
// "?", and each such character is named in problems.
QString encodable(const QString &line, int lineNumber, QStringList *problems)
{
    QString result;
    QString lost;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const qsizetype length = line.at(i).isHighSurrogate() && i + 1 < line.size() ? 2 : 1;
        const QString character = line.mid(i, length);
        i += length - 1;
        QStringEncoder encoder("windows-1251");
        const QByteArray probe = encoder.encode(character); // converts only when kept
        if (encoder.hasError()) {
            result += QLatin1Char('?');
            if (!lost.contains(character))
                lost += character;
        } else {
            result += character;
        }
    }
    if (!lost.isEmpty())
        problems->append(QStringLiteral("Параметры, поле «%1»: символы «%2» нельзя записать "
                                        "в кодировке Windows-1251, они заменены знаком «?».")
                             .arg(settingsLineLabel(lineNumber).simplified(), lost));
    return result;
}

QByteArray fileBytes(const QStringList &lines, QStringList *problems)
{
    QByteArray bytes;
    QStringEncoder encoder("windows-1251");
    for (int i = 0; i < lines.size(); ++i) {
        bytes += encoder.encode(encodable(lines.at(i), i + 1, problems));
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace

QString settingsLineLabel(int line)
{
    static const char *const labels[] = {
        "Наименование предприятия",
        "Должность  Утверждающего ",
        "Фамилия Утверждающего ",
        "Должность Первого подписывающего ",
        "Фамилия Первого подписывающего ",
        "Должность Второго подписывающего ",
        "Фамилия Второго подписывающего ",
        "Должность Третьего подписывающего",
        "Фамилия Третьего подписывающего",
        "Должность Четвертого подписывающего",
        "Фамилия Четвертого подписывающего",
        "Должность Пятого подписывающего",
        "Фамилия Пятого подписывающего",
        "Норматив производственных потерь %",
        "Издержки производства на выработку одной тонны (руб)",
        "Уровень рентабельности %",
        "Наименование налогов",
        "Ставка налогов %",
        "Наполнитель премиксов",
        "Надбавка за гранулирование одной тонны (руб)",
        "Должность  подписывающего УДОСТОВЕРЕНИЕ о качестве",
        "Сертификат соответствия",
        "Фамилия подписывающего",
        "Адрес",
    };
    if (line < 1 || line > addressLine)
        return {};
    return QString::fromUtf8(labels[line - 1]);
}

double numberLineLimit(int line)
{
    return line == 15 || line == 20 ? 999999.99 : 99.99;
}

QString numberRangeProblem(int line, double value)
{
    if (!isNumberLine(line) || (value >= 0 && value <= numberLineLimit(line)))
        return {};
    return QStringLiteral("Параметр «%1» равен %2, а допустимы значения %3. Исправьте его в "
                          "окне «Параметры»: до тех пор расчет не выполняется.")
        .arg(settingsLineLabel(line).trimmed(), QString::number(value, 'g', 12), rangeText(line));
}

QStringList settingsRangeProblems(const Settings &values)
{
    Settings s = values;
    QStringList problems;
    for (int line = 1; line <= settingsLineCount; ++line) {
        if (const double *number = numberOf(s, line)) {
            const QString problem = numberRangeProblem(line, *number);
            if (!problem.isEmpty())
                problems.append(problem);
        }
    }
    return problems;
}

bool isNumberLine(int line)
{
    Settings probe;
    return numberOf(probe, line) != nullptr;
}

int numberFieldWidth(int line)
{
    if (!isNumberLine(line))
        return 0;
    return line == 15 || line == 20 ? 9 : 5;
}

QString settingsFilePath(const QString &dataDir)
{
    return dataDir + QStringLiteral("/cons.txt");
}

SettingsRead parseSettings(const QStringList &lines, const QString &fileLabel)
{
    SettingsRead read;
    Settings &s = read.values;
    const int present = int(qMin<qsizetype>(lines.size(), settingsLineCount));
    for (int line = 1; line <= present; ++line) {
        const QString &text = lines.at(line - 1);
        if (QString *value = textOf(s, line)) {
            *value = line == addressLine ? text : text.left(settingsTextLimit);
        } else if (double *number = numberOf(s, line)) {
            bool ok = false;
            *number = store::parseNumber(text, &ok);
            if (!ok)
                read.problems.append(numberProblem(fileLabel, line, text));
            else if (!numberRangeProblem(line, *number).isEmpty())
                read.problems.append(rangeProblem(fileLabel, line, text));
        } else if (bool *flag = flagOf(s, line)) {
            *flag = text == QLatin1String("t");
        }
    }
    if (present < settingsLineCount)
        read.problems.prepend(shortFileProblem(fileLabel, present));
    return read;
}

QStringList settingsLines(const Settings &values)
{
    Settings s = values;
    QStringList lines;
    for (int line = 1; line <= settingsLineCount; ++line) {
        if (const QString *text = textOf(s, line)) {
            QString oneLine = *text;
            oneLine.replace(QLatin1String("\r\n"), QLatin1String(" "));
            oneLine.replace(QLatin1Char('\r'), QLatin1Char(' '));
            oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
            lines.append(oneLine);
        } else if (const double *number = numberOf(s, line)) {
            lines.append(store::fixedText(*number, numberFieldWidth(line), 2));
        } else {
            lines.append(*flagOf(s, line) ? QStringLiteral("t") : QStringLiteral("f"));
        }
    }
    return lines;
}

SettingsRead ReadSettings(const QString &dataDir)
{
    const QString path = settingsFilePath(dataDir);
    const QString fileLabel = QDir::toNativeSeparators(path);
    SettingsRead read;
    QFile file(path);
    if (!file.exists()) {
        read.problems.append(QStringLiteral("Файл настроек %1 не найден: параметры предприятия "
                                            "пусты.")
                                 .arg(fileLabel) +
                             fillIn);
    } else if (!file.open(QIODevice::ReadOnly)) {
        read.problems.append(QStringLiteral("Не удалось прочитать файл настроек %1 (%2): "
                                            "параметры предприятия пусты.")
                                 .arg(fileLabel, file.errorString()) +
                             fillIn);
    } else {
        const QByteArray bytes = file.readAll();
        QString text;
        const bool utf8 = looksLikeUtf8Cyrillic(bytes, &text);
        if (!utf8)
            text = QStringDecoder("windows-1251").decode(bytes);
        read = parseSettings(splitLines(text), fileLabel);
        if (utf8)
            read.problems.prepend(
                QStringLiteral("Файл настроек %1 записан в кодировке UTF-8, а не Windows-1251: "
                               "он прочитан как UTF-8. Откройте и закройте окно «Параметры», "
                               "чтобы записать его в Windows-1251.")
                    .arg(fileLabel));
    }
    setCurrentSettings(read.values);
    return read;
}

QStringList WriteSettings(const Settings &values, const QString &dataDir)
{
    QStringList problems;
    QStringList lines = settingsLines(values);
    const QByteArray bytes = fileBytes(lines, &problems);
    QStringDecoder decoder("windows-1251");
    lines = splitLines(decoder.decode(bytes)); // what the file holds, "?" included

    const QString path = settingsFilePath(dataDir);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        problems.append(QStringLiteral("Не удалось записать файл настроек %1 (%2): параметры "
                                       "действуют до конца работы программы, но не сохранены.")
                            .arg(QDir::toNativeSeparators(path), file.errorString()));
    setCurrentSettings(parseSettings(lines, QDir::toNativeSeparators(path)).values);
    return problems;
}

const Settings &currentSettings()
{
    return processSettings();
}

void setCurrentSettings(const Settings &values)
{
    processSettings() = values;
}

} // namespace settings

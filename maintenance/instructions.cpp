#include "maintenance/instructions.h"

#include "store/codepage1251.h"

#include <QDir>
#include <QFile>

#include <array>

namespace maintenance
{

namespace
{

// Instruction texts are a few kilobytes; anything far larger is not one.
constexpr qint64 kLargestText = 4 * 1024 * 1024;

} // namespace

QString instructionFileName(int number)
{
    static const std::array<const char *, kInstructionCount> files{
        "pit.txt",  "sir.txt", "kk.txt",    "ras.txt",
        "smes.txt", "arh.txt", "param.txt", "rezerv.txt"};
    if (number < 1 || number > kInstructionCount)
        return {};
    return QLatin1String(files[size_t(number - 1)]);
}

InstructionText readInstruction(const QString &dataDir, int number)
{
    InstructionText text;
    const QString name = instructionFileName(number);
    if (name.isEmpty()) {
        text.error = QStringLiteral("Инструкции с номером %1 нет").arg(number);
        return text;
    }
    const QString path = QDir(dataDir).filePath(name);
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.exists()) {
        text.error = QStringLiteral("Файл инструкции %1 не найден").arg(shown);
        return text;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        text.error =
            QStringLiteral("Файл инструкции %1 не читается: %2").arg(shown, file.errorString());
        return text;
    }
    if (file.size() > kLargestText) {
        text.error = QStringLiteral("Файл инструкции %1 слишком велик").arg(shown);
        return text;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        text.error =
            QStringLiteral("Файл инструкции %1 не читается: %2").arg(shown, file.errorString());
        return text;
    }
    bytes.replace("\r\n", "\n");
    text.lines = store::decode1251(bytes).split(QLatin1Char('\n'));
    if (!text.lines.isEmpty() && text.lines.constLast().isEmpty())
        text.lines.removeLast(); // the line end of the last line starts no new one
    return text;
}

} // namespace maintenance

#pragma once

// The eight instruction texts of the data directory: plain text in code page 1251, shown
// one display line per file line.

#include <QString>
#include <QStringList>

namespace maintenance
{

inline constexpr int kInstructionCount = 8;

// The file of instruction 1 ... 8 ("pit.txt" ... "rezerv.txt"); empty for another number.
QString instructionFileName(int number);

struct InstructionText {
    QStringList lines;
    QString error; // why the text cannot be shown, naming the file; empty when it can
};

// The lines of instruction `number` in dataDir, without their line ends (CR LF or LF).
InstructionText readInstruction(const QString &dataDir, int number);

} // namespace maintenance

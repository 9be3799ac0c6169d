#pragma once

// The enterprise parameters: the thirty lines of the settings file cons.txt in the data
// directory (code page 1251, one value per line, CRLF) and the process-wide copy of them
// that every window reads.
//
// Reading never fails: whatever cannot be read (no file, too few lines, a number line
// that holds no number or one out of its field's range, a file in UTF-8 rather than
// 1251) stays empty, 0 or false, or is read as it stands, and is described in a Russian
// problem text, so the program starts anyway and the main window can say what is wrong.
// Writing always produces the complete thirty lines; a character that has no byte in
// code page 1251 is written as "?" and reported.

#include <QString>
#include <QStringList>

#include <array>

namespace settings
{

inline constexpr int settingsLineCount = 30; // meaningful lines; anything after is ignored
inline constexpr int settingsTextLimit = 60; // texts of lines 1-23 are cut to this length

// A person who signs the recipe document: position and surname.
struct Signer {
    QString position;
    QString surname;
    bool operator==(const Signer &) const = default;
};

// The thirty values in memory, in the order of the file's lines.
struct Settings {
    QString enterpriseName;             // line 1
    QString approverPosition;           // 2, the person who approves the recipe
    QString approverSurname;            // 3
    std::array<Signer, 5> signers;      // 4-13: the first ... fifth signer
    double lossNorm = 0;                // 14, production loss norm, %
    double productionCosts = 0;         // 15, production costs per tonne of output, roubles
    double profitability = 0;           // 16, profitability level, %
    QString taxName;                    // 17
    double taxRate = 0;                 // 18, %
    QString premixFiller;               // 19
    double granulationSurcharge = 0;    // 20, roubles per tonne
    QString certificateSignerPosition;  // 21, signs the quality certificate
    QString conformityCertificate;      // 22
    QString certificateSignerSurname;   // 23
    QString address;                    // 24, held whole
    bool namePriceWithoutTax = false;   // 25, recipe names carry the price without tax
    bool namePriceWithTax = false;      // 26, recipe names carry the price with tax
    bool roundWholesalePrice = false;   // 27, round the price without tax
    bool noRoundWholesalePrice = false; // 28
    bool roundSellingPrice = false;     // 29, round the price with tax
    bool noRoundSellingPrice = false;   // 30

    bool operator==(const Settings &) const = default;
};

// What a read gave: the values it could read and what was wrong (empty: all well).
struct SettingsRead {
    Settings values;
    QStringList problems;
};

// The label of a value's field in the parameters window, for lines 1-24 (the number
// lines 14, 15, 16, 18, 20 included); empty for other lines.
QString settingsLineLabel(int line);

// True for the five number lines 14, 15, 16, 18, 20.
bool isNumberLine(int line);

// The largest value a number line's field can hold: 99.99 for "99.99", 999999.99 for
// "999999.99". The fields hold no sign, so the smallest is 0.
double numberLineLimit(int line);
// What is wrong with value for number line `line`, naming the setting; empty when it is
// within 0 ... numberLineLimit(line). A loss norm of -100 would make every recipe free
// and a profitability of -100 would divide by zero: such values stop the calculation.
QString numberRangeProblem(int line, double value);
// The problems of every number out of range, in line order.
QStringList settingsRangeProblems(const Settings &values);

// Width of a number line's field: 5 for "99.99" (loss norm, profitability, tax rate),
// 9 for "999999.99" (costs, surcharge); 0 for other lines.
int numberFieldWidth(int line);

// The file of a data directory: <dataDir>/cons.txt.
QString settingsFilePath(const QString &dataDir);

// The reading rules applied to the lines of a file; lines past the thirtieth are ignored.
// fileLabel names the file in the problem texts.
SettingsRead parseSettings(const QStringList &lines, const QString &fileLabel);

// The thirty lines for values: texts as they are (a line break inside becomes a blank),
// numbers with two decimals right-aligned in the width of their field, flags "t" or "f".
QStringList settingsLines(const Settings &values);

// Reads cons.txt of dataDir and makes what it read the process-wide settings.
SettingsRead ReadSettings(const QString &dataDir = QStringLiteral("itog3"));

// Writes values as the thirty lines of cons.txt of dataDir (a complete new file renamed
// over the old one), then makes the values read back from those lines the process-wide
// settings, so that every window sees them at once, even when the file could not be
// written. Returns the problems: characters replaced by "?", a failed write; empty when
// all went well.
QStringList WriteSettings(const Settings &values, const QString &dataDir = QStringLiteral("itog3"));

// The process-wide settings, read when the main window first becomes active and again
// after every close of the parameters window.
const Settings &currentSettings();
void setCurrentSettings(const Settings &values);

} // namespace settings

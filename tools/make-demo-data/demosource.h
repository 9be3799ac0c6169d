#pragma once

// The demo data as read from data/source: the three lists with their values, the
// inclusion limits, the production programme, the settings lines and the instruction
// texts, checked against the limits of the pools and the field widths.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

using Cell = std::optional<double>; // an empty cell stays an empty field

struct Characteristic {
    int key = 0;
    QString name;
    QString unit;
};

struct RawMaterial {
    QString name;
    bool premix = false;
    QList<Cell> contents; // by position in the characteristics list
    bool selected = false;
    Cell stock;
};

struct FeedType {
    QString tip;
    QString gost;
    QString purpose;
    double vat = 0;
    QList<Cell> normMin; // by position in the characteristics list
    QList<Cell> normMax;
    bool selected = false;
    Cell output;
};

struct InclusionLimit {
    int feed = 0; // positions in the lists, from 0
    int raw = 0;
    double min = 0;
    double max = 0;
};

struct RatioBound {
    int feed = 0;      // positions in the lists, from 0
    int numerator = 0; // position in the characteristics list
    int denominator = 0;
    Cell min; // an empty cell stays an empty field
    Cell max;
    bool on = false;
};

inline constexpr int characteristicPool = 65;
inline constexpr int listPool = 400;
inline constexpr int settingsLines = 30;

// File names of the eight instruction texts, in the order of the menu's buttons.
QStringList instructionFiles();

struct DemoSource {
    QList<Characteristic> characteristics;
    QList<RawMaterial> raws;
    QList<FeedType> feeds;
    QList<InclusionLimit> limits;
    QList<RatioBound> ratios;
    QStringList settings;                    // the 30 lines of cons.txt
    QMap<QString, QStringList> instructions; // file name -> lines

    // Reads and checks every source file of dir; throws std::runtime_error.
    static DemoSource load(const QString &dir);
};

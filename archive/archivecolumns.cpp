#include "archive/archivecolumns.h"

#include <QHash>

namespace archive
{

namespace
{

using Titles = QHash<QString, QString>;

const Titles &headTitles()
{
    static const Titles titles = {
        {"naim", "Наименование рецепта"},
        {"nasn", "Назначение"},
        {"gost", "ГОСТ"},
        {"prim", "Примечание"},
        {"data", "Дата расчета"},
        {"ves", "Выработка Т"},
        {"nds", "%нал."},
        {"izder", "Издержки"},
        {"gran", "За гран. 1Т"},
        {"gk", "Г/К"},
        {"procprib", "Прибыль %"},
        {"procpot", "Норматив производственных потерь %"},
    };
    return titles;
}

const Titles &rawTitles()
{
    static const Titles titles = {{"naim", "Наименование сырья"},
                                  {"ves", "Вес без пот"},
                                  {"procin", "% ввода"},
                                  {"price", "Цена 1Т."},
                                  {"pricein", "Цена 1Т."}};
    return titles;
}

const Titles &characteristicTitles()
{
    static const Titles titles = {{"pit", "Характеристика"},
                                  {"ediz", "Единица измерения"},
                                  {"mi", "Минимум"},
                                  {"ma", "Максимум"},
                                  {"fa", "Факт"},
                                  {"ra", "Расчет"}};
    return titles;
}

} // namespace

QString archiveColumnTitle(const QString &tableFile, const QString &field)
{
    const QString table = tableFile.section(u'.', 0, 0).toLower();
    const Titles *titles = table == QLatin1String("arkk")    ? &headTitles()
                           : table == QLatin1String("arsir") ? &rawTitles()
                           : table == QLatin1String("arpit") || table == QLatin1String("arprem")
                               ? &characteristicTitles()
                               : nullptr;
    return titles ? titles->value(field.toLower(), field) : field;
}

} // namespace archive

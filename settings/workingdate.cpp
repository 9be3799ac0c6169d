#include "settings/workingdate.h"

#include <QLocale>

namespace settings
{

namespace
{

QDate &pickedDate()
{
    static QDate date; // invalid: none picked yet
    return date;
}

} // namespace

QDate workingDate()
{
    return pickedDate().isValid() ? pickedDate() : QDate::currentDate();
}

void setWorkingDate(const QDate &date)
{
    pickedDate() = date;
}

QString shortDateFormat()
{
    return QLocale(QLocale::Russian, QLocale::Russia).dateFormat(QLocale::ShortFormat);
}

QString shortDateText(const QDate &date)
{
    return date.toString(shortDateFormat());
}

} // namespace settings

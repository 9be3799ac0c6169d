#pragma once

// The working date: the date shown in the main menu's calendar, today until the user
// picks another. It goes with every recipe into the archive and onto the printed
// documents, written in the system's short date format.

#include <QDate>
#include <QString>

namespace settings
{

// The working date; today's date while none has been set.
QDate workingDate();
void setWorkingDate(const QDate &date);

// The short date format of the Russian desktop, "dd.MM.yyyy".
QString shortDateFormat();

// date written in the short date format ("05.03.2024").
QString shortDateText(const QDate &date);

} // namespace settings

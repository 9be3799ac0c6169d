#pragma once

// Qt's own texts in Russian: the buttons of message boxes, the file dialog of the PDF
// output, the print dialog and preview, the calendar's month names. Qt formats dates and
// numbers in the Russian locale, whatever locale the machine has.

class QCoreApplication;

namespace shell
{

// Sets the Russian locale as the default and installs Qt's Russian translation
// (qtbase_ru.qm from Qt's translations folder) on the application, which owns it.
// False when the translation is missing or does not load: Qt's dialogs then stay in
// English, nothing else changes.
bool useRussianLanguage(QCoreApplication &app);

} // namespace shell

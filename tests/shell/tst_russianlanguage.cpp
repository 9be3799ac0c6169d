// Qt's own dialogs speak Russian once the program's language is set: the buttons of
// message boxes, the file dialog that asks for a PDF file, the print preview; dates come
// in the Russian locale.

#include "shell/russianlanguage.h"

#include <QApplication>
#include <QDate>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TestRussianLanguage final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void messageBoxButtons_data();
    void messageBoxButtons();
    void fileDialogSpeaksRussian();
    void datesInRussian();
};

void TestRussianLanguage::initTestCase()
{
    QVERIFY2(shell::useRussianLanguage(*QCoreApplication::instance()),
             "qtbase_ru.qm not found: install qt6-translations-l10n");
}

void TestRussianLanguage::messageBoxButtons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("text");
    QTest::newRow("close") << int(QMessageBox::Close) << QStringLiteral("Закрыть");
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << QStringLiteral("Отмена");
    QTest::newRow("yes") << int(QMessageBox::Yes) << QStringLiteral("Да");
    QTest::newRow("no") << int(QMessageBox::No) << QStringLiteral("Нет");
    QTest::newRow("save") << int(QMessageBox::Save) << QStringLiteral("Сохранить");
}

void TestRussianLanguage::messageBoxButtons()
{
    QFETCH(int, button);
    QFETCH(QString, text);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Кормоплан"), QStringLiteral("Текст"),
                    QMessageBox::StandardButton(button));
    QCOMPARE(box.button(QMessageBox::StandardButton(button))->text().remove(u'&'), text);
}

// The dialog of "PDF-файл" is Qt's own (no desktop dialog under the tests).
void TestRussianLanguage::fileDialogSpeaksRussian()
{
    QFileDialog dialog(nullptr, QStringLiteral("Сохранить документ в PDF-файл"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QCOMPARE(dialog.labelText(QFileDialog::Accept).remove(u'&'), QStringLiteral("Сохранить"));
    QCOMPARE(dialog.labelText(QFileDialog::Reject).remove(u'&'), QStringLiteral("Отмена"));
    const auto labels = dialog.findChildren<QLabel *>();
    QStringList texts;
    for (const QLabel *label : labels)
        texts.append(label->text());
    for (const QString &english : {QStringLiteral("Look in:"), QStringLiteral("File name:"),
                                   QStringLiteral("Files of type:")})
        QVERIFY2(!texts.contains(english), qPrintable(texts.join(u'|')));
    const auto buttons = dialog.findChild<QDialogButtonBox *>()->buttons();
    for (const QAbstractButton *b : buttons)
        QVERIFY2(!b->text().contains(QStringLiteral("Cancel")), qPrintable(b->text()));
}

void TestRussianLanguage::datesInRussian()
{
    const QDate date(2026, 3, 5);
    QCOMPARE(QLocale().toString(date, QLocale::ShortFormat), QStringLiteral("05.03.2026"));
    QCOMPARE(QLocale().standaloneMonthName(3), QStringLiteral("март"));
    QCOMPARE(QLocale().toString(1234.5, 'f', 1), QStringLiteral("1\u00a0234,5"));
}

QTEST_MAIN(TestRussianLanguage)
#include "tst_russianlanguage.moc"

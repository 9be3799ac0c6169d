// The parameters window ParametersWindow: what it shows, what typing in its masked fields gives,
// and the file it leaves behind after each close.
#include "settings/settings.h"
#include "settings/window/parameterswindow.h"

#include "namedchild.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using settings::ParametersWindow;
using settings::Settings;

namespace
{

QStringList demoLines()
{
    return {QStringLiteral("ООО «Агрокорм»"),
            QStringLiteral("Директор"),
            QStringLiteral("Петров П.П."),
            QStringLiteral("Главный технолог"),
            QStringLiteral("Сидорова А.В."),
            QStringLiteral("Начальник лаборатории"),
            QStringLiteral("Кузнецов И.И."),
            QStringLiteral("Мастер смены"),
            QStringLiteral("Орлов В.С."),
            QStringLiteral("Кладовщик"),
            QStringLiteral("Белова Н.М."),
            QStringLiteral("Бухгалтер"),
            QStringLiteral("Зайцева О.Л."),
            QStringLiteral("2.5"),
            QStringLiteral("1200"),
            QStringLiteral("15.00"),
            QStringLiteral("НДС"),
            QStringLiteral("10.00"),
            QStringLiteral("Мел кормовой"),
            QStringLiteral("   150.00"),
            QStringLiteral("Начальник лаборатории"),
            QStringLiteral("РОСС RU.0001.11ПК05"),
            QStringLiteral("Иванова Т.С."),
            QStringLiteral("398000, Липецкая обл., г. Липецк, ул. Промышленная, д. 12"),
            QStringLiteral("t"),
            QStringLiteral("f"),
            QStringLiteral("f"),
            QStringLiteral("t"),
            QStringLiteral("t"),
            QStringLiteral("f")};
}

} // namespace

class TestParametersWindow final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void numbersShowRightAligned();
    void typingInNumberFields_data();
    void typingInNumberFields();
    void twoOpenCloseCyclesLeaveThirtyLines();
    void longLineIsWrittenBackWith60();
    void changedValuesAreInForceAtOnce();
    void everyWayOfClosingWrites_data();
    void everyWayOfClosingWrites();
    void choicesFollowFlags_data();
    void choicesFollowFlags();
    void valuesWiderThanTheMaskSurvive();
    void characterWithout1251ByteIsReported();
    void tabOrderFollowsLines();
    void longestTextsShowWhole();
    void saveSaysWhetherTheValuesAreSaved_data();
    void saveSaysWhetherTheValuesAreSaved();

private:
    void writeFile(const QStringList &lines);
    QStringList fileLines() const;
    void open();
    void closeByButton();
    // The field of a file line 1-24, the choice of a line 25-30, named after the line.
    QLineEdit *field(int line) const { return child<QLineEdit>(line); }
    QRadioButton *choice(int line) const { return child<QRadioButton>(line); }
    template <class T> T *child(int line) const
    {
        return namedChild<T>(window.get(),
                             QStringLiteral("line%1").arg(line).toLatin1().constData());
    }
    QPushButton *button(const char *name) const
    {
        return namedChild<QPushButton>(window.get(), name);
    }
    QLabel *savedLabel() const { return namedChild<QLabel>(window.get(), "savedLabel"); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<ParametersWindow> window;
};

void TestParametersWindow::init()
{
    dir = std::make_unique<QTemporaryDir>();
    writeFile(demoLines());
    QVERIFY(settings::ReadSettings(dir->path()).problems.isEmpty());
    window = std::make_unique<ParametersWindow>(nullptr, dir->path());
}

void TestParametersWindow::cleanup()
{
    window.reset();
    dir.reset();
}

void TestParametersWindow::writeFile(const QStringList &lines)
{
    QFile file(settings::settingsFilePath(dir->path()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QStringEncoder encoder("windows-1251");
    file.write(encoder.encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}

// The file's lines; each must end with CR LF (a line without it fails the check).
QStringList TestParametersWindow::fileLines() const
{
    QFile file(settings::settingsFilePath(dir->path()));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (!bytes.endsWith("\r\n") || bytes.count('\n') != bytes.count("\r\n"))
        return {QStringLiteral("bad line ends")};
    QStringDecoder decoder("windows-1251");
    QStringList lines = QString(decoder.decode(bytes)).split(QStringLiteral("\r\n"));
    lines.removeLast(); // after the last CR LF
    return lines;
}

void TestParametersWindow::open()
{
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void TestParametersWindow::closeByButton()
{
    QTest::mouseClick(button("exitButton"), Qt::LeftButton);
    QVERIFY(!window->isVisible());
}

// Loss norm 2.5 shows as " 2.50", costs 1200 as "  1200.00" (nine characters).
void TestParametersWindow::numbersShowRightAligned()
{
    open();
    QCOMPARE(field(14)->displayText(), QStringLiteral(" 2.50"));
    QCOMPARE(field(15)->displayText(), QStringLiteral("  1200.00"));
    QCOMPARE(field(16)->displayText(), QStringLiteral("15.00"));
    QCOMPARE(field(18)->displayText(), QStringLiteral("10.00"));
    QCOMPARE(field(20)->displayText(), QStringLiteral("   150.00"));
    QCOMPARE(field(1)->text(), QStringLiteral("ООО «Агрокорм»"));
    QCOMPARE(field(24)->text(), demoLines().at(23));
}

void TestParametersWindow::typingInNumberFields_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("value");
    QTest::newRow("loss norm 2.5") << 14 << QStringLiteral("2.5") << QStringLiteral(" 2.50") << 2.5;
    QTest::newRow("loss norm 12") << 14 << QStringLiteral("12") << QStringLiteral("12.00") << 12.0;
    QTest::newRow("costs 1200") << 15 << QStringLiteral("1200") << QStringLiteral("  1200.00")
                                << 1200.0;
    QTest::newRow("costs 1200.75")
        << 15 << QStringLiteral("1200.75") << QStringLiteral("  1200.75") << 1200.75;
    QTest::newRow("profitability .5")
        << 16 << QStringLiteral(".5") << QStringLiteral(" 0.50") << 0.5;
    QTest::newRow("tax rate cleared") << 18 << QString() << QStringLiteral(" 0.00") << 0.0;
    QTest::newRow("surcharge 99999.99")
        << 20 << QStringLiteral("99999.99") << QStringLiteral(" 99999.99") << 99999.99;
    QTest::newRow("letters are refused")
        << 14 << QStringLiteral("a3b") << QStringLiteral(" 3.00") << 3.0;
}

// Typing over the selected field, then Enter: the field shows the value right-aligned,
// and after the close the file and memory hold it.
void TestParametersWindow::typingInNumberFields()
{
    QFETCH(int, line);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(double, value);
    open();
    QLineEdit *edit = field(line);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    edit->setCursorPosition(0);
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(window->isVisible()); // Enter does not close the window
    QCOMPARE(edit->displayText(), shown);
    closeByButton();
    QCOMPARE(fileLines().at(line - 1), shown);
    const Settings &s = settings::currentSettings();
    const double held = line == 14   ? s.lossNorm
                        : line == 15 ? s.productionCosts
                        : line == 16 ? s.profitability
                        : line == 18 ? s.taxRate
                                     : s.granulationSurcharge;
    QCOMPARE(held, value);
}

void TestParametersWindow::twoOpenCloseCyclesLeaveThirtyLines()
{
    writeFile(demoLines() << QStringLiteral("лишняя строка") << QString());
    settings::ReadSettings(dir->path());
    for (int cycle = 0; cycle < 2; ++cycle) {
        open();
        closeByButton();
        QCOMPARE(fileLines().size(), 30);
    }
    QStringList expected = demoLines();
    expected[13] = QStringLiteral(" 2.50");
    expected[14] = QStringLiteral("  1200.00");
    QCOMPARE(fileLines(), expected);
}

void TestParametersWindow::longLineIsWrittenBackWith60()
{
    QStringList lines = demoLines();
    const QString longName = QString(15, QChar(0x0416)) + QString(60, QLatin1Char('a'));
    lines[0] = longName;
    lines[22] = longName;
    lines[23] = longName; // the address is held whole
    writeFile(lines);
    settings::ReadSettings(dir->path());
    open();
    closeByButton();
    QCOMPARE(fileLines().at(0), longName.left(60));
    QCOMPARE(fileLines().at(22), longName.left(60));
    QCOMPARE(fileLines().at(23), longName);
}

void TestParametersWindow::changedValuesAreInForceAtOnce()
{
    open();
    field(17)->setText(QStringLiteral("НДС 20%"));
    field(3)->setText(QStringLiteral("Смирнов С.С."));
    choice(26)->setChecked(true);
    choice(27)->setChecked(true);
    closeByButton();
    const Settings &s = settings::currentSettings();
    QCOMPARE(s.taxName, QStringLiteral("НДС 20%"));
    QCOMPARE(s.approverSurname, QStringLiteral("Смирнов С.С."));
    QVERIFY(!s.namePriceWithoutTax && s.namePriceWithTax);
    QVERIFY(s.roundWholesalePrice && !s.noRoundWholesalePrice);
    QCOMPARE(fileLines().mid(24), QStringList({"f", "t", "t", "f", "t", "f"}));

    open(); // shows what is now in memory
    QCOMPARE(field(17)->text(), QStringLiteral("НДС 20%"));
    QVERIFY(choice(26)->isChecked() && !choice(25)->isChecked());
    window->close();
}

void TestParametersWindow::everyWayOfClosingWrites_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("close box") << 0;
    QTest::newRow("Esc") << 1;
    QTest::newRow("exec and Выход") << 2;
}

void TestParametersWindow::everyWayOfClosingWrites()
{
    QFETCH(int, way);
    QFile::remove(settings::settingsFilePath(dir->path()));
    if (way == 2) {
        QTimer::singleShot(0, window.get(), [this] {
            field(1)->setText(QStringLiteral("АО «Корма»"));
            button("exitButton")->click();
        });
        QTimer::singleShot(5000, window.get(), [this] { window->reject(); }); // safety
        window->exec();
    } else {
        open();
        field(1)->setText(QStringLiteral("АО «Корма»"));
        if (way == 0)
            window->close();
        else
            QTest::keyClick(field(5), Qt::Key_Escape);
    }
    QVERIFY(!window->isVisible());
    QCOMPARE(fileLines().size(), 30);
    QCOMPARE(fileLines().first(), QStringLiteral("АО «Корма»"));
    QCOMPARE(settings::currentSettings().enterpriseName, QStringLiteral("АО «Корма»"));
}

void TestParametersWindow::choicesFollowFlags_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("writtenFirst");
    QTest::addColumn<QString>("writtenSecond");
    const QString t = QStringLiteral("t");
    const QString f = QStringLiteral("f");
    QTest::newRow("first") << t << f << t << f;
    QTest::newRow("second") << f << t << f << t;
    QTest::newRow("both: the second wins") << t << t << f << t;
    QTest::newRow("neither stays neither") << f << f << f << f;
    QTest::newRow("capital T is false") << QStringLiteral("T") << f << f << f;
}

void TestParametersWindow::choicesFollowFlags()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, writtenFirst);
    QFETCH(QString, writtenSecond);
    QStringList lines = demoLines();
    for (int line : {25, 27, 29})
        lines[line - 1] = first;
    for (int line : {26, 28, 30})
        lines[line - 1] = second;
    writeFile(lines);
    settings::ReadSettings(dir->path());
    open();
    QCOMPARE(choice(27)->isChecked(), writtenFirst == QLatin1String("t"));
    closeByButton();
    for (int line : {25, 27, 29}) {
        QCOMPARE(fileLines().at(line - 1), writtenFirst);
        QCOMPARE(fileLines().at(line), writtenSecond);
    }
}

// A value the usual mask cannot hold is shown whole and written back unchanged.
void TestParametersWindow::valuesWiderThanTheMaskSurvive()
{
    QStringList lines = demoLines();
    lines[13] = QStringLiteral("123.4");
    lines[15] = QStringLiteral("-5");
    lines[14] = QStringLiteral("1234567.891");
    writeFile(lines);
    settings::ReadSettings(dir->path());
    open();
    QCOMPARE(field(14)->displayText(), QStringLiteral("123.40"));
    QCOMPARE(field(16)->displayText(), QStringLiteral("-5.00"));
    QCOMPARE(field(15)->displayText(), QStringLiteral("1234567.89"));
    closeByButton();
    QCOMPARE(settings::currentSettings().lossNorm, 123.4);
    QCOMPARE(settings::currentSettings().profitability, -5.0);
    QCOMPARE(settings::currentSettings().productionCosts, 1234567.89);
}

// A character without a 1251 byte is written as "?" and the user is told.
void TestParametersWindow::characterWithout1251ByteIsReported()
{
    open();
    field(19)->setText(QStringLiteral("Мел ☺"));
    bool shown = false;
    QTimer::singleShot(0, window.get(), [&shown] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown = box->text().contains(QStringLiteral("Windows-1251")) &&
                    box->windowTitle() == QStringLiteral("Кормоплан");
            box->accept();
        }
    });
    closeByButton();
    QVERIFY(shown);
    QCOMPARE(window->lastProblems().size(), 1);
    QCOMPARE(fileLines().at(18), QStringLiteral("Мел ?"));
    QCOMPARE(settings::currentSettings().premixFiller, QStringLiteral("Мел ?"));
}

void TestParametersWindow::tabOrderFollowsLines()
{
    open();
    field(1)->setFocus();
    for (int line = 2; line <= 24; ++line) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), field(line));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), choice(25)); // the checked one of the pair
    window->close();
}

// At the size it asks for, every text field shows the longest text it takes (60
// characters) whole, capitals included; that size fits a screen of 1280 × 1024.
void TestParametersWindow::longestTextsShowWhole()
{
    const QStringList longest = {
        QStringLiteral("ООО \"КОМБИКОРМОВЫЙ ЗАВОД ИМЕНИ ГЕРОЕВ ТРУДА\", Г. НОВОСИБИРСК"),
        QStringLiteral("Заведующий производственной лабораторией комбикормового цеха"),
        QStringLiteral("ЕАЭС N RU Д-RU.PA01.B.12345/23 ОТ 01.02.2023 ДО 01.02.2028 Г")};
    for (const QString &text : longest)
        QCOMPARE(text.size(), settings::settingsTextLimit);
    open();
    const QSize wanted = window->sizeHint();
    QVERIFY2(wanted.width() <= 1280 && wanted.height() <= 1024,
             qPrintable(QStringLiteral("%1x%2").arg(wanted.width()).arg(wanted.height())));
    window->resize(wanted);
    QCoreApplication::processEvents();
    for (int line = 1; line <= 23; ++line) {
        if (settings::isNumberLine(line))
            continue;
        QLineEdit *edit = field(line);
        for (const QString &text : longest) {
            edit->setText(text);
            QCOMPARE(edit->text(), text);
            QVERIFY2(edit->fontMetrics().horizontalAdvance(text) <=
                         edit->contentsRect().width() - 4,
                     qPrintable(settings::settingsLineLabel(line)));
        }
        edit->setText(longest.at(line % 3));
        edit->setCursorPosition(0);
    }
    window->grab().save(QStringLiteral(KP_TEST_OUTPUT "/parameters-longest.png"));
    window->close();
}

void TestParametersWindow::saveSaysWhetherTheValuesAreSaved_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("saidAfter");
    QTest::newRow("saved") << true << QStringLiteral("Значения сохранены в ");
    QTest::newRow("folder gone") << false << QStringLiteral("Не удалось записать файл настроек");
}

// The line beside the buttons: saved when opened, not saved once a value is typed, saved
// after "Сохранить", which writes the file and leaves the window open; or why not.
void TestParametersWindow::saveSaysWhetherTheValuesAreSaved()
{
    QFETCH(bool, writable);
    QFETCH(QString, saidAfter);
    if (!writable)
        window = std::make_unique<ParametersWindow>(nullptr, dir->filePath(QStringLiteral("gone")));
    open();
    QCOMPARE(savedLabel()->text(), QStringLiteral("Показаны сохраненные значения."));
    field(3)->setFocus();
    field(3)->end(false);
    QTest::keyClick(field(3), Qt::Key_Backspace);
    QVERIFY(savedLabel()->text().startsWith(QStringLiteral("Изменения не сохранены")));
    QTimer::singleShot(0, window.get(), [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->accept();
    });
    QTest::mouseClick(button("saveButton"), Qt::LeftButton);
    QVERIFY(window->isVisible());
    QVERIFY2(savedLabel()->text().startsWith(saidAfter), qPrintable(savedLabel()->text()));
    QCOMPARE(settings::currentSettings().approverSurname, QStringLiteral("Петров П.П"));
    QCOMPARE(fileLines().at(2), writable ? QStringLiteral("Петров П.П") : demoLines().at(2));
    window->grab().save(QStringLiteral(KP_TEST_OUTPUT "/parameters-saved.png"));
    QTimer::singleShot(0, window.get(), [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->accept();
    });
    window->close();
}

QTEST_MAIN(TestParametersWindow)
#include "tst_parameterswindow.moc"

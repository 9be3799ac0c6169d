// The backup window TForm16 and the restore window TForm17: their texts, the letter field
// and the drives under it, and a backup and restore made through them.
#include "maintenance/window/backupwindow.h"
#include "maintenance/window/restorewindow.h"

#include "maintenance/maintenancefixture.h"
#include "platform/driveletters.h"
#include "store/table.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using maintenance::DriveWindow;

class TestDriveWindows final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void texts_data();
    void texts();
    void focusOnTheLetterField();
    void drivesListedAndPicked();
    void refusedLetterKeepsTheFocus_data();
    void refusedLetterKeepsTheFocus();
    void roundTripThroughTheWindows();

private:
    DriveWindow *window(bool backup) { return backup ? (DriveWindow *)form16_ : form17_; }
    static QStringList labelTexts(const QWidget *window);

    std::unique_ptr<fixture::Workplace> work_;
    std::unique_ptr<platform::FolderDrives> drives_;
    store::TDataModule2 *dm_ = nullptr;
    maintenance::TForm16 *form16_ = nullptr;
    maintenance::TForm17 *form17_ = nullptr;
    std::unique_ptr<QWidget> owner_;
    QStringList shown_;
};

void TestDriveWindows::init()
{
    work_ = std::make_unique<fixture::Workplace>();
    QVERIFY(work_->ok());
    drives_ = std::make_unique<platform::FolderDrives>(
        QMap<QChar, QString>{{u'E', work_->drive()}, {u'F', work_->root() + "/second"}});
    dm_ = work_->open();
    QVERIFY(dm_);
    owner_ = std::make_unique<QWidget>();
    form16_ = new maintenance::TForm16(*dm_, *drives_, owner_.get());
    form17_ = new maintenance::TForm17(*dm_, *drives_, owner_.get());
    shown_.clear();
    for (DriveWindow *w : {window(true), window(false)})
        w->setMessageSink([this](const QString &text) { shown_.append(text); });
}

void TestDriveWindows::cleanup()
{
    owner_.reset();
    work_.reset();
}

QStringList TestDriveWindows::labelTexts(const QWidget *window)
{
    QStringList texts;
    for (const QLabel *label : window->findChildren<QLabel *>())
        texts.append(label->text());
    return texts;
}

void TestDriveWindows::texts_data()
{
    QTest::addColumn<bool>("backup");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("run");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("TForm16") << true << "Архивирование данных на резервный носитель"
                             << "Архивировать"
                             << QStringList{"Подготовьте резервный носитель (вставьте дискету или "
                                            "флешку или убедитесь в готовности сетевого диска).",
                                            "Узнайте имя резервного носителя (см. Инструкцию), "
                                            "введите эту букву в латинском регистре  ",
                                            "Имя резервного носителя",
                                            "Архивирование продолжается до 16 секунд. "
                                            "Подождите...."};
    QTest::newRow("TForm17") << false << "Восстановление данных с резервного носителя"
                             << "Восстановить данные"
                             << QStringList{"Подготовьте резервный носитель (вставьте дискету "
                                            "или подключите флешку или убедитесь в готовности "
                                            "внешнего диска).",
                                            "Узнайте имя резервного носителя (см. Инструкцию) и "
                                            "введите эту букву в латинском регистре",
                                            "Имя резервного носителя"};
}

void TestDriveWindows::texts()
{
    QFETCH(bool, backup);
    QFETCH(QString, caption);
    QFETCH(QString, run);
    QFETCH(QStringList, lines);
    DriveWindow *w = window(backup);
    QCOMPARE(w->windowTitle(), caption);
    QCOMPARE(w->runButton()->text(), run);
    QCOMPARE(w->exitButton()->text(), QString("Выход"));
    const QStringList shown = labelTexts(w);
    for (const QString &line : lines)
        QVERIFY2(shown.contains(line), qPrintable(line));
    QVERIFY(shown.join(' ').contains("\"Выход\""));
}

void TestDriveWindows::focusOnTheLetterField()
{
    for (bool backup : {true, false}) {
        DriveWindow *w = window(backup);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(QApplication::focusWidget(), w->letterField());
        QTest::keyClicks(w->letterField(), "ef"); // one character only
        QCOMPARE(w->letterField()->text(), QString("e"));
        w->close();
    }
}

// The drives the letters stand for are listed under the field; a click takes the letter.
void TestDriveWindows::drivesListedAndPicked()
{
    DriveWindow *w = window(false);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->driveList()->count(), 2);
    QVERIFY(w->driveList()->item(1)->text().startsWith("F:"));
    const QRect second = w->driveList()->visualItemRect(w->driveList()->item(1));
    QTest::mouseClick(w->driveList()->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(w->letterField()->text(), QString("F"));
    w->close();

    platform::FolderDrives none({});
    maintenance::TForm16 lonely(*dm_, none);
    lonely.show();
    QCOMPARE(lonely.driveList()->count(), 1);
    QCOMPARE(lonely.driveList()->item(0)->text(), QString("Съемные и сетевые носители не найдены"));
}

void TestDriveWindows::refusedLetterKeepsTheFocus_data()
{
    QTest::addColumn<bool>("backup");
    QTest::addColumn<QString>("typed");
    QTest::newRow("backup, cyrillic") << true << "е";
    QTest::newRow("backup, digit") << true << "7";
    QTest::newRow("restore, empty") << false << "";
    QTest::newRow("restore, cyrillic") << false << "Ж";
}

void TestDriveWindows::refusedLetterKeepsTheFocus()
{
    QFETCH(bool, backup);
    QFETCH(QString, typed);
    DriveWindow *w = window(backup);
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    for (const QChar c : typed) { // key events carrying the text, as a Cyrillic layout sends
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w->letterField(), &press);
    }
    QCOMPARE(w->letterField()->text(), typed);
    QTest::mouseClick(w->runButton(), Qt::LeftButton);
    QCOMPARE(shown_, QStringList{"Введите одну латинскую букву..."});
    QCOMPARE(QApplication::focusWidget(), w->letterField());
    QVERIFY(!QFileInfo::exists(work_->backupDir()));
}

// The technologist's round: back up to E (typed in lower case, Enter), change a price,
// restore from E ("Да" to the question naming the backup): the raw materials cursor shows
// the old price without a restart.
void TestDriveWindows::roundTripThroughTheWindows()
{
    dm_->Table3.first();
    const double price = dm_->Table3.number("MI1");

    form16_->show();
    QVERIFY(QTest::qWaitForWindowActive(form16_));
    QTest::keyClicks(form16_->letterField(), "e");
    QTest::keyClick(form16_->letterField(), Qt::Key_Return);
    QCOMPARE(shown_, QStringList{"Резервная копия создана!"});
    QVERIFY(form16_->isVisible()); // "Выход" closes it, not the copy
    QTest::mouseClick(form16_->exitButton(), Qt::LeftButton);
    QVERIFY(!form16_->isVisible());

    dm_->Table3.setNumber("MI1", price + 500);
    dm_->Table3.post();

    shown_.clear();
    form17_->show();
    QVERIFY(QTest::qWaitForWindowActive(form17_));
    QTest::keyClicks(form17_->letterField(), "E");
    QString asked;
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            asked = box->text();
            for (QAbstractButton *button : box->buttons())
                if (button->text() == QStringLiteral("Да"))
                    button->click();
        }
    });
    answer.start(10);
    QTest::mouseClick(form17_->runButton(), Qt::LeftButton);
    QVERIFY2(asked.contains(QDir::toNativeSeparators(work_->backupDir())), qPrintable(asked));
    QCOMPARE(shown_, QStringList{"Данные восстановлены!"});
    QCOMPARE(dm_->Table3.viewCount(), dm_->sirCount());
    QCOMPARE(dm_->Table3.number("MI1"), price);
    form17_->grab().save(KP_TEST_OUTPUT "/restorewindow.png");
    form17_->close();
    form16_->show();
    form16_->grab().save(KP_TEST_OUTPUT "/backupwindow.png");
}

QTEST_MAIN(TestDriveWindows)
#include "tst_drivewindows.moc"

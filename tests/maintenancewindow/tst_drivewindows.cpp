// The backup window BackupWindow and the restore window RestoreWindow: their texts, the volumes
// listed by label and mount point, "Другая папка…", and a backup and restore made
// through them.
#include "maintenance/window/backupwindow.h"
#include "maintenance/window/restorewindow.h"

#include "maintenance/maintenancefixture.h"
#include "namedchild.h"
#include "platform/volumes.h"
#include "store/table.h"

#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using maintenance::DriveWindow;
using platform::Volume;

class TestDriveWindows final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void texts_data();
    void texts();
    void volumesListedByLabelAndMountPoint();
    void withoutVolumesNothingIsChosen();
    void otherFolderIsChosenAndKept();
    void roundTripThroughTheWindows();

private:
    DriveWindow *window(bool backup)
    {
        return backup ? (DriveWindow *)backupWindow_ : restoreWindow_;
    }
    void open(DriveWindow *w)
    {
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    static QStringList labelTexts(const QWidget *window);
    static QStringList listTexts(const DriveWindow *w);

    std::unique_ptr<fixture::Workplace> work_;
    std::unique_ptr<platform::FixedVolumes> volumes_;
    store::DataModule *dm_ = nullptr;
    maintenance::BackupWindow *backupWindow_ = nullptr;
    maintenance::RestoreWindow *restoreWindow_ = nullptr;
    std::unique_ptr<QWidget> owner_;
    QStringList shown_;
};

void TestDriveWindows::init()
{
    work_ = std::make_unique<fixture::Workplace>();
    QVERIFY(work_->ok());
    QDir(work_->root()).mkpath("share");
    volumes_ = std::make_unique<platform::FixedVolumes>(
        QList<Volume>{{work_->drive(), "STICK", QString(), Volume::Kind::Removable},
                      {work_->root() + "/share", "//srv/docs", QString(), Volume::Kind::Network}});
    dm_ = work_->open();
    QVERIFY(dm_);
    owner_ = std::make_unique<QWidget>();
    backupWindow_ = new maintenance::BackupWindow(*dm_, *volumes_, owner_.get());
    restoreWindow_ = new maintenance::RestoreWindow(*dm_, *volumes_, owner_.get());
    maintenance::shareChosenFolders(*backupWindow_, *restoreWindow_);
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

QStringList TestDriveWindows::listTexts(const DriveWindow *w)
{
    QStringList texts;
    const auto *list = namedChild<QListWidget>(w, "volumeList");
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

void TestDriveWindows::texts_data()
{
    QTest::addColumn<bool>("backup");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("run");
    QTest::addColumn<QString>("wait");
    QTest::newRow("BackupWindow") << true << "Архивирование данных на резервный носитель"
                                  << "Архивировать"
                                  << "Архивирование продолжается… Подождите";
    QTest::newRow("RestoreWindow") << false << "Восстановление данных с резервного носителя"
                                   << "Восстановить данные"
                                   << "Восстановление продолжается… Подождите";
}

// The wait line shows only while the copy runs: hidden before and after it.
void TestDriveWindows::texts()
{
    QFETCH(bool, backup);
    QFETCH(QString, caption);
    QFETCH(QString, run);
    QFETCH(QString, wait);
    DriveWindow *w = window(backup);
    QCOMPARE(w->windowTitle(), caption);
    QCOMPARE(namedChild<QPushButton>(w, "runButton")->text(), run);
    QCOMPARE(namedChild<QPushButton>(w, "exitButton")->text(), QString("Выход"));
    QCOMPARE(namedChild<QPushButton>(w, "otherFolderButton")->text(), QString("Другая папка…"));
    QCOMPARE(namedChild<QLabel>(w, "waitLine")->text(), wait);
    const QString all = labelTexts(w).join(' ');
    QVERIFY(all.contains("\"Другая папка…\", затем нажмите \"" + run + "\""));
    QVERIFY(!all.contains("букв"));
    open(w);
    QVERIFY(namedChild<QLabel>(w, "waitLine")->isHidden());
    namedChild<QPushButton>(w, "runButton")->click();
    QVERIFY(namedChild<QLabel>(w, "waitLine")->isHidden());
    QVERIFY(!shown_.isEmpty());
}

// Label and mount point of each volume, no letters; the first is chosen and named under
// the list as the folder of the copy.
void TestDriveWindows::volumesListedByLabelAndMountPoint()
{
    DriveWindow *w = window(true);
    open(w);
    QCOMPARE(listTexts(w),
             (QStringList{"STICK — " + work_->drive() + " (съемный носитель)",
                          "//srv/docs — " + work_->root() + "/share (сетевой диск)"}));
    QCOMPARE(QApplication::focusWidget(), namedChild<QListWidget>(w, "volumeList"));
    QCOMPARE(w->chosen(), work_->drive());
    QCOMPARE(namedChild<QLabel>(w, "folderLine")->text(),
             "Копия будет записана в папку " + work_->backupDir());
    QTest::keyClick(namedChild<QListWidget>(w, "volumeList"), Qt::Key_Down);
    QCOMPARE(w->chosen(), work_->root() + "/share");
    w->close();

    open(restoreWindow_); // nothing to restore on the stick yet
    QCOMPARE(namedChild<QLabel>(restoreWindow_, "folderLine")->text(),
             QString("Здесь нет резервной копии (папки arhivkpl с файлом pit.dbf)."));
}

void TestDriveWindows::withoutVolumesNothingIsChosen()
{
    platform::FixedVolumes none({});
    maintenance::BackupWindow lonely(*dm_, none);
    lonely.setMessageSink([this](const QString &text) { shown_.append(text); });
    open(&lonely);
    QCOMPARE(listTexts(&lonely), QStringList{"Съемные и сетевые носители не найдены"});
    QVERIFY(lonely.chosen().isEmpty());
    const QString choose("Выберите носитель в списке или нажмите \"Другая папка…\".");
    QCOMPARE(namedChild<QLabel>(&lonely, "folderLine")->text(), choose);
    QTest::keyClick(namedChild<QListWidget>(&lonely, "volumeList"), Qt::Key_Return);
    QCOMPARE(shown_, QStringList{choose});
    QVERIFY(lonely.isVisible());
}

// A folder from the dialog joins the list, is chosen, takes the backup, is offered by the
// restore window too and stays in the list when the window opens again; giving up the
// dialog changes nothing.
void TestDriveWindows::otherFolderIsChosenAndKept()
{
    const QString other = work_->root() + "/Копии";
    QDir().mkpath(other);
    QString start;
    backupWindow_->setFolderChooser([&](const QString &from) {
        start = from;
        return other;
    });
    open(backupWindow_);
    QTest::mouseClick(namedChild<QPushButton>(backupWindow_, "otherFolderButton"), Qt::LeftButton);
    QCOMPARE(start, QDir::homePath());
    QCOMPARE(listTexts(backupWindow_).last(), "Другая папка — " + other);
    QCOMPARE(backupWindow_->chosen(), other);
    QTest::mouseClick(namedChild<QPushButton>(backupWindow_, "runButton"), Qt::LeftButton);
    QCOMPARE(shown_, QStringList{"Резервная копия создана!"});
    QVERIFY(QFileInfo::exists(other + "/arhivkpl/pit.dbf"));
    QVERIFY(!QFileInfo::exists(work_->backupDir()));
    backupWindow_->close();
    open(restoreWindow_); // the copy is found where it went
    QCOMPARE(listTexts(restoreWindow_).last(), "Другая папка — " + other);
    restoreWindow_->close();

    backupWindow_->setFolderChooser([&](const QString &from) {
        start = from;
        return QString();
    });
    open(backupWindow_);
    QCOMPARE(backupWindow_->chosen(), other);
    QTest::mouseClick(namedChild<QPushButton>(backupWindow_, "otherFolderButton"), Qt::LeftButton);
    QCOMPARE(start, other);
    QCOMPARE(backupWindow_->chosen(), other);
    QCOMPARE(namedChild<QListWidget>(backupWindow_, "volumeList")->count(), 3);
}

// The technologist's round: back up onto the stick (Enter), change a price, restore from
// the stick ("Да" to the question naming the backup): the raw materials cursor shows the
// old price without a restart.
void TestDriveWindows::roundTripThroughTheWindows()
{
    dm_->rawMaterials.first();
    const double price = dm_->rawMaterials.number("MI1");

    open(backupWindow_);
    QTest::keyClick(namedChild<QListWidget>(backupWindow_, "volumeList"), Qt::Key_Return);
    QCOMPARE(shown_, QStringList{"Резервная копия создана!"});
    QVERIFY(backupWindow_->isVisible()); // "Выход" closes it, not the copy
    backupWindow_->grab().save(KP_TEST_OUTPUT "/backupwindow.png");
    QTest::mouseClick(namedChild<QPushButton>(backupWindow_, "exitButton"), Qt::LeftButton);
    QVERIFY(!backupWindow_->isVisible());

    dm_->rawMaterials.setNumber("MI1", price + 500);
    dm_->rawMaterials.post();

    shown_.clear();
    open(restoreWindow_);
    QCOMPARE(namedChild<QLabel>(restoreWindow_, "folderLine")->text(),
             "Данные будут восстановлены из папки " + work_->backupDir());
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
    QTest::mouseClick(namedChild<QPushButton>(restoreWindow_, "runButton"), Qt::LeftButton);
    QVERIFY2(asked.contains(QDir::toNativeSeparators(work_->backupDir())), qPrintable(asked));
    QCOMPARE(shown_, QStringList{"Данные восстановлены!"});
    QCOMPARE(dm_->rawMaterials.viewCount(), dm_->sirCount());
    QCOMPARE(dm_->rawMaterials.number("MI1"), price);
    restoreWindow_->grab().save(KP_TEST_OUTPUT "/restorewindow.png");
    restoreWindow_->close();
}

QTEST_MAIN(TestDriveWindows)
#include "tst_drivewindows.moc"

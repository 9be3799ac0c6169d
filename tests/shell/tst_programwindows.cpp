// Start-up over a working folder: the data module and windows, the menu's first
// activation on real tables, and the close sequence when the menu closes.
#include "maintenance/instructions.h"
#include "settings/workingdate.h"
#include "shell/programwindows.h"
#include "store/datamodule.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using shell::MenuItem;

class TestProgramWindows final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void dataThatCannotBeOpened_data();
    void dataThatCannotBeOpened();
    void menuOverDemoData();
    void menuOpensItsWindows_data();
    void menuOpensItsWindows();
    void closeRunsTheCloseSequence();

private:
    shell::WorkingFolder folder() const { return {QDir(work_->path())}; }
    void copyDemoData();

    std::unique_ptr<QTemporaryDir> work_;
    QStringList shown_;
    shell::MessageSink sink_ = [this](const QString &text) { shown_.append(text); };
};

void TestProgramWindows::init()
{
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(work_->isValid());
    shown_.clear();
}

void TestProgramWindows::copyDemoData()
{
    const QDir demo(QStringLiteral(KP_SOURCE_DIR "/data/itog3"));
    if (!demo.exists())
        QSKIP("no demo data in data/itog3");
    QVERIFY(QDir().mkpath(folder().dataDir()));
    for (const QString &name : demo.entryList(QDir::Files))
        QVERIFY(QFile::copy(demo.filePath(name), folder().dataDir() + "/" + name));
}

void TestProgramWindows::dataThatCannotBeOpened_data()
{
    QTest::addColumn<QByteArray>("orderBytes"); // itog3/order.dbf; empty: no data folder
    QTest::newRow("no data folder") << QByteArray();
    QTest::newRow("garbled order.dbf") << QByteArray("this is not a table");
}

// Tables that cannot be opened stop the start with a Russian message naming the data
// folder; nothing crashes and no window is left behind.
void TestProgramWindows::dataThatCannotBeOpened()
{
    QFETCH(QByteArray, orderBytes);
    if (!orderBytes.isEmpty()) {
        QVERIFY(QDir().mkpath(folder().dataDir()));
        QFile order(folder().dataDir() + "/order.dbf");
        QVERIFY(order.open(QIODevice::WriteOnly));
        order.write(orderBytes);
    }
    const auto windows = shell::ProgramWindows::create(folder(), sink_);
    QVERIFY(!windows);
    QCOMPARE(shown_.size(), 1);
    QVERIFY2(shown_.first().startsWith("Программа не может открыть базу данных"),
             qPrintable(shown_.first()));
    QVERIFY(shown_.first().contains("itog3"));
}

// Over the demo data the first activation reads the settings without complaint, puts
// the three lists into their normal state and counts the selected entries; only the
// windows that exist have enabled buttons.
void TestProgramWindows::menuOverDemoData()
{
    copyDemoData();
    const auto windows = shell::ProgramWindows::create(folder(), sink_);
    QVERIFY(windows);
    shell::TForm1 &menu = windows->menu();
    QSignalSpy done(&menu, &shell::TForm1::firstActivationDone);
    menu.show();
    QVERIFY(done.count() == 1 || done.wait(5000));
    QCOMPARE(shown_, QStringList{});

    store::TDataModule2 &dm = windows->dataModule();
    QCOMPARE(dm.Table1.viewCount(), dm.pitCount());
    QCOMPARE(dm.Table2.viewCount(), dm.kkCount());
    QCOMPARE(dm.Table3.viewCount(), dm.sirCount());
    QVERIFY(dm.selectedFeedCount > 0);
    QVERIFY(dm.selectedRawCount > 0);
    QCOMPARE(settings::workingDate(), QDate::currentDate());

    QVERIFY(menu.button(MenuItem::Parameters)->isEnabled());
    QVERIFY(menu.button(MenuItem::Characteristics)->isEnabled());
    for (int i = int(MenuItem::Backup); i < shell::kMenuItemCount; ++i) // and the instructions
        QVERIFY2(menu.button(MenuItem(i))->isEnabled(),
                 qPrintable(shell::menuCaption(MenuItem(i))));
}

void TestProgramWindows::menuOpensItsWindows_data()
{
    QTest::addColumn<MenuItem>("item");
    for (MenuItem item : {MenuItem::Characteristics, MenuItem::RawMaterials, MenuItem::FeedTypes,
                          MenuItem::Calculation, MenuItem::Parameters, MenuItem::MixCharacteristics,
                          MenuItem::Backup, MenuItem::Restore, MenuItem::Archive})
        QTest::newRow(qPrintable(shell::menuCaption(item))) << item;
    for (int number = 1; number <= shell::kInstructionCount; ++number)
        QTest::newRow(qPrintable(shell::menuCaption(shell::instructionItem(number))))
            << shell::instructionItem(number);
}

// A task's button opens its window modally; when the window closes the menu is usable
// again with the focus on that button.
void TestProgramWindows::menuOpensItsWindows()
{
    QFETCH(MenuItem, item);
    copyDemoData();
    const auto windows = shell::ProgramWindows::create(folder(), sink_);
    QVERIFY(windows);
    shell::TForm1 &menu = windows->menu();
    QSignalSpy done(&menu, &shell::TForm1::firstActivationDone);
    menu.show();
    QVERIFY(done.count() == 1 || done.wait(5000));

    QPointer<QWidget> opened;
    QString firstLine; // what an instructions viewer showed on its first line
    QTimer::singleShot(200, [&] {
        opened = QApplication::activeModalWidget();
        if (!opened)
            return;
        if (const auto *text = opened->findChild<QListWidget *>("ListBox1"); text && text->count())
            firstLine = text->item(0)->text();
        opened->close();
    });
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    safety.start(5000);
    QTest::mouseClick(menu.button(item), Qt::LeftButton);
    QVERIFY(opened);
    QVERIFY(opened != &menu);
    QVERIFY(!opened->isVisible());
    QCOMPARE(menu.focusWidget(), menu.button(item));
    QVERIFY2(shown_.isEmpty(), qPrintable(shown_.join('\n')));
    const int instruction = int(item) - int(MenuItem::Instruction1) + 1;
    if (instruction >= 1) // the viewer showed the instruction of its button
        QCOMPARE(firstLine,
                 maintenance::readInstruction(folder().dataDir(), instruction).lines.value(0));
}

// Closing the menu, however it is closed, copies the data to arhiv and removes the
// crash markers; nothing is reported on good data.
void TestProgramWindows::closeRunsTheCloseSequence()
{
    copyDemoData();
    for (const QString &marker : {folder().firstMarker(), folder().secondMarker()}) {
        QFile file(marker);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const auto windows = shell::ProgramWindows::create(folder(), sink_);
    QVERIFY(windows);
    windows->menu().show();
    QVERIFY(windows->menu().close());
    QCOMPARE(shown_, QStringList{});
    QVERIFY(!QFileInfo::exists(folder().firstMarker()));
    QVERIFY(!QFileInfo::exists(folder().secondMarker()));
    const QStringList data = QDir(folder().dataDir()).entryList(QDir::Files);
    QCOMPARE(QDir(folder().backupDir()).entryList(QDir::Files), data);
    QVERIFY(data.filter(QRegularExpression("2\\.dbf$")).isEmpty());
}

QTEST_MAIN(TestProgramWindows)
#include "tst_programwindows.moc"

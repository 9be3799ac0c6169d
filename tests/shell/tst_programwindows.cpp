// Start-up over a working folder: the data module and windows, the menu's first
// activation on real tables, the windows handed to each other, and the close sequence
// when the menu closes.
#include "archive/archivefixture.h"
#include "archive/window/archivewindow.h"
#include "calc/window/preparationwindow.h"
#include "documents/docxreadback.h"
#include "documents/window/recipeviewwindow.h"
#include "maintenance/instructions.h"
#include "namedchild.h"
#include "platform/documentopener.h"
#include "results/window/resultswindow.h"
#include "settings/workingdate.h"
#include "shell/programwindows.h"
#include "store/datamodule.h"

#include <QJsonArray>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTableWidget>
#include <QtTest>

using shell::MenuItem;

namespace
{

QPushButton *menuButton(const shell::MainMenu &menu, MenuItem item)
{
    return namedChild<QPushButton>(&menu, shell::menuButtonName(item));
}

} // namespace

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
    void calculationHandsOnItsWindows();
    void archiveCertificateToWord_data();
    void archiveCertificateToWord();
    void closeRunsTheCloseSequence();

private:
    shell::WorkingFolder folder() const { return {QDir(work_->path())}; }
    void copyDemoData();
    // The program's windows over the working folder, the menu shown and its first
    // activation done; null when either failed.
    std::unique_ptr<shell::ProgramWindows> startMenu();

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

std::unique_ptr<shell::ProgramWindows> TestProgramWindows::startMenu()
{
    auto windows = shell::ProgramWindows::create(folder(), sink_);
    if (!windows)
        return nullptr;
    QSignalSpy done(&windows->menu(), &shell::MainMenu::firstActivationDone);
    windows->menu().show();
    if (done.count() != 1 && !done.wait(5000))
        return nullptr;
    return windows;
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
    const auto windows = startMenu();
    QVERIFY(windows);
    shell::MainMenu &menu = windows->menu();
    QCOMPARE(shown_, QStringList{});

    store::DataModule &dm = windows->dataModule();
    QCOMPARE(dm.characteristics.viewCount(), dm.pitCount());
    QCOMPARE(dm.feedTypes.viewCount(), dm.kkCount());
    QCOMPARE(dm.rawMaterials.viewCount(), dm.sirCount());
    QVERIFY(dm.selectedFeedCount > 0);
    QVERIFY(dm.selectedRawCount > 0);
    QCOMPARE(settings::workingDate(), QDate::currentDate());

    QVERIFY(menuButton(menu, MenuItem::Parameters)->isEnabled());
    QVERIFY(menuButton(menu, MenuItem::Characteristics)->isEnabled());
    for (int i = int(MenuItem::Backup); i < shell::kMenuItemCount; ++i) // and the instructions
        QVERIFY2(menuButton(menu, MenuItem(i))->isEnabled(),
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
    const auto windows = startMenu();
    QVERIFY(windows);
    shell::MainMenu &menu = windows->menu();

    QPointer<QWidget> opened;
    QString firstLine; // what an instructions viewer showed on its first line
    QTimer::singleShot(200, [&] {
        opened = QApplication::activeModalWidget();
        if (!opened)
            return;
        if (const auto *text = opened->findChild<QListWidget *>("instructionList");
            text && text->count())
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
    QTest::mouseClick(menuButton(menu, item), Qt::LeftButton);
    QVERIFY(opened);
    QVERIFY(opened != &menu);
    QVERIFY(!opened->isVisible());
    QCOMPARE(menu.focusWidget(), menuButton(menu, item));
    QVERIFY2(shown_.isEmpty(), qPrintable(shown_.join('\n')));
    const int instruction = int(item) - int(MenuItem::Instruction1) + 1;
    if (instruction >= 1) // the viewer showed the instruction of its button
        QCOMPARE(firstLine,
                 maintenance::readInstruction(folder().dataDir(), instruction).lines.value(0));
}

// The windows the calculation goes through are handed to each other: "Дальше >>>" of the
// preparation window opens the results window over it, whose "Отпечатать рецепт" opens
// the recipe view window on the number just archived; "Выход" closes both.
void TestProgramWindows::calculationHandsOnItsWindows()
{
    copyDemoData();
    const auto windows = startMenu();
    QVERIFY(windows);
    shell::MainMenu &menu = windows->menu();

    QPointer<calc::PreparationWindow> preparation;
    QWidget *resultsParent = nullptr;
    QString archived;
    int viewed = 0;
    QTimer::singleShot(0, [&] {
        preparation = qobject_cast<calc::PreparationWindow *>(QApplication::activeModalWidget());
        if (!preparation)
            return;
        namedChild<QRadioButton>(preparation.data(), "costModeButton")->click();
        namedChild<QPushButton>(preparation.data(), "startRunButton")->click();
        QTimer::singleShot(0, [&] {
            auto *results =
                qobject_cast<results::ResultsWindow *>(QApplication::activeModalWidget());
            if (!results)
                return;
            resultsParent = results->parentWidget();
            namedChild<QPushButton>(results, "writeToArchiveButton")->click();
            archived = namedChild<QTableWidget>(results, "feedGrid")
                           ->item(0, results::ResultsWindow::ColArchive)
                           ->text();
            QTimer::singleShot(0, [&viewed] {
                if (auto *view = qobject_cast<documents::RecipeViewWindow *>(
                        QApplication::activeModalWidget())) {
                    viewed = view->archiveNumber();
                    view->reject();
                }
            });
            namedChild<QPushButton>(results, "printRecipeButton")->click();
            namedChild<QPushButton>(results, "exitButton")->click();
        });
        namedChild<QPushButton>(preparation.data(), "nextButton")->click();
    });
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    safety.start(30000);
    QTest::mouseClick(menuButton(menu, MenuItem::Calculation), Qt::LeftButton);
    QVERIFY(preparation);
    QCOMPARE(resultsParent, preparation.data());
    QCOMPARE(archived, QStringLiteral("1"));
    QCOMPARE(viewed, 1);
    QVERIFY(!preparation->isVisible());
    QVERIFY2(shown_.isEmpty(), qPrintable(shown_.join('\n')));
}

void TestProgramWindows::archiveCertificateToWord_data()
{
    QTest::addColumn<QString>("opener"); // what KORMOPLAN_OPEN_DOCUMENT runs on the file
    QTest::addColumn<bool>("opened");
    QTest::newRow("opened in the editor") << "true" << true;
    QTest::newRow("nothing opens it") << "false" << false;
}

// "Импорт в Word" of the archive window's certificate panel writes the certificate as it
// stands into export/ of the working folder and opens it; when nothing opens it, the
// user is told where the file was saved.
void TestProgramWindows::archiveCertificateToWord()
{
    QFETCH(QString, opener);
    QFETCH(bool, opened);
    copyDemoData();
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work_->path()));
    qputenv(platform::kOpenDocumentVariable, opener.toUtf8());
    const auto restore = qScopeGuard([&] {
        qunsetenv(platform::kOpenDocumentVariable);
        QDir::setCurrent(previous);
    });
    const auto windows = startMenu();
    QVERIFY(windows);
    shell::MainMenu &menu = windows->menu();
    archivetest::appendRecipe(windows->dataModule(), archivetest::sample(7));

    QStringList certificate; // the panel's text when the button was pressed
    bool enabled = false;
    QStringList messages;
    QTimer answer; // answers the message boxes, keeping their texts
    answer.setInterval(20);
    connect(&answer, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            messages << box->text();
            box->accept();
        }
    });
    QTimer::singleShot(0, [&] {
        auto *form = qobject_cast<archive::ArchiveWindow *>(QApplication::activeModalWidget());
        if (!form)
            return;
        auto *exportButton = namedChild<QPushButton>(form, "certificateExportButton");
        namedChild<QPushButton>(form, "certificateButton")->click();
        certificate =
            namedChild<QPlainTextEdit>(form, "certificateEdit")->toPlainText().split(u'\n');
        enabled = exportButton->isEnabled();
        answer.start();
        QTest::mouseClick(exportButton, Qt::LeftButton);
        answer.stop();
        namedChild<QPushButton>(form, "certificateExitButton")->click();
        form->close();
    });
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    safety.start(60000);
    QTest::mouseClick(menuButton(menu, MenuItem::Archive), Qt::LeftButton);
    QVERIFY(enabled);
    QVERIFY(certificate.size() > 20);

    const QDir exportDir(work_->filePath(QStringLiteral("export")));
    const QStringList files = exportDir.entryList({QStringLiteral("*.docx")});
    QCOMPARE(files.size(), 1);
    QVERIFY2(files.first().startsWith(QStringLiteral("Удостоверение 7 ")),
             qPrintable(files.first()));
    const QString path = exportDir.filePath(files.first());
    QCOMPARE(messages,
             opened ? QStringList()
                    : QStringList{
                          QStringLiteral(
                              "Не найдено приложение для файлов .docx (LibreOffice Writer, Word)\n"
                              "Документ сохранен в файле ") +
                          QDir::toNativeSeparators(path)});
    QVERIFY2(shown_.isEmpty(), qPrintable(shown_.join('\n')));

    // The document holds the panel's head lines and the recipe's raw materials.
    QString error;
    const QJsonObject dump = docxreadback::dump({path}, &error).begin()->toObject();
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QJsonArray body = dump[QStringLiteral("body")].toArray();
    QStringList paragraphs;
    QString cells;
    for (const QJsonValue &element : body) {
        paragraphs << element[QStringLiteral("p")].toString();
        for (const QJsonValue &row : element[QStringLiteral("rows")].toArray())
            for (const QJsonValue &cell : row.toArray())
                cells += cell[QStringLiteral("text")].toString();
    }
    // the head, the closing lines and the signature as the panel showed them
    const QString text = paragraphs.join(u'\n');
    const int count = int(certificate.size());
    for (int i : {0, 1, 2, 3, 4, 5, 6, 10, count - 5, count - 2, count - 1})
        QVERIFY2(text.contains(certificate.at(i)), qPrintable(certificate.at(i)));
    QVERIFY(certificate.at(4).contains(QStringLiteral("ПК-7-1234.50-7")));
    QVERIFY2(cells.contains(QStringLiteral("Пшеница")) && cells.contains(QStringLiteral("Ячмень")),
             qPrintable(cells));
    if (opened) {
        const QString kept = docxreadback::outputPath(QStringLiteral("certificate-from-archive"));
        QFile::remove(kept);
        QVERIFY(QFile::copy(path, kept));
    }
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

// The archive window end to end over a copy of the demo data: the menu's button opens
// it, the grids are linked, the range panel deletes (and refuses a bad range), the
// consumption list and the certificate show and print, and each "Выход" returns to
// browsing. Screenshots of the four states go to the test output folder.

#include "archive/archivefixture.h"
#include "archive/recipeselection.h"
#include "archive/window/archivewindow.h"
#include "namedchild.h"
#include "platform/printerchoice.h"
#include "widgets/tablegrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using archive::ArchiveWindow;
using archivetest::ArchiveData;
using archivetest::sample;

namespace
{

// Answers every message box that opens while it lives, "Да" to a question, keeping its
// text.
class MessageCatcher final
{
public:
    MessageCatcher()
    {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                for (QAbstractButton *button : box->buttons())
                    if (button->text() == QStringLiteral("Да"))
                        button->click();
                if (box->isVisible())
                    box->accept();
            }
        });
        timer_.start();
    }
    QStringList texts;

private:
    QTimer timer_;
};

void shoot(QWidget &window, const QString &name)
{
    window.grab().save(QStringLiteral(KP_TEST_OUTPUT "/archivewindow-") + name +
                       QStringLiteral(".png"));
}

// Opens the window modally, runs `steps` inside, then leaves it by "Выход".
void withWindow(ArchiveWindow &form, const std::function<void()> &steps)
{
    QTimer::singleShot(0, &form, [&] {
        steps();
        namedChild<QPushButton>(&form, "exitButton")->click();
    });
    form.exec();
}

} // namespace

class TestArchiveWindow final : public QObject
{
    Q_OBJECT

private slots:
    void browseDeleteRangeAndPrint();
};

void TestArchiveWindow::browseDeleteRangeAndPrint()
{
    ArchiveData data;
    QVERIFY(data.ok());
    for (int n : {4, 5, 6, 7})
        data.addRecipe(sample(n));
    QDir().mkpath(KP_TEST_OUTPUT);
    const QString pdf = QStringLiteral(KP_TEST_OUTPUT "/archivewindow-certificate.pdf");
    QFile::remove(pdf);

    ArchiveWindow form(data.dm(), data.workDir() + "/netpath.txt");
    form.setForcedPdf(pdf);
    QList<int> viewed;
    form.setRecipeViewOpener([&](int number) { viewed << number; });
    form.setKeyAsker([] { return QStringLiteral("несуш"); });
    const auto button = [&form](const char *name) { return namedChild<QPushButton>(&form, name); };
    QVERIFY(!button("certificateExportButton")->isEnabled()); // no export handed yet
    QList<std::pair<QStringList, int>> exported;
    form.setCertificateExporter([&](const QStringList &lines, int number) {
        exported.append({lines, number});
    });
    MessageCatcher messages;

    withWindow(form, [&] {
        store::Table &arkk = data.dm().archiveHeaders;
        auto *recipes = namedChild<widgets::TableGrid>(&form, "recipeGrid");
        auto *rangePanel = namedChild<QWidget>(&form, "rangePanel");
        auto *rangeFrom = namedChild<QLineEdit>(&form, "rangeFromEdit");
        auto *rangeTo = namedChild<QLineEdit>(&form, "rangeToEdit");
        auto *consumption = namedChild<QListWidget>(&form, "consumptionList");
        auto *certificate = namedChild<QPlainTextEdit>(&form, "certificateEdit");
        // browsing: the lower grids follow the head row
        QCOMPARE(recipes->model()->rowCount(), 4);
        arkk.moveTo(2);
        QCOMPARE(data.dm().archiveCompositions.integer("arnom"), 6);
        QCOMPARE(namedChild<widgets::TableGrid>(&form, "compositionGrid")->model()->rowCount(), 2);
        shoot(form, "browsing");
        button("viewRecipeButton")->click();
        QCOMPARE(viewed, QList<int>{6});

        // the range panel: 5 to 5 refused, 5 to 6 deletes both, the panel stays
        button("deleteRangeButton")->click();
        QVERIFY(rangePanel->isVisible());
        rangeFrom->setText("5");
        rangeTo->setText("5");
        button("rangeDeleteButton")->click();
        QCOMPARE(messages.texts, QStringList{"Диапазон номеров ПЛОХОЙ!!"});
        QVERIFY(!rangePanel->isVisible());
        button("deleteRangeButton")->click();
        rangeFrom->setText("5");
        rangeTo->setText("6");
        shoot(form, "range");
        button("rangeDeleteButton")->click();
        QCOMPARE(messages.texts.last(), "Удалить из архива рецепты с № 5 по № 6 (всего 2)?");
        QVERIFY(rangePanel->isVisible());
        QCOMPARE(recipes->model()->rowCount(), 2);
        button("rangeExitButton")->click();
        QVERIFY(!rangePanel->isVisible());

        // the consumption list
        button("consumptionButton")->click();
        QVERIFY(consumption->isVisible());
        QVERIFY(consumption->count() > 10);
        shoot(form, "consumption");
        button("consumptionExitButton")->click();
        QVERIFY(!consumption->isVisible());

        // the certificate of recipe 7, edited, printed and exported as edited
        arkk.last();
        button("certificateButton")->click();
        QVERIFY(certificate->isVisible());
        QVERIFY(certificate->toPlainText().contains("Удостоверение о качестве комбикорма"));
        certificate->setPlainText(
            certificate->toPlainText().replace("Удостоверение", "УДОСТОВЕРЕНИЕ"));
        shoot(form, "certificate");
        button("certificatePrintButton")->click();
        QVERIFY(button("certificateExportButton")->isEnabled());
        button("certificateExportButton")->click();
        QCOMPARE(exported.size(), 1);
        QCOMPARE(exported.first().second, 7);
        QCOMPARE(exported.first().first, certificate->toPlainText().split('\n'));
        QVERIFY(exported.first().first.join('\n').contains("УДОСТОВЕРЕНИЕ о качестве"));
        button("certificateExitButton")->click();
        QVERIFY(!certificate->isVisible());
        QCOMPARE(archive::currentNumber(arkk), 7);
        QCOMPARE(arkk.filter(), archive::kAllRecipesFilter);
    });
    QCOMPARE(messages.texts.size(), 2);
    QVERIFY(QFileInfo(pdf).size() > 0);
    QCOMPARE(data.numbersIn("arkk"), (QList<int>{4, -1, -1, 7}));
    QCOMPARE(data.numbersIn("arsir"), (QList<int>{4, 4, -1, -1, -1, -1, 7, 7}));
}

QTEST_MAIN(TestArchiveWindow)
#include "tst_archivewindow.moc"

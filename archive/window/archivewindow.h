#pragma once

// ArchiveWindow: the recipe archive window. Browses the archive as three linked grids (heads,
// their raw materials, their characteristics), corrects the note, weight, standard and
// actual values, selects recipes by a key, deletes one recipe or a range of numbers,
// restarts the numbering, clears the planned output (these four after a question naming
// what goes, "Нет" the default), estimates and prints the
// raw-material consumption, copies the archive to the folder of netpath.txt, and
// composes, edits and prints the quality certificate. Four states: browsing, the range
// panel, the consumption list, the certificate text; each is left by its own "Выход".
//
// The shell hands it the openers of the recipe view window and of the selection key
// dialog, and the word-processor export of the certificate:
//     ArchiveWindow window(dm, folder.root.filePath("netpath.txt"), menu);
//     window.setRecipeViewOpener([&](int number) { recipeViewWindow->setArchiveNumber(number);
//                                                  recipeViewWindow->exec(); });
//     window.setKeyAsker([&] { return SelectionKeyDialog::ask(&window); });
//     window.setCertificateExporter([&](const QStringList &lines, int number) {
//         documents::exportCertificateToWord(&window, lines, number); });

#include <QDialog>
#include <QStringList>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace widgets
{
class TableGrid;
}
namespace store
{
class DataModule;
}

namespace archive
{

struct ArchiveCursors;

class ArchiveWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ArchiveWindow)

public:
    ArchiveWindow(store::DataModule &data, QString netpathFile, QWidget *parent = nullptr);

    void setRecipeViewOpener(std::function<void(int number)> open);
    void setKeyAsker(std::function<QString()> ask);
    // "Импорт в Word" of the certificate panel: hands on the certificate text as it stands
    // and the recipe number. The button is enabled once an exporter is given.
    void setCertificateExporter(
        std::function<void(const QStringList &lines, int number)> exportCertificate);
    // For scripts and tests: where "Печатать" prints without a dialog (empty: ask).
    void setForcedPdf(const QString &path) { forcedPdf_ = path; }

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void done(int result) override;

private:
    void buildGrids();
    void buildButtons();
    void buildOverlays();
    void placeOverlays();
    ArchiveCursors cursors() const;

    void onShow();
    void onClose();
    void onHeadScrolled();
    void onViewRecipe();
    void onShowCertificate();
    void onSelect();
    void onCancelSelection();
    void onClearOutput();
    void onCountConsumption();
    void onDeleteRecipe();
    void onOpenRangePanel();
    void onRestartNumbering();
    void onCopyToNetwork();
    void onDeleteRange();
    void onLeaveRangePanel();
    void onPrintConsumption();
    void onPrintCertificate();
    void onExportCertificate();

    void hideOverlays();
    void backToBrowsing(); // the "Выход" of the list and of the certificate
    void followCursors();
    bool run(const std::function<void()> &operation);
    void print(const QString &documentName, const std::function<void(QPainter *)> &draw);

    store::DataModule &data_;
    QString netpathFile_;
    QString forcedPdf_;
    std::function<void(int)> openRecipeView_;
    std::function<QString()> askKey_;
    std::function<void(const QStringList &, int)> exportCertificate_;
    int rememberedNumber_ = 0;
    bool linking_ = false; // the window is open and has the focus of the run

    // The browsing state: the heads over the recipe's raw materials and characteristics.
    widgets::TableGrid *recipeGrid = nullptr;
    widgets::TableGrid *compositionGrid = nullptr;
    widgets::TableGrid *characteristicsGrid = nullptr;
    QPushButton *viewRecipeButton = nullptr;  // "Просмотр и печать рецепта"
    QPushButton *certificateButton = nullptr; // "Печатать удостоверение"
    QPushButton *selectButton = nullptr;      // "Выделить"
    QPushButton *cancelSelectionButton = nullptr; // "Отменить выделение"
    QPushButton *clearOutputButton = nullptr;     // "Очистить выработку"
    QPushButton *consumptionButton = nullptr;     // "Подсчитать расход сырья"
    QPushButton *deleteRecipeButton = nullptr;    // "Удалить рецепт"
    QPushButton *deleteRangeButton = nullptr; // "Удалить рецепты в диапазоне номеров"
    QPushButton *restartNumberingButton = nullptr; // "Новая нумерация"
    QPushButton *networkCopyButton = nullptr;      // "Выдать архив на сеть"
    QPushButton *exitButton = nullptr;
    // The range panel.
    QWidget *rangePanel = nullptr;
    QLineEdit *rangeFromEdit = nullptr;
    QLineEdit *rangeToEdit = nullptr;
    QPushButton *rangeDeleteButton = nullptr; // "Удалить"
    QPushButton *rangeExitButton = nullptr;
    // The consumption list and the buttons under it.
    QListWidget *consumptionList = nullptr;
    QWidget *consumptionPanel = nullptr;
    QPushButton *consumptionPrintButton = nullptr;
    QPushButton *consumptionExitButton = nullptr;
    // The certificate text and the buttons under it.
    QPlainTextEdit *certificateEdit = nullptr;
    QWidget *certificatePanel = nullptr;
    QPushButton *certificatePrintButton = nullptr;
    QPushButton *certificateExportButton = nullptr; // "Импорт в Word"
    QPushButton *certificateExitButton = nullptr;
};

} // namespace archive

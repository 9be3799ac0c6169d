#pragma once

// FeedTypesWindow: the feed types list window ("Работа со списком типов комбикормов"): the feed
// types of kk with the minimum and maximum of every nutrient characteristic, and on the
// norms panel ("Нормы ввода сырья") the minimum and maximum inclusion of every raw
// material, kept in norm; selection of feed types for the next calculation (at most 40)
// and the highlight search. Opened from the main menu, from the calculation preparation
// window (kk then carries the selection filter) and from the mix window to choose its
// product (setProductChoice: the selection cannot be changed, and a line says how to
// choose).
//
//     FeedTypesWindow form(*store::dataModule(), parent);
//     form.exec();   // the feed type current at close is the one chosen

#include "lists/window/listwindow.h"

#include <array>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace widgets
{
class TableGrid;
}

namespace lists
{

class CharacteristicPanel;
class FieldMemo;
class RatioPanel;

class FeedTypesWindow final : public ListWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FeedTypesWindow)

public:
    static constexpr int selectionLimit = 40;

    explicit FeedTypesWindow(store::DataModule &dm, QWidget *parent = nullptr);
    ~FeedTypesWindow() override;

    bool normsPanelShown() const;
    // The window opened to choose the mix window's product: the selection buttons disabled
    // and a line over the grid saying how to choose; false puts it back.
    void setProductChoice(bool choosing);

private:
    void onActivate() override;
    void onClose() override;
    bool addEntry(AddPlace place) override;
    void deleteEntry() override;
    void placeMovedEntry() override;
    void clearNewEntry() override;
    void setEditorsReadOnly(bool readOnly) override;
    void onCorrect() override;
    QString selectAllEntries() override;
    void hideForbiddenButtons(bool any) override;
    void onSwitchPanel();
    void onDeselectAll();
    void onHighlight();
    void onCancelHighlight();
    void onHighlightRawMaterials();
    void onCancelRawHighlight();
    void buildLayout();
    void connectButtons();
    void setNormsPanelShown(bool shown);
    void saveLimits();
    void loadLimits();
    void saveRatios();
    void loadRatios();
    void beforeFeedTypeMove();
    void afterFeedTypeMove();

    widgets::TableGrid *feedTypesGrid; // kk: "Тип", "Назначение", "ГОСТ", "%нал"
    FieldMemo *purposeMemo;            // the purpose of the current feed type in full
    CharacteristicPanel *characteristicPanel; // the 64 groups: caption, minimum, maximum
    RatioPanel *ratioPanel;                   // "Соотношения" of the current feed type
    QWidget *characteristicsPage;             // the two above side by side
    QWidget *normsPanel;                      // "Нормы ввода сырья"
    widgets::TableGrid *normsGrid; // sir: "Наименование", "Мин.%", "Макс.%"
    QPushButton *addAtEndButton;
    QPushButton *addAboveButton;
    QPushButton *moveButton; // second phase "Поставить сюда"
    QPushButton *deleteButton;
    QPushButton *correctButton;
    QPushButton *panelSwitchButton; // "Нормы ввода сырья" / "Характеристики"
    QPushButton *selectButton;
    QPushButton *deselectAllButton;
    QPushButton *highlightButton; // "Выделить " (feed types)
    QPushButton *cancelHighlightButton;
    QPushButton *exitButton;
    QPushButton *rawHighlightButton;       // "Выделить" on the norms panel (raw materials)
    QPushButton *rawCancelHighlightButton; // "Отменить выделение" on the norms panel
    QLabel *countsLabel;                   // list size and selected count
    QPushButton *selectAllButton;
    QStackedWidget *panelStack; // the characteristics page or the norms panel
    QLabel *productChoiceLabel; // how to choose the product, while the mix window chooses
    // While the window is active: the limits follow the current feed type.
    std::array<QMetaObject::Connection, 2> limitsOnMove_;
    bool movingLimits_ = false;
};

} // namespace lists

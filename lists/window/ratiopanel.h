#pragma once

// The "Соотношения" box of the feed types window, beside the characteristic panel: the
// nutrient ratios of the current feed type in a small grid (numerator and denominator
// chosen from the characteristics by name, minimum, maximum, in force), with "Добавить"
// and "Удалить". Editable while the norms are ("Уточнить"); the window loads and writes
// the rows around every move to another feed type.

#include <QGroupBox>

class QPushButton;

namespace lists
{

class RatioModel;

class RatioPanel final : public QGroupBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RatioPanel)

public:
    explicit RatioPanel(QWidget *parent = nullptr);

    RatioModel *model() const { return model_; }
    void setReadOnly(bool readOnly);
    // Writes what is being typed in a cell, if anything.
    void commitEdit();

private:
    void setUpGrid();
    void onAdd();
    void onDelete();
    void updateButtons();

    class RatioGrid;
    RatioModel *model_;
    RatioGrid *ratioGrid;
    QPushButton *addRatioButton;
    QPushButton *deleteRatioButton;
};

} // namespace lists

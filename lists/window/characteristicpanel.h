#pragma once

// The characteristic panel of the raw-materials and feed-types windows: one group per
// nutrient characteristic after the price (a caption and one or two value fields bound to
// the list's columns "mi"/"ma" + KEY), laid out in as many columns as the width allows
// (read top to bottom), inside a scroll area that asks for no more height than the groups
// need. Tab and Enter walk the fields in that reading order.

#include <QList>
#include <QScrollArea>
#include <QStringList>

class QGridLayout;
class QLabel;

namespace store
{
class Table;
}

namespace lists
{

class FieldEdit;

class CharacteristicPanel final : public QScrollArea
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CharacteristicPanel)

public:
    static constexpr int groupLimit = 64;

    // prefixes: the field name prefixes of a group's fields ("mi", or "mi" and "ma");
    // headings: the column headings over them; at most maxColumns columns of groups.
    CharacteristicPanel(QStringList prefixes, QStringList headings, int maxColumns,
                        QWidget *parent = nullptr);

    // Hides every group and makes the fields read-only.
    void hideAll();
    // Shows group i for the i-th pit record after the price record, captioned with its
    // PIT and bound to prefix + KEY of list; pit ends on its first record.
    void bindTo(store::Table &pit, store::Table &list);
    void setFieldsReadOnly(bool readOnly);
    bool fieldsReadOnly() const { return readOnly_; }

    int shownGroups() const { return shown_; }
    QLabel *caption(int group) const { return captions_.at(group); }
    FieldEdit *field(int group, int which) const;
    int columnCount() const { return columns_; }

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layOut();
    int fittingColumns() const;

    QStringList prefixes_;
    QStringList headings_;
    int maxColumns_;
    int columns_ = 1;
    int captionWidth_ = 100;
    int fieldWidth_ = 58;
    QWidget *body_;
    QGridLayout *grid_;
    QList<QLabel *> captions_;
    QList<QList<FieldEdit *>> fields_; // per group
    QList<QLabel *> headingLabels_;
    int shown_ = 0;
    bool readOnly_ = true;
};

} // namespace lists

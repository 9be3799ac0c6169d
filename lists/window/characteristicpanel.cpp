#include "lists/window/characteristicpanel.h"

#include "lists/window/fieldwidgets.h"
#include "store/table.h"
#include "widgets/windowparts.h"

#include <QGridLayout>
#include <QLabel>

#include <QStyle>

namespace lists
{

namespace
{

constexpr int minCaptionWidth = 80;
constexpr int maxCaptionWidth = 170;
// A value field shows the widest number its column holds (N 12.4: "9999999.9999").
int valueFieldWidth(const QWidget *field)
{
    const int frame = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, field);
    return field->fontMetrics().horizontalAdvance(QStringLiteral("9999999.9999")) + 2 * frame + 6;
}
constexpr int columnGap = 14;
constexpr int spacing = 4;
constexpr int maxHeight = 330; // the rest of the window belongs to the list
} // namespace

CharacteristicPanel::CharacteristicPanel(QStringList prefixes, QStringList headings, int maxColumns,
                                         QWidget *parent)
    : QScrollArea(parent), prefixes_(std::move(prefixes)), headings_(std::move(headings)),
      maxColumns_(std::max(1, maxColumns)), body_(new QWidget), grid_(new QGridLayout(body_))
{
    grid_->setHorizontalSpacing(spacing);
    grid_->setVerticalSpacing(3);
    grid_->setContentsMargins(6, 4, 6, 4);
    // Created in reading order, so that the focus chain runs down each column.
    for (int group = 0; group < groupLimit; ++group) {
        captions_.append(widgets::makeLabel(QString(), body_));
        QList<FieldEdit *> fields;
        for (int i = 0; i < prefixes_.size(); ++i) {
            auto *edit = new FieldEdit(body_);
            fieldWidth_ = valueFieldWidth(edit);
            edit->setFixedWidth(fieldWidth_);
            fields.append(edit);
        }
        fields_.append(fields);
    }
    for (int column = 0; column < maxColumns_; ++column) {
        for (const QString &text : std::as_const(headings_)) {
            auto *heading = widgets::makeLabel(text, body_);
            heading->setAlignment(Qt::AlignCenter);
            QFont font = heading->font();
            font.setBold(true);
            heading->setFont(font);
            headingLabels_.append(heading);
        }
    }
    setWidget(body_);
    setWidgetResizable(true);
    setFrameShape(QFrame::StyledPanel);
    hideAll();
}

FieldEdit *CharacteristicPanel::field(int group, int which) const
{
    return fields_.at(group).at(which);
}

void CharacteristicPanel::hideAll()
{
    for (int group = 0; group < groupLimit; ++group) {
        captions_.at(group)->hide();
        for (FieldEdit *edit : fields_.at(group)) {
            edit->unbind();
            edit->hide();
        }
    }
    for (QLabel *heading : std::as_const(headingLabels_))
        heading->hide();
    shown_ = 0;
    setFieldsReadOnly(true);
}

void CharacteristicPanel::bindTo(store::Table &pit, store::Table &list)
{
    hideAll();
    for (pit.first(); !pit.eof() && shown_ < groupLimit; pit.next()) {
        if (pit.integer(QStringLiteral("order")) <= 1)
            continue; // the price is edited in the calculation preparation window
        const QString key = QString::number(pit.integer(QStringLiteral("KEY")));
        QLabel *caption = captions_.at(shown_);
        caption->setText(pit.text(QStringLiteral("PIT")).trimmed());
        caption->setToolTip(caption->text() + QStringLiteral(", ") +
                            pit.text(QStringLiteral("EDIZ")).trimmed());
        caption->show();
        for (int i = 0; i < prefixes_.size(); ++i) {
            FieldEdit *edit = fields_.at(shown_).at(i);
            edit->bind(&list, prefixes_.at(i) + key);
            edit->setToolTip(caption->toolTip());
            edit->show();
        }
        ++shown_;
    }
    pit.first();
    int widest = 0;
    for (int group = 0; group < shown_; ++group) {
        QLabel *caption = captions_.at(group);
        widest = std::max(widest, caption->fontMetrics().horizontalAdvance(caption->text()));
    }
    captionWidth_ = std::clamp(widest + 8, minCaptionWidth, maxCaptionWidth);
    for (QLabel *caption : std::as_const(captions_))
        caption->setFixedWidth(captionWidth_);
    columns_ = fittingColumns();
    layOut();
    updateGeometry();
}

int CharacteristicPanel::fittingColumns() const
{
    const int group =
        captionWidth_ + int(prefixes_.size()) * (fieldWidth_ + spacing) + columnGap + spacing;
    const int available = viewport()->width() - 12;
    return std::clamp(available / group, 1, maxColumns_);
}

void CharacteristicPanel::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    const int columns = fittingColumns();
    if (columns != columns_ && shown_ > 0) {
        columns_ = columns;
        layOut();
        updateGeometry();
    }
}

QSize CharacteristicPanel::sizeHint() const
{
    const QSize body = body_->sizeHint();
    const int frame = 2 * frameWidth();
    return {QScrollArea::sizeHint().width(), std::min(body.height() + frame, maxHeight)};
}

void CharacteristicPanel::setFieldsReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    for (const QList<FieldEdit *> &fields : std::as_const(fields_)) {
        for (FieldEdit *edit : fields)
            edit->setReadOnly(readOnly);
    }
}

// Group i goes to row i % rows of column i / rows; each column is a caption followed by
// its fields, with a heading row on top.
void CharacteristicPanel::layOut()
{
    for (QLabel *caption : std::as_const(captions_))
        grid_->removeWidget(caption);
    for (const QList<FieldEdit *> &fields : std::as_const(fields_)) {
        for (FieldEdit *edit : fields)
            grid_->removeWidget(edit);
    }
    for (QLabel *heading : std::as_const(headingLabels_)) {
        grid_->removeWidget(heading);
        heading->hide();
    }
    const int width = 1 + int(prefixes_.size()) + 1; // caption, fields, gap
    for (int row = 0; row < grid_->rowCount(); ++row)
        grid_->setRowStretch(row, 0);
    for (int column = 0; column < grid_->columnCount(); ++column) {
        grid_->setColumnStretch(column, 0);
        grid_->setColumnMinimumWidth(column, 0);
    }
    const int rows = std::max(1, (shown_ + columns_ - 1) / columns_);
    const int usedColumns = shown_ == 0 ? 0 : (shown_ + rows - 1) / rows;
    for (int column = 0; column < usedColumns; ++column) {
        for (int i = 0; i < headings_.size(); ++i) {
            QLabel *heading = headingLabels_.at(column * headings_.size() + i);
            grid_->addWidget(heading, 0, column * width + 1 + i);
            heading->show();
        }
        grid_->setColumnMinimumWidth(column * width + width - 1, columnGap);
    }
    for (int group = 0; group < shown_; ++group) {
        const int row = 1 + group % rows;
        const int column = (group / rows) * width;
        grid_->addWidget(captions_.at(group), row, column);
        for (int i = 0; i < prefixes_.size(); ++i)
            grid_->addWidget(fields_.at(group).at(i), row, column + 1 + i);
    }
    grid_->setRowStretch(rows + 1, 1);
    grid_->setColumnStretch(usedColumns * width, 1);
}

} // namespace lists

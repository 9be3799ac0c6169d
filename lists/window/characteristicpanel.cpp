#include "lists/window/characteristicpanel.h"

#include "lists/window/fieldwidgets.h"
#include "store/table.h"

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
    : QScrollArea(parent), m_prefixes(std::move(prefixes)), m_headings(std::move(headings)),
      m_maxColumns(std::max(1, maxColumns)), m_body(new QWidget), m_grid(new QGridLayout(m_body))
{
    m_grid->setHorizontalSpacing(spacing);
    m_grid->setVerticalSpacing(3);
    m_grid->setContentsMargins(6, 4, 6, 4);
    // Created in reading order, so that the focus chain runs down each column.
    for (int group = 0; group < groupLimit; ++group) {
        m_captions.append(new QLabel(m_body));
        QList<FieldEdit *> fields;
        for (int i = 0; i < m_prefixes.size(); ++i) {
            auto *edit = new FieldEdit(m_body);
            m_fieldWidth = valueFieldWidth(edit);
            edit->setFixedWidth(m_fieldWidth);
            fields.append(edit);
        }
        m_fields.append(fields);
    }
    for (int column = 0; column < m_maxColumns; ++column) {
        for (const QString &text : std::as_const(m_headings)) {
            auto *heading = new QLabel(text, m_body);
            heading->setAlignment(Qt::AlignCenter);
            QFont font = heading->font();
            font.setBold(true);
            heading->setFont(font);
            m_headingLabels.append(heading);
        }
    }
    setWidget(m_body);
    setWidgetResizable(true);
    setFrameShape(QFrame::StyledPanel);
    hideAll();
}

FieldEdit *CharacteristicPanel::field(int group, int which) const
{
    return m_fields.at(group).at(which);
}

void CharacteristicPanel::hideAll()
{
    for (int group = 0; group < groupLimit; ++group) {
        m_captions.at(group)->hide();
        for (FieldEdit *edit : m_fields.at(group)) {
            edit->unbind();
            edit->hide();
        }
    }
    for (QLabel *heading : std::as_const(m_headingLabels))
        heading->hide();
    m_shown = 0;
    setFieldsReadOnly(true);
}

void CharacteristicPanel::bindTo(store::Table &pit, store::Table &list)
{
    hideAll();
    for (pit.first(); !pit.eof() && m_shown < groupLimit; pit.next()) {
        if (pit.integer(QStringLiteral("order")) <= 1)
            continue; // the price is edited in the calculation preparation window
        const QString key = QString::number(pit.integer(QStringLiteral("KEY")));
        QLabel *caption = m_captions.at(m_shown);
        caption->setText(pit.text(QStringLiteral("PIT")).trimmed());
        caption->setToolTip(caption->text() + QStringLiteral(", ") +
                            pit.text(QStringLiteral("EDIZ")).trimmed());
        caption->show();
        for (int i = 0; i < m_prefixes.size(); ++i) {
            FieldEdit *edit = m_fields.at(m_shown).at(i);
            edit->bind(&list, m_prefixes.at(i) + key);
            edit->setToolTip(caption->toolTip());
            edit->show();
        }
        ++m_shown;
    }
    pit.first();
    int widest = 0;
    for (int group = 0; group < m_shown; ++group) {
        QLabel *caption = m_captions.at(group);
        widest = std::max(widest, caption->fontMetrics().horizontalAdvance(caption->text()));
    }
    m_captionWidth = std::clamp(widest + 8, minCaptionWidth, maxCaptionWidth);
    for (QLabel *caption : std::as_const(m_captions))
        caption->setFixedWidth(m_captionWidth);
    m_columns = fittingColumns();
    layOut();
    updateGeometry();
}

int CharacteristicPanel::fittingColumns() const
{
    const int group =
        m_captionWidth + int(m_prefixes.size()) * (m_fieldWidth + spacing) + columnGap + spacing;
    const int available = viewport()->width() - 12;
    return std::clamp(available / group, 1, m_maxColumns);
}

void CharacteristicPanel::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    const int columns = fittingColumns();
    if (columns != m_columns && m_shown > 0) {
        m_columns = columns;
        layOut();
        updateGeometry();
    }
}

QSize CharacteristicPanel::sizeHint() const
{
    const QSize body = m_body->sizeHint();
    const int frame = 2 * frameWidth();
    return {QScrollArea::sizeHint().width(), std::min(body.height() + frame, maxHeight)};
}

void CharacteristicPanel::setFieldsReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    for (const QList<FieldEdit *> &fields : std::as_const(m_fields)) {
        for (FieldEdit *edit : fields)
            edit->setReadOnly(readOnly);
    }
}

// Group i goes to row i % rows of column i / rows; each column is a caption followed by
// its fields, with a heading row on top.
void CharacteristicPanel::layOut()
{
    for (QLabel *caption : std::as_const(m_captions))
        m_grid->removeWidget(caption);
    for (const QList<FieldEdit *> &fields : std::as_const(m_fields)) {
        for (FieldEdit *edit : fields)
            m_grid->removeWidget(edit);
    }
    for (QLabel *heading : std::as_const(m_headingLabels)) {
        m_grid->removeWidget(heading);
        heading->hide();
    }
    const int width = 1 + int(m_prefixes.size()) + 1; // caption, fields, gap
    for (int row = 0; row < m_grid->rowCount(); ++row)
        m_grid->setRowStretch(row, 0);
    for (int column = 0; column < m_grid->columnCount(); ++column) {
        m_grid->setColumnStretch(column, 0);
        m_grid->setColumnMinimumWidth(column, 0);
    }
    const int rows = std::max(1, (m_shown + m_columns - 1) / m_columns);
    const int usedColumns = m_shown == 0 ? 0 : (m_shown + rows - 1) / rows;
    for (int column = 0; column < usedColumns; ++column) {
        for (int i = 0; i < m_headings.size(); ++i) {
            QLabel *heading = m_headingLabels.at(column * m_headings.size() + i);
            m_grid->addWidget(heading, 0, column * width + 1 + i);
            heading->show();
        }
        m_grid->setColumnMinimumWidth(column * width + width - 1, columnGap);
    }
    for (int group = 0; group < m_shown; ++group) {
        const int row = 1 + group % rows;
        const int column = (group / rows) * width;
        m_grid->addWidget(m_captions.at(group), row, column);
        for (int i = 0; i < m_prefixes.size(); ++i)
            m_grid->addWidget(m_fields.at(group).at(i), row, column + 1 + i);
    }
    m_grid->setRowStretch(rows + 1, 1);
    m_grid->setColumnStretch(usedColumns * width, 1);
}

} // namespace lists

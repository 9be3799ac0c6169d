#include "settings/window/parameterswindow.h"

#include "store/numbertext.h"
#include "widgets/message.h"
#include "widgets/windowparts.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTime>
#include <QVBoxLayout>

namespace settings
{

using settings::Settings;

namespace
{

constexpr int addressLine = 24;
constexpr int firstChoiceLine = 25;

const char *const choiceCaptions[] = {
    "Без учета налога", "С учетом налога", " ОКРУГЛЯТЬ",
    "НЕ округлять",     " ОКРУГЛЯТЬ",      "НЕ округлять",
};

const char *const pairCaptions[] = {
    "В наименование рецепта включать цену (уточните)",
    "Цену без учета налога (оптовую)",
    "Цену С УЧЕТОМ налога (отпускную)",
};

const char warningText[] =
    "ВНИМАНИЕ!  Если в наименовании рецепта указана цена с НДС (отпускная), то править НДС "
    "в архиве нельзя, если указана цена без НДС, то можно.  ";

// The text of a number field: two decimals right-aligned in the field's width, and the
// input mask that holds it. The usual masks are "00.00" and "000000.00" (in Qt's masks
// "0" is a digit that may be left blank); a value from the file that needs more places
// or a sign gets a wider mask rather than being cut.
struct MaskedNumber {
    QString text;
    QString mask;
};

MaskedNumber maskedNumber(double value, int width)
{
    const bool negative = store::roundTo(value, 2) < 0;
    QString digits = store::fixedText(negative ? -value : value, width - (negative ? 1 : 0), 2);
    if (negative)
        digits.prepend(QLatin1Char('-'));
    QString mask = QString(digits.size() - 3, QLatin1Char('0')) + QStringLiteral(".00");
    if (negative)
        mask[0] = QLatin1Char('#');
    return {digits, mask};
}

// The text lines in file order down the left column; the address across the bottom.
constexpr int textLines[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 17, 19, 21, 22, 23};
constexpr int numberLines[] = {14, 15, 16, 18, 20};

// The labels are wrapped to this width, a long one taking two lines.
int labelWidth(const QFontMetrics &metrics)
{
    int width = 0;
    for (const char *part : {"Должность Четвертого", "выработку одной тонны (руб)",
                             "Должность  подписывающего", "Надбавка за гранулирование"})
        width = qMax(width, metrics.horizontalAdvance(QString::fromUtf8(part)));
    return width + 8;
}

// A text field that asks for the width of the longest text it takes (capitals
// included), so that the window opens wide enough to show it whole; it can still be
// made narrower on a small screen.
class TextField final : public QLineEdit
{
public:
    explicit TextField(QWidget *parent) : QLineEdit(parent) {}
    QSize sizeHint() const override
    {
        const QString widest(settings::settingsTextLimit, QChar(u'П'));
        const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
        return {fontMetrics().horizontalAdvance(widest) + 2 * frame + 8,
                QLineEdit::sizeHint().height()};
    }
};

// Text of lines 1-23 is held with at most 60 characters; the address whole.
int maxLengthOfLine(int line)
{
    return line == addressLine ? 32767 : settings::settingsTextLimit;
}

} // namespace

ParametersWindow::ParametersWindow(QWidget *parent, const QString &dataDir)
    : QDialog(parent), dataDir(dataDir)
{
    setWindowTitle(QStringLiteral("Параметры"));
    auto *columns = new QHBoxLayout;
    columns->addWidget(buildTextFields(), 3);
    columns->addSpacing(12);
    columns->addLayout(buildNumbersAndChoices(), 1);
    auto *page = new QVBoxLayout(this);
    page->addLayout(columns, 1);
    page->addLayout(buildButtonRow());
    connect(exitButton, &QPushButton::clicked, this, &QWidget::close);
    connect(saveButton, &QPushButton::clicked, this, &ParametersWindow::onSave);
    setTabOrderByLines();
    setSizeGripEnabled(true);
    // As large as the fields need to show their whole texts, within the screen.
    QSize size = sizeHint().expandedTo(QSize(800, 600));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size);
}

QLabel *ParametersWindow::makeLabel(int line, QWidget *parent)
{
    auto *label = widgets::makeLabel(settings::settingsLineLabel(line), parent);
    label->setWordWrap(true);
    label->setFixedWidth(labelWidth(label->fontMetrics()));
    label->setBuddy(fields[std::size_t(line)]);
    return label;
}

// The enterprise and the signatories, the texts of the certificate, the address: each
// field wide enough for its whole text, in the order of the file.
QWidget *ParametersWindow::buildTextFields()
{
    auto *panel = new QWidget(this);
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    int row = 0;
    for (int line : textLines) {
        QLineEdit *edit = makeField(line);
        grid->addWidget(makeLabel(line, panel), row, 0);
        grid->addWidget(edit, row++, 1);
    }
    QLineEdit *address = makeField(addressLine);
    grid->addWidget(makeLabel(addressLine, panel), row, 0);
    grid->addWidget(address, row++, 1);
    grid->setRowStretch(row, 1);
    return panel;
}

// The five numbers, the three pairs of choices with the warning.
QLayout *ParametersWindow::buildNumbersAndChoices()
{
    auto *column = new QVBoxLayout;
    auto *numbers = new QGridLayout;
    numbers->setVerticalSpacing(4);
    int row = 0;
    for (int line : numberLines) {
        QLineEdit *edit = makeField(line);
        numbers->addWidget(makeLabel(line, this), row, 0);
        numbers->addWidget(edit, row++, 1, Qt::AlignLeft);
    }
    column->addLayout(numbers);
    column->addSpacing(8);
    for (int pair = 0; pair < 3; ++pair) {
        column->addWidget(buildPair(pair));
        if (pair == 0) {
            auto *warning = widgets::makeLabel(QString::fromUtf8(warningText), this);
            warning->setWordWrap(true);
            column->addWidget(warning);
        }
    }
    column->addStretch();
    return column;
}

// Across the bottom: whether the values are saved, "Сохранить" and "Выход".
QLayout *ParametersWindow::buildButtonRow()
{
    savedLabel = widgets::makeLabel(QString(), this);
    savedLabel->setObjectName(QStringLiteral("savedLabel"));
    savedLabel->setWordWrap(true);
    savedLabel->setMinimumHeight(2 * savedLabel->fontMetrics().lineSpacing() + 2); // a reason
    saveButton = widgets::makeButton(QStringLiteral("Сохранить"), this, "saveButton");
    exitButton = widgets::makeButton(QStringLiteral("Выход"), this,
                                     "exitButton"); // Enter in a field stays there
    auto *row = new QHBoxLayout;
    row->addWidget(savedLabel, 1);
    row->addSpacing(12);
    row->addWidget(saveButton, 0, Qt::AlignBottom);
    row->addWidget(exitButton, 0, Qt::AlignBottom);
    return row;
}

QLineEdit *ParametersWindow::makeField(int line)
{
    QLineEdit *edit = settings::isNumberLine(line) ? new QLineEdit(this) : new TextField(this);
    edit->setObjectName(QStringLiteral("line%1").arg(line));
    fields[std::size_t(line)] = edit;
    connect(edit, &QLineEdit::textEdited, this, &ParametersWindow::markChanged);
    if (!settings::isNumberLine(line)) {
        edit->setMaxLength(maxLengthOfLine(line));
        return edit;
    }
    const int width = settings::numberFieldWidth(line);
    edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edit->setAlignment(Qt::AlignRight);
    edit->setInputMask(maskedNumber(0, width).mask);
    const QString sample(width + 2, QLatin1Char('0'));
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(sample) + 12);
    // A typed "2.5" stands as "2 .5 ": once the field is left it shows " 2.50" again.
    connect(edit, &QLineEdit::editingFinished, this,
            [this, line] { showNumber(line, numberInField(line)); });
    return edit;
}

// A pair of mutually exclusive choices (lines 25/26, 27/28, 29/30) under its caption.
QGroupBox *ParametersWindow::buildPair(int pair)
{
    auto *box = new QGroupBox(QString::fromUtf8(pairCaptions[pair]), this);
    auto *row = new QHBoxLayout(box);
    pairs[std::size_t(pair)] = new QButtonGroup(box);
    for (int k = 0; k < 2; ++k) {
        const int line = firstChoiceLine + 2 * pair + k;
        auto *radio = new QRadioButton(QString::fromUtf8(choiceCaptions[line - 25]), box);
        radio->setObjectName(QStringLiteral("line%1").arg(line));
        choices[std::size_t(line)] = radio;
        pairs[std::size_t(pair)]->addButton(radio);
        connect(radio, &QRadioButton::clicked, this, &ParametersWindow::markChanged);
        row->addWidget(radio);
    }
    row->addStretch();
    return box;
}

void ParametersWindow::setTabOrderByLines()
{
    QList<QWidget *> order;
    for (int line = 1; line <= addressLine; ++line)
        order.append(fields[std::size_t(line)]);
    for (int line = firstChoiceLine; line <= settings::settingsLineCount; ++line)
        order.append(choices[std::size_t(line)]);
    order.append(saveButton);
    order.append(exitButton);
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order.at(i), order.at(i + 1));
}

void ParametersWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!active) {
        active = true;
        onActivate();
    }
}

void ParametersWindow::done(int result)
{
    if (active) {
        active = false;
        onClose();
    }
    QDialog::done(result);
}

// Activation: the in-memory values into the fields, the flags onto the choices.
void ParametersWindow::onActivate()
{
    showValues();
    savedLabel->setText(QStringLiteral("Показаны сохраненные значения."));
    fields[1]->setFocus(Qt::OtherFocusReason);
}

void ParametersWindow::showValues()
{
    Settings s = settings::currentSettings();
    const QStringList lines = settings::settingsLines(s);
    for (int line = 1; line <= addressLine; ++line) {
        if (settings::isNumberLine(line))
            continue;
        fields[std::size_t(line)]->setText(lines.at(line - 1));
        fields[std::size_t(line)]->setCursorPosition(0);
    }
    showNumber(14, s.lossNorm);
    showNumber(15, s.productionCosts);
    showNumber(16, s.profitability);
    showNumber(18, s.taxRate);
    showNumber(20, s.granulationSurcharge);
    const bool flags[] = {s.namePriceWithoutTax,   s.namePriceWithTax,  s.roundWholesalePrice,
                          s.noRoundWholesalePrice, s.roundSellingPrice, s.noRoundSellingPrice};
    for (int pair = 0; pair < 3; ++pair) {
        // As when the choices are set one after the other: the second of a pair wins.
        const bool second = flags[2 * pair + 1];
        QButtonGroup *group = pairs[std::size_t(pair)];
        group->setExclusive(false);
        choices[std::size_t(firstChoiceLine + 2 * pair)]->setChecked(flags[2 * pair] && !second);
        choices[std::size_t(firstChoiceLine + 2 * pair + 1)]->setChecked(second);
        group->setExclusive(true);
    }
}

// Close: the fields into cons.txt and back into memory; what went wrong is shown.
void ParametersWindow::onClose()
{
    save();
}

void ParametersWindow::save()
{
    problems = settings::WriteSettings(valuesInFields(), dataDir);
    if (!problems.isEmpty())
        widgets::showMessage(this, problems.join(QLatin1Char('\n')));
}

// "Сохранить": the file written now; the fields then show what it holds.
void ParametersWindow::onSave()
{
    save();
    showValues();
    savedLabel->setText(problems.isEmpty()
                            ? QStringLiteral("Значения сохранены в %1.")
                                  .arg(QTime::currentTime().toString(QStringLiteral("HH:mm")))
                            : problems.join(QLatin1Char('\n')));
}

void ParametersWindow::markChanged()
{
    savedLabel->setText(QStringLiteral("Изменения не сохранены: нажмите \"Сохранить\" "
                                       "(при выходе они тоже сохраняются)."));
}

void ParametersWindow::showNumber(int line, double value)
{
    QLineEdit *edit = fields[std::size_t(line)];
    const MaskedNumber number = maskedNumber(value, settings::numberFieldWidth(line));
    edit->setInputMask(number.mask);
    edit->setText(number.text);
}

// The value a number field holds: its digits with the point where the mask puts it;
// a field left without digits holds 0.
double ParametersWindow::numberInField(int line) const
{
    QString text = fields[std::size_t(line)]->text(); // the mask's blanks are left out
    text.remove(QLatin1Char(' '));
    bool ok = false;
    const double value = store::parseNumber(text, &ok);
    return ok ? value : 0;
}

Settings ParametersWindow::valuesInFields() const
{
    // The texts go through the file's lines, so each lands where the file puts it.
    Settings s;
    QStringList lines = settings::settingsLines(s);
    for (int line = 1; line <= addressLine; ++line)
        lines[line - 1] = fields[std::size_t(line)]->text();
    for (int line = firstChoiceLine; line <= settings::settingsLineCount; ++line)
        lines[line - 1] =
            choices[std::size_t(line)]->isChecked() ? QStringLiteral("t") : QStringLiteral("f");
    s = settings::parseSettings(lines, {}).values;
    s.lossNorm = numberInField(14);
    s.productionCosts = numberInField(15);
    s.profitability = numberInField(16);
    s.taxRate = numberInField(18);
    s.granulationSurcharge = numberInField(20);
    return s;
}

} // namespace settings

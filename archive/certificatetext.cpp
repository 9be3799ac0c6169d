#include "archive/certificatetext.h"

#include "archive/archivedrecipe.h"
#include "archive/certificatecolumns.h"
#include "settings/settings.h"
#include "settings/workingdate.h"
#include "store/numbertext.h"
#include "store/splitline.h"

#include <algorithm>

namespace archive
{

namespace
{

using store::fixedText;
using store::padded;

constexpr int kTitleWidth = 78;
constexpr int kMaxTableRows = 100000; // a guard only: the columns end long before
constexpr CertificateColumn kRawColumn = kCertificateColumns[0];
constexpr CertificateColumn kPremixColumn = kCertificateColumns[1];
const QString kMoistureName = QStringLiteral("Влажность");

QString spaces(int n)
{
    return QString(n, QLatin1Char(' '));
}

QString stars(int n)
{
    return QString(n, QLatin1Char('*'));
}

QString columnHeading()
{
    return spaces(11) + QStringLiteral("Состав рецепта %") + spaces(20) +
           QStringLiteral("Введены добавки на 1 т") + spaces(20) +
           QStringLiteral("Показатели качества") + spaces(4) + QStringLiteral("ФАКТИЧЕСКИЕ") +
           spaces(6);
}

QString standardText(const QString &gost)
{
    const QString trimmed = gost.trimmed();
    return trimmed.isEmpty() || namesStandard(trimmed) ? trimmed
                                                       : QStringLiteral("ГОСТ ") + trimmed;
}

QString unitText(const QString &ediz)
{
    return padded(ediz.trimmed().left(10), 11);
}

QStringList headLines(const ArchivedRecipe &r, const settings::Settings &values,
                      const QDate &workingDate)
{
    const QString title =
        QStringLiteral("РЕЦЕПТ ") + r.naim.trimmed() + spaces(4) + purposeText(r.nasn.trimmed());
    const store::SplitText split = store::splitLine(title, kTitleWidth);
    return {values.enterpriseName,
            values.address,
            QStringLiteral("Удостоверение о качестве комбикорма"),
            QStringLiteral("от ") + settings::shortDateText(workingDate),
            split.first,
            split.rest,
            standardText(r.gost),
            QStringLiteral("Дата выработки") + spaces(15) + QStringLiteral("Смена"),
            QStringLiteral("Вид комбикорма ") + feedKindText(r.gk),
            (QStringLiteral("Сертификат соответствия ") + values.conformityCertificate).left(84),
            QStringLiteral("Получатель "),
            stars(126),
            columnHeading(),
            stars(126)};
}

bool statesMoisture(const ArchivedRecipe &r)
{
    return std::any_of(r.chars.begin(), r.chars.end(), [](const ArchivedRecipe::CharLine &c) {
        return c.pit.trimmed().compare(kMoistureName, Qt::CaseInsensitive) == 0;
    });
}

// The three columns of the table, walked row by row. The premix column ends with one
// empty row and the filler, wrapped to the column; the quality column starts with the
// usual moisture (unless the recipe states its own, which a second figure would
// contradict) and ends with an empty row and three fixed entries.
class TableColumns
{
public:
    TableColumns(const ArchivedRecipe &r, const QString &filler)
        : r_(r), fillerLines_(store::wrapText(QStringLiteral("Наполнитель: ") + filler,
                                              kPremixColumn.content)),
          qualityStage_(statesMoisture(r) ? 2 : 1)
    {
    }

    bool complete() const
    {
        return raw_ >= r_.raws.size() && premix_ >= r_.premixes.size() &&
               quality_ >= r_.chars.size() && premixStage_ == 3 && qualityStage_ == 6;
    }

    QString nextRow() { return rawColumn() + premixColumn() + qualityColumn(); }

private:
    QString rawColumn()
    {
        if (raw_ >= r_.raws.size())
            return spaces(kRawColumn.width);
        const ArchivedRecipe::RawLine &line = r_.raws.at(raw_++);
        return padded(line.naim, 31) + fixedText(line.procin, 6, 2);
    }

    QString premixColumn()
    {
        if (premix_ < r_.premixes.size()) {
            const ArchivedRecipe::PremixLine &line = r_.premixes.at(premix_++);
            return QStringLiteral("   ") + padded(line.pit, 21) + fixedText(line.ra, 7, 2) +
                   QLatin1Char(' ') + unitText(line.ediz);
        }
        if (premixStage_ == 1) {
            premixStage_ = 2;
            return spaces(kPremixColumn.width);
        }
        if (premixStage_ == 2) {
            const QString line = fillerLines_.value(filler_++);
            if (filler_ >= fillerLines_.size())
                premixStage_ = 3;
            return padded(QStringLiteral("   ") + line, kPremixColumn.width);
        }
        return spaces(kPremixColumn.width);
    }

    QString qualityColumn()
    {
        switch (qualityStage_) {
        case 1:
            qualityStage_ = 2;
            return padded(QLatin1Char(' ') + kMoistureName, 21) + QStringLiteral("   13.00 ") +
                   padded(QStringLiteral("%"), 11);
        case 2:
            if (quality_ >= r_.chars.size()) {
                qualityStage_ = 3;
                return {};
            }
            return qualityLine(r_.chars.at(quality_++));
        case 3:
            qualityStage_ = 4;
            return QStringLiteral(" НЕ ТОКСИЧЕН.");
        case 4:
            qualityStage_ = 5;
            return QStringLiteral(" Анализ №");
        case 5:
            qualityStage_ = 6;
            return QStringLiteral(" Вагоны №");
        default:
            return {};
        }
    }

    static QString qualityLine(const ArchivedRecipe::CharLine &line)
    {
        return QLatin1Char(' ') + padded(line.pit, 21) + QLatin1Char(' ') +
               fixedText(line.fa, 7, 2) + QLatin1Char(' ') + unitText(line.ediz);
    }

    const ArchivedRecipe &r_;
    const QStringList fillerLines_;
    qsizetype raw_ = 0;
    qsizetype premix_ = 0;
    qsizetype quality_ = 0;
    qsizetype filler_ = 0;
    int premixStage_ = 1;
    int qualityStage_;
};

QString signatureLine(const settings::Settings &values)
{
    const QString post = values.certificateSignerPosition;
    const QString name = values.certificateSignerSurname;
    if (name.isEmpty())
        return (post + QLatin1Char(' ') + QString(50, QLatin1Char('_'))).left(111);
    const QString underline =
        QLatin1Char(' ') + QString(27, QLatin1Char('_')) + QStringLiteral(" /");
    return (((post + underline).left(90) + name).left(150) + QLatin1Char('/')).left(151);
}

QStringList closingLines(const settings::Settings &values)
{
    return {stars(130),
            QStringLiteral("Комбикорм является смесью очищенных и измельченных средств, "
                           "обеспечивающих возможность наиболее эффективного"),
            QStringLiteral("использования питательных веществ кормов. Комбикорма приготовляются "
                           "разных свойств и питательного достоинства"),
            QStringLiteral("в соответствии с физиологическими особенностями птиц и животных и их "
                           "хозяйственным назначением."),
            QStringLiteral("Комбикорм должен скармливаться только тем животным и птицам, для "
                           "которых изготовлен в соответствии с рецептами."),
            signatureLine(values)};
}

} // namespace

QString CertificateText::line(int i) const
{
    return i >= 0 && i < count() ? lines.at(i) : QString();
}

QString CertificateText::title() const
{
    const QString first = line(4);
    const QString rest = line(5);
    const bool glued = !first.isEmpty() && !rest.isEmpty() && first.back().isLetterOrNumber() &&
                       rest.front().isLetterOrNumber();
    return glued ? first + QLatin1Char(' ') + rest : first + rest;
}

QStringList CertificateText::tableRows() const
{
    if (lastTableRow() < kFirstTableRow)
        return {};
    return lines.mid(kFirstTableRow, lastTableRow() - kFirstTableRow + 1);
}

QString CertificateText::plainText() const
{
    return lines.join(QLatin1Char('\n'));
}

CertificateText CertificateText::fromPlainText(const QString &text)
{
    return {text.split(QLatin1Char('\n'))};
}

QString feedKindText(const QString &gk)
{
    const QString kind = gk.trimmed();
    if (kind.isEmpty())
        return QStringLiteral("РОССЫПЬ");
    if (kind == QStringLiteral("г") || kind == QStringLiteral("Г"))
        return QStringLiteral("ГРАНУЛЫ");
    if (kind == QStringLiteral("к") || kind == QStringLiteral("К"))
        return QStringLiteral("КРУПКА");
    return kind;
}

CertificateText buildCertificateText(const ArchivedRecipe &recipe, const settings::Settings &values,
                                     const QDate &workingDate)
{
    CertificateText text;
    text.lines = headLines(recipe, values, workingDate);
    TableColumns columns(recipe, values.premixFiller);
    for (int row = 0; row < kMaxTableRows && !columns.complete(); ++row)
        text.lines << columns.nextRow();
    text.lines << closingLines(values);
    return text;
}

} // namespace archive

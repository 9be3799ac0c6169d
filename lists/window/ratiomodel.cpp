#include "lists/window/ratiomodel.h"

#include "store/fieldproblem.h"
#include "store/numbertext.h"
#include "widgets/fieldtext.h"

namespace lists
{

namespace
{

// The bounds are typed as RMIN/RMAX are stored: N(10,4).
const store::FieldDef kBoundField{QStringLiteral("RMIN"), 'N', 10, 4};

QString boundText(double bound)
{
    return bound == 0 ? QString() : store::fixedText(bound, 0, 4);
}

} // namespace

RatioModel::RatioModel(QObject *parent) : QAbstractTableModel(parent) {}

void RatioModel::setCharacteristics(QList<RatioCharacteristic> characteristics)
{
    beginResetModel();
    characteristics_ = std::move(characteristics);
    endResetModel();
}

void RatioModel::setRows(int kodkk, QList<store::RatioRecord> rows)
{
    beginResetModel();
    feed_ = kodkk;
    rows_ = std::move(rows);
    changed_ = false;
    endResetModel();
}

void RatioModel::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    if (!rows_.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int RatioModel::addRow()
{
    if (readOnly_ || feed_ <= 0 || characteristics_.isEmpty())
        return -1;
    const int row = int(rows_.size());
    const int second = characteristics_.size() > 1 ? 1 : 0;
    beginInsertRows({}, row, row);
    rows_.append(
        {feed_, characteristics_.first().key, characteristics_.at(second).key, 0, 0, true});
    endInsertRows();
    changed_ = true;
    return row;
}

void RatioModel::removeRow(int row)
{
    if (readOnly_ || row < 0 || row >= rows_.size())
        return;
    beginRemoveRows({}, row, row);
    rows_.removeAt(row);
    endRemoveRows();
    changed_ = true;
}

QString RatioModel::characteristicName(int key) const
{
    for (const RatioCharacteristic &c : characteristics_)
        if (c.key == key)
            return c.name;
    return QStringLiteral("ключ ") + QString::number(key);
}

QString RatioModel::rowName(int row) const
{
    const store::RatioRecord &r = rows_.at(row);
    return characteristicName(r.numeratorKey) + QLatin1Char('/') +
           characteristicName(r.denominatorKey);
}

int RatioModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int RatioModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RatioModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size())
        return {};
    const store::RatioRecord &r = rows_.at(index.row());
    const int column = index.column();
    if (column == InForce)
        return role == Qt::CheckStateRole ? QVariant(r.on ? Qt::Checked : Qt::Unchecked)
                                          : QVariant();
    if (role == Qt::TextAlignmentRole && (column == Minimum || column == Maximum))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole)
        return {};
    switch (column) {
    case Numerator:
    case Denominator: {
        const int key = column == Numerator ? r.numeratorKey : r.denominatorKey;
        return role == Qt::EditRole ? QVariant(key) : QVariant(characteristicName(key));
    }
    case Minimum:
        return role == Qt::ToolTipRole ? QVariant() : boundText(r.minimum);
    case Maximum:
        return role == Qt::ToolTipRole ? QVariant() : boundText(r.maximum);
    default:
        return {};
    }
}

QVariant RatioModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    switch (section) {
    case Numerator:
        return QStringLiteral("Числитель");
    case Denominator:
        return QStringLiteral("Знаменатель");
    case Minimum:
        return QStringLiteral("Мин.");
    case Maximum:
        return QStringLiteral("Макс.");
    case InForce:
        return QStringLiteral("В силе");
    default:
        return {};
    }
}

Qt::ItemFlags RatioModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (readOnly_)
        return result;
    return result | (index.column() == InForce ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}

bool RatioModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= rows_.size() || readOnly_)
        return false;
    store::RatioRecord &r = rows_[index.row()];
    const int column = index.column();
    if (column == InForce && role == Qt::CheckStateRole) {
        r.on = value.toInt() == Qt::Checked;
    } else if ((column == Numerator || column == Denominator) && role == Qt::EditRole) {
        bool ok = false;
        const int key = value.toInt(&ok);
        if (!ok)
            return false;
        (column == Numerator ? r.numeratorKey : r.denominatorKey) = key;
        if (r.numeratorKey == r.denominatorKey) // kept: the other side may be changed next
            emit editProblem(QStringLiteral("Числитель и знаменатель соотношения ") +
                             rowName(index.row()) + QStringLiteral(" - одна характеристика."));
    } else if ((column == Minimum || column == Maximum) && role == Qt::EditRole) {
        if (!setBound(index.row(), column, value.toString()))
            return false;
    } else {
        return false;
    }
    changed_ = true;
    emit dataChanged(index, index);
    return true;
}

// A typed bound: refused when it is no number or does not fit, or is below 0; kept, with
// a warning, when it passes the other bound (the user may be about to change that one).
bool RatioModel::setBound(int row, int column, const QString &text)
{
    const QString caption = headerData(column, Qt::Horizontal).toString();
    const store::FieldPlace place{QStringLiteral("Соотношения"), caption, rowName(row)};
    QString error;
    const QVariant typed = widgets::fieldInput(kBoundField, text, &error);
    if (error.isEmpty())
        error = typed.isValid() && typed.toDouble() < 0
                    ? store::negativeNumberProblem(place)
                    : store::fieldProblem(kBoundField, typed, place);
    if (!error.isEmpty()) {
        emit editProblem(error);
        return false;
    }
    store::RatioRecord &r = rows_[row];
    (column == Minimum ? r.minimum : r.maximum) = store::round4(typed.toDouble());
    const QString problem = ratioBoundsProblem(r, rowName(row));
    if (!problem.isEmpty())
        emit editProblem(problem);
    return true;
}

} // namespace lists

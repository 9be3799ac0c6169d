#pragma once

// The rows of the "Соотношения" grid of the feed types window: the nutrient ratios of the
// feed type shown, kept here while they are edited and written back by the window when it
// leaves the feed type. Columns: numerator and denominator (a characteristic's name; the
// edit value is its KEY), minimum and maximum (blank is no bound, stored as 0), and "В силе"
// (a check box, the ratio in force).

#include "lists/feedratios.h"

#include <QAbstractTableModel>

namespace lists
{

class RatioModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RatioModel)

public:
    enum Column { Numerator, Denominator, Minimum, Maximum, InForce, ColumnCount };

    explicit RatioModel(QObject *parent = nullptr);

    void setCharacteristics(QList<RatioCharacteristic> characteristics);
    const QList<RatioCharacteristic> &characteristics() const { return characteristics_; }

    // The ratios of feed type kodkk (-1: none loaded), unchanged so far.
    void setRows(int kodkk, QList<store::RatioRecord> rows);
    int feed() const { return feed_; }
    const QList<store::RatioRecord> &rows() const { return rows_; }
    bool changed() const { return changed_; }
    void markSaved() { changed_ = false; }

    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }

    // A new ratio in force at the end: the first two characteristics, no bounds yet.
    // Returns its row, -1 when nothing can be added.
    int addRow();
    void removeRow(int row);
    // "Кальций/Фосфор доступный"; a key not in the list reads "ключ 12".
    QString rowName(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // A typed bound was refused (not a number, below 0, too large), or was kept but
    // cannot hold together with the other bound.
    void editProblem(const QString &message);

private:
    QString characteristicName(int key) const;
    bool setBound(int row, int column, const QString &text);

    QList<RatioCharacteristic> characteristics_;
    QList<store::RatioRecord> rows_;
    int feed_ = -1;
    bool changed_ = false;
    bool readOnly_ = true;
};

} // namespace lists

#include "results/mixsource.h"

#include "store/cursorstate.h"
#include "store/datasourceoff.h"
#include "store/table.h"

namespace results
{

namespace
{

constexpr int kContentCount = 65; // MI1 .. MI65
constexpr int kNameLength = 30;

// The record's contents MI1 .. MI65 by key; absent fields read 0.
std::vector<double> contentsOf(const store::Table &sir)
{
    std::vector<double> contents(kContentCount + 1, 0.0);
    for (int key = 1; key <= kContentCount; ++key) {
        const QString field = QStringLiteral("MI%1").arg(key);
        if (sir.hasField(field))
            contents[size_t(key)] = sir.number(field);
    }
    return contents;
}

} // namespace

QList<MixLine> readMixLines(store::Table &sir, const MixInputs &inputs, MixMode mode)
{
    QList<MixLine> lines;
    const store::DataSourceOff off(sir);
    const store::CursorStateGuard keep(sir);
    for (sir.first(); !sir.eof(); sir.next()) {
        const double input = inputs.input(sir.integer(QStringLiteral("kods")), mode);
        if (input == 0)
            continue;
        MixLine line;
        line.name = sir.text(QStringLiteral("NAIM")).left(kNameLength);
        line.premix = !sir.text(QStringLiteral("PREM")).trimmed().isEmpty();
        line.input = input;
        line.price = sir.number(QStringLiteral("MI1"));
        line.contents = contentsOf(sir);
        lines.append(line);
    }
    return lines;
}

QList<MixCharacteristic> readMixCharacteristics(store::Table &pit)
{
    QList<MixCharacteristic> rows;
    const store::DataSourceOff off(pit);
    const store::CursorStateGuard keep(pit);
    for (pit.first(); !pit.eof(); pit.next())
        rows.append({pit.text(QStringLiteral("pit")), pit.integer(QStringLiteral("key")),
                     pit.text(QStringLiteral("ediz"))});
    return rows;
}

bool ProductNorms::marked(int row) const
{
    if (row <= 0 || row >= norms.size())
        return false;
    return norms.at(row).first != 0 || norms.at(row).second != 0;
}

ProductNorms readProductNorms(const store::Table &kk,
                              const QList<MixCharacteristic> &characteristics)
{
    ProductNorms product;
    if (kk.isEmpty())
        return product;
    product.type = kk.text(QStringLiteral("tip"));
    product.purpose = QStringLiteral("Для ") + kk.text(QStringLiteral("nasn"));
    const QString gost = kk.text(QStringLiteral("gost")).trimmed();
    if (!gost.isEmpty())
        product.standard = QStringLiteral("ГОСТ ") + gost;
    for (const MixCharacteristic &row : characteristics) {
        const QString mi = QStringLiteral("mi%1").arg(row.key);
        const QString ma = QStringLiteral("ma%1").arg(row.key);
        product.norms.append(
            {kk.hasField(mi) ? kk.number(mi) : 0.0, kk.hasField(ma) ? kk.number(ma) : 0.0});
    }
    return product;
}

void listMixRawMaterials(store::Table &sir, bool selectedOnly)
{
    if (selectedOnly) {
        sir.setFilter(QStringLiteral("ot='+'"));
        sir.setFiltered(true);
    } else {
        sir.setFilter(QString());
        sir.setFiltered(false);
    }
    sir.first();
}

} // namespace results

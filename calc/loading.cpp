#include "calc/loading.h"

#include "calc/datanumber.h"
#include "settings/settings.h"
#include "store/numbertext.h"
#include "store/table.h"
#include "store/unreadablenumber.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <optional>

namespace calc
{

namespace
{

// Sums of inclusion limits are sums of two-decimal percentages: 36.33 + 1.86 + 33.56 +
// 9.49 + 9.35 + 9.41 is 99.99999999999999 in doubles. They are compared with 100 with
// this much room, far below the limits' own precision.
constexpr double kPercentSumTolerance = 1e-7;

QString num(int n)
{
    return QString::number(n);
}

// A whole amount of the stock messages: need + 0.5 taken to the nearest whole number,
// a half to the even neighbour, written without decimals (as digits, whatever its size).
QString amountText(double amount)
{
    return store::fixedText(store::roundHalfEven(amount + 0.5), 0, 0);
}

// "№ p - TIP  NASN" as the feed-type messages quote it.
QString feedRef(const Selection &sel, int p)
{
    return num(p) + QStringLiteral(" - ") + sel.feedType[p] + QStringLiteral("  ") +
           sel.feedPurpose[p];
}

QString inclusionMaximumOver100(int s, const QString &name, const Selection &sel, int p)
{
    return QStringLiteral("Максимум норм ввода сырья № ") + num(s) + QStringLiteral(" - ") + name +
           QStringLiteral(" -  в продукт № ") + feedRef(sel, p) +
           QStringLiteral(" -  больше 100%.");
}

QString inclusionMinimumOverMaximum(int s, const QString &name, const Selection &sel, int p)
{
    return QStringLiteral("Минимум норм ввода сырья № ") + num(s) + QStringLiteral(" - ") + name +
           QStringLiteral(" -  в продукт № ") + feedRef(sel, p) +
           QStringLiteral(" -  больше максимума.");
}

QString requirementMinimumOverMaximum(const Selection &sel, int q, int p)
{
    return QStringLiteral("Минимум требований по характеристике ") + sel.charName[q] +
           QStringLiteral("  в продукте № ") + feedRef(sel, p) +
           QStringLiteral(" -  больше максимума.");
}

// A maximum price that leaves no money for raw materials once tax, surcharge, profit,
// costs and losses are taken out: reported rather than turned into "no price limit".
QString messagePriceTooLow(const Selection &sel, int p)
{
    return QStringLiteral("Максимальная цена продукта № ") + feedRef(sel, p) +
           QStringLiteral(" -  не покрывает налог, надбавку за гранулирование,"
                          " рентабельность, издержки и потери.");
}

QString outputNotGiven(const Selection &sel, int p)
{
    return QStringLiteral("Требуемый вес продукта № ") + feedRef(sel, p) +
           QStringLiteral(" - не указан.");
}

QString minimumInclusionsOver100(const Selection &sel, int p)
{
    return QStringLiteral("Сумма минимальных норм ввода для продукта № ") + feedRef(sel, p) +
           QStringLiteral(" -  больше 100%.");
}

QString maximumInclusionsUnder100(const Selection &sel, int p)
{
    return QStringLiteral("Сумма максимальных норм ввода для продукта № ") + feedRef(sel, p) +
           QStringLiteral(" -  меньше 100%.");
}

QString stockShortOfMinimums(const Selection &sel, int s, double need)
{
    return QStringLiteral("Сырья № ") + num(s) + QStringLiteral("  ") + sel.rawName[s] +
           QStringLiteral(" - мало даже для минимальных вложений.  Добавьте  ") + amountText(need) +
           QStringLiteral(" Т.");
}

QString stockOverMaximums(const Selection &sel, int s, double excess)
{
    return QStringLiteral("Сырья № ") + num(s) + QStringLiteral("  ") + sel.rawName[s] +
           QStringLiteral(
               " - слишком много, чтобы сработать даже для максимальных вложений.  Излишек ") +
           amountText(excess) + QStringLiteral(" Т.");
}

QString stockShortOfOutput(double shortfall)
{
    return QStringLiteral("Запас сырья меньше требуемой выработки на  ") + amountText(shortfall) +
           QStringLiteral(" Т.");
}

// A number field of the selection that holds no number ("15 000", "*****"): never taken
// for 0. subject names the raw material or feed type as the other messages do.
QString messageUnreadable(const QString &subject, const QString &column, const QString &text)
{
    return subject + QStringLiteral(" -  ") + column + QStringLiteral(": «") + text +
           QStringLiteral("» не читается как число.");
}

QString rawRef(const Selection &sel, int s)
{
    return QStringLiteral("Сырье № ") + num(s) + QStringLiteral("  ") + sel.rawName[s];
}

// A number the load takes from the record under the cursor. One that cannot be read, or
// that is no usable data number (calc/datanumber.h), goes on the error list and is
// refused: nullopt, so that no check or sum after it uses it; the run stops on the list.
std::optional<double> readNumber(const store::Table &table, const QString &field,
                                 const QString &subject, const QString &column,
                                 QStringList &diagnostics)
{
    const QVariant value = table.value(field);
    if (store::isUnreadableNumber(value)) {
        diagnostics << messageUnreadable(subject, column, store::unreadableText(value));
        return std::nullopt;
    }
    const double number = table.number(field);
    if (!isUsableDataNumber(number)) {
        diagnostics << dataNumberTooLarge(subject, column, field, number);
        return std::nullopt;
    }
    return number;
}

// One selected raw material as the feed-type walk needs it.
struct RawKey {
    int kods = 0;
    QString name; // NAIM as stored, for the inclusion limit messages
};

// Walks a cursor's view from its first record and puts it back where it stood.
template <typename Visit> void walk(store::Table &table, Visit visit)
{
    const int position = table.viewPosition();
    for (table.first(); !table.eof(); table.next())
        visit();
    if (position >= 0)
        table.moveTo(position);
}

QString numberField(const char *prefix, int key)
{
    return QLatin1String(prefix) + QString::number(key);
}

// Characteristics: names, units and the KEY naming their columns in kk and sir.
std::vector<int> loadCharacteristics(Selection &sel, store::Table &pit, QStringList &diagnostics)
{
    std::vector<int> keys{0};
    walk(pit, [&] {
        const int q = int(keys.size());
        if (q > kMaxChars) {
            keys.push_back(0);
            return;
        }
        keys.push_back(pit.integer(QStringLiteral("KEY")));
        sel.charName[q] = pit.text(QStringLiteral("PIT")).left(20);
        sel.charUnit[q] = pit.text(QStringLiteral("EDIZ")).left(12);
    });
    if (int(keys.size()) - 1 > kMaxChars) {
        diagnostics << QStringLiteral("Характеристик в списке больше ") + num(kMaxChars) +
                           QStringLiteral(".");
        keys.resize(kMaxChars + 1);
    }
    return keys;
}

std::vector<RawKey> selectedRawKeys(store::Table &sir)
{
    std::vector<RawKey> raws{RawKey{}};
    walk(sir, [&] {
        raws.push_back({sir.integer(QStringLiteral("kods")), sir.text(QStringLiteral("NAIM"))});
    });
    return raws;
}

struct InclusionSums {
    double least = 0;
    double most = 0;
    bool refused = false; // a limit was refused: the sums say nothing
};

// The inclusion limits of feed type p: one column per raw material with a limit.
InclusionSums loadInclusionLimits(Selection &sel, CalcWorkingValues &work, store::Table &norm,
                                  int kodkk, int p, const std::vector<RawKey> &raws,
                                  QStringList &diagnostics)
{
    norm.setFilter(QStringLiteral("kodkk=") + num(kodkk));
    norm.setFiltered(true);
    InclusionSums sums;
    const int rawTotal = std::min(int(raws.size()) - 1, kMaxRaws);
    for (int s = 1; s <= rawTotal; ++s) {
        if (!norm.findKey(raws[s].kods))
            continue;
        const QString limit = QStringLiteral("Норма ввода сырья № ") + num(s) +
                              QStringLiteral(" - ") + raws[s].name +
                              QStringLiteral(" -  в продукт № ") + feedRef(sel, p);
        const std::optional<double> least =
            readNumber(norm, QStringLiteral("min"), limit, QStringLiteral("минимум"), diagnostics);
        const std::optional<double> most =
            readNumber(norm, QStringLiteral("max"), limit, QStringLiteral("максимум"), diagnostics);
        if (!least || !most) {
            sums.refused = true;
            work.stockFigureRefused = true;
            continue;
        }
        const double low = *least;
        double high = *most;
        if (!(high > 0 || low > 0)) {
            work.minInclusion[p][s] = 0;
            continue;
        }
        if (sel.columnCount >= kMaxColumns)
            continue; // cannot happen within 40 × 50; kept from overrunning the record
        const int j = ++sel.columnCount;
        sel.columnFeed[j] = p;
        sel.columnRaw[j] = s;
        if (low > 0 && high == 0)
            high = 100;
        work.minInclusion[p][s] = low;
        work.maxInclusion[p][s] = high;
        if (high > 100)
            diagnostics << inclusionMaximumOver100(s, raws[s].name, sel, p);
        if (low > high)
            diagnostics << inclusionMinimumOverMaximum(s, raws[s].name, sel, p);
        sums.least += low;
        sums.most += high;
    }
    return sums;
}

void checkFeedTotals(const Selection &sel, std::optional<double> output, int p, InclusionSums sums,
                     QStringList &diagnostics)
{
    if (output && *output < 0.001)
        diagnostics << outputNotGiven(sel, p);
    if (sums.refused)
        return;
    if (sums.least > 100 + kPercentSumTolerance)
        diagnostics << minimumInclusionsOver100(sel, p);
    if (sums.most < 100 - kPercentSumTolerance)
        diagnostics << maximumInclusionsUnder100(sel, p);
}

// The price limits of feed type p brought down to raw-material cost. Near a tax of -100 %
// a usable price can become an unusable cost: refused as the figure it became. A maximum
// made from the minimum is not checked, as it is not in the table.
void convertPriceNorms(Selection &sel, int p, int key, double vat, bool madeMax,
                       const CalcParameters &parameters, QStringList &diagnostics)
{
    const QString subject = QStringLiteral("Продукт № ") + feedRef(sel, p);
    const QString norm = QStringLiteral(" требований по характеристике ") + sel.charName[1];
    double &low = sel.normMin[p][1];
    double &high = sel.normMax[p][1];
    low = rawCostOfPrice(low, vat, parameters);
    high = rawCostOfPrice(high, vat, parameters);
    if (!isUsableDataNumber(low))
        diagnostics << dataNumberTooLarge(subject, QStringLiteral("Минимум") + norm,
                                          numberField("MI", key), low);
    if (!madeMax && !isUsableDataNumber(high))
        diagnostics << dataNumberTooLarge(subject, QStringLiteral("Максимум") + norm,
                                          numberField("MA", key), high);
    if (high <= 0)
        diagnostics << messagePriceTooLow(sel, p);
}

// The nutrient norms of feed type p from the kk record under the cursor. vat is its tax
// rate, nullopt when refused: the price limits are then left as they stand.
void loadNorms(Selection &sel, store::Table &kk, int p, const std::vector<int> &keys,
               std::optional<double> vat, const CalcParameters &parameters,
               QStringList &diagnostics)
{
    const QString subject = QStringLiteral("Продукт № ") + feedRef(sel, p);
    for (int q = 1; q < int(keys.size()); ++q) {
        const QString norm = QStringLiteral(" требований по характеристике ") + sel.charName[q];
        const std::optional<double> least = readNumber(
            kk, numberField("MI", keys[q]), subject, QStringLiteral("Минимум") + norm, diagnostics);
        const std::optional<double> most =
            readNumber(kk, numberField("MA", keys[q]), subject, QStringLiteral("Максимум") + norm,
                       diagnostics);
        double &low = sel.normMin[p][q];
        double &high = sel.normMax[p][q];
        low = least.value_or(0);
        high = most.value_or(0);
        if (!least || !most)
            continue;
        const bool madeMax = high == 0;
        if (madeMax)
            high = 4 * low;
        if (low > high)
            diagnostics << requirementMinimumOverMaximum(sel, q, p);
        if (q == 1 && high != 0 && vat)
            convertPriceNorms(sel, p, keys[q], *vat, madeMax, parameters, diagnostics);
    }
}

// One feed type: its fields, columns, inclusion and nutrient checks.
void loadFeed(Selection &sel, CalcWorkingValues &work, const CalcTables &tables, int p,
              const std::vector<int> &keys, const std::vector<RawKey> &raws,
              const CalcParameters &parameters, QStringList &diagnostics)
{
    store::Table &kk = *tables.kk;
    sel.feedType[p] = kk.text(QStringLiteral("TIP")).left(10);
    sel.feedStandard[p] = kk.text(QStringLiteral("GOST")).left(10);
    sel.feedPurpose[p] = kk.text(QStringLiteral("NASN")).left(122);
    const QString subject = QStringLiteral("Продукт № ") + feedRef(sel, p);
    const std::optional<double> output =
        readNumber(kk, QStringLiteral("VES"), subject, QStringLiteral("Выработка"), diagnostics);
    std::optional<double> vat =
        readNumber(kk, QStringLiteral("NDS"), subject, QStringLiteral("%нал"), diagnostics);
    work.output[p] = output.value_or(0);
    sel.feedVat[p] = vat.value_or(0);
    // The price limits are divided by 100 + the tax: at -100 % or below they would vanish.
    if (vat && *vat <= -100) {
        diagnostics << subject + QStringLiteral(": %нал (поле NDS) равен ") +
                           store::fixedText(*vat, 0, 2).trimmed() +
                           QStringLiteral(", а должен быть больше -100.");
        vat.reset();
    }
    if (output)
        work.totalOutput += *output;
    else
        work.stockFigureRefused = true;
    if (kk.text(QStringLiteral("vib")) == QStringLiteral("+"))
        work.currentFeed = p;
    const InclusionSums sums = loadInclusionLimits(
        sel, work, *tables.norm, kk.integer(QStringLiteral("kodkk")), p, raws, diagnostics);
    loadNorms(sel, kk, p, keys, vat, parameters, diagnostics);
    checkFeedTotals(sel, output, p, sums, diagnostics);
}

void loadRaw(Selection &sel, CalcWorkingValues &work, store::Table &sir, int s,
             const std::vector<int> &keys, QStringList &diagnostics)
{
    sel.rawName[s] = sir.text(QStringLiteral("NAIM")).left(30);
    const QString subject = rawRef(sel, s);
    const std::optional<double> stock =
        readNumber(sir, QStringLiteral("VES"), subject, QStringLiteral("Наличие"), diagnostics);
    sel.rawStock[s] = !stock ? 0 : *stock == 0 ? kUnlimitedStock : *stock;
    sel.rawPremix[s] = !sir.text(QStringLiteral("PREM")).trimmed().isEmpty();
    sel.rawFullUse[s] = sir.text(QStringLiteral("vib")) == QStringLiteral("+");
    if (stock)
        work.totalStock += sel.rawStock[s];
    else
        work.stockFigureRefused = true;
    for (int q = 1; q < int(keys.size()); ++q)
        sel.rawContent[s][q] =
            readNumber(sir, numberField("MI", keys[q]), subject, sel.charName[q], diagnostics)
                .value_or(0);
}

QString messageRatioBound(const QString &bound, const QString &name, const Selection &sel, int p,
                          const QString &what)
{
    return bound + QStringLiteral(" соотношения ") + name + QStringLiteral("  в продукте № ") +
           feedRef(sel, p) + QStringLiteral(" -  ") + what;
}

// The characteristic q of the list (price excluded) whose KEY is key; 0 when none.
int listedCharacteristic(const Selection &sel, const std::vector<int> &keys, int key)
{
    for (int q = 2; q <= sel.charCount && q < int(keys.size()); ++q)
        if (keys[q] == key)
            return q;
    return 0;
}

// One record of ratio.dbf under the cursor, of feed type p: the ratio in force, or
// nothing with its problems on the list.
std::optional<Ratio> readRatio(const Selection &sel, const store::Table &ratio, int p,
                               const std::vector<int> &keys, QStringList &diagnostics)
{
    const int numeratorKey = ratio.integer(QStringLiteral("K1"));
    const int denominatorKey = ratio.integer(QStringLiteral("K2"));
    Ratio r{p, listedCharacteristic(sel, keys, numeratorKey),
            listedCharacteristic(sel, keys, denominatorKey), 0, 0};
    if (r.numerator == 0 || r.denominator == 0) {
        diagnostics << QStringLiteral("Соотношение характеристик с ключами ") + num(numeratorKey) +
                           QStringLiteral(" и ") + num(denominatorKey) +
                           QStringLiteral(" в продукте № ") + feedRef(sel, p) +
                           QStringLiteral(" -  характеристики с ключом ") +
                           num(r.numerator == 0 ? numeratorKey : denominatorKey) +
                           QStringLiteral(" нет в списке.");
        return std::nullopt;
    }
    const QString name = sel.ratioName(r);
    const QString subject =
        QStringLiteral("Соотношение ") + name + QStringLiteral(" в продукте № ") + feedRef(sel, p);
    if (r.numerator == r.denominator) { // always 1: bounds either hold or never can
        diagnostics << subject +
                           QStringLiteral(" -  числитель и знаменатель - одна характеристика.");
        return std::nullopt;
    }
    const std::optional<double> least =
        readNumber(ratio, QStringLiteral("RMIN"), subject, QStringLiteral("минимум"), diagnostics);
    const std::optional<double> most =
        readNumber(ratio, QStringLiteral("RMAX"), subject, QStringLiteral("максимум"), diagnostics);
    if (!least || !most)
        return std::nullopt;
    r.minimum = *least;
    r.maximum = *most;
    const int before = int(diagnostics.size());
    if (r.minimum < 0)
        diagnostics << messageRatioBound(QStringLiteral("Минимум"), name, sel, p,
                                         QStringLiteral("меньше 0."));
    if (r.maximum < 0)
        diagnostics << messageRatioBound(QStringLiteral("Максимум"), name, sel, p,
                                         QStringLiteral("меньше 0."));
    if (r.maximum > 0 && r.minimum > r.maximum)
        diagnostics << messageRatioBound(QStringLiteral("Минимум"), name, sel, p,
                                         QStringLiteral("больше максимума."));
    if (int(diagnostics.size()) != before)
        return std::nullopt;
    return r;
}

// The ratios in force (ON = "+") of the selected feed types, whose kodkk are feedKeys[p].
void loadRatios(Selection &sel, const store::Table *cursor, const std::vector<int> &keys,
                const std::vector<int> &feedKeys, QStringList &diagnostics)
{
    sel.ratios.clear();
    if (!cursor || !QFileInfo::exists(cursor->fileName()))
        return;
    store::Table ratio;
    ratio.setFileName(cursor->fileName());
    ratio.open();
    std::vector<int> count(std::size_t(sel.feedCount) + 1, 0);
    for (ratio.first(); !ratio.eof(); ratio.next()) {
        if (ratio.text(QStringLiteral("ON")) != QLatin1String("+"))
            continue;
        const auto at =
            std::find(feedKeys.begin() + 1, feedKeys.end(), ratio.integer(QStringLiteral("KODKK")));
        const int p = int(at - feedKeys.begin());
        if (at == feedKeys.end() || p > sel.feedCount)
            continue;
        if (++count[std::size_t(p)] == kMaxRatiosPerFeed + 1)
            diagnostics << QStringLiteral("Соотношений в продукте № ") + feedRef(sel, p) +
                               QStringLiteral(" -  больше ") + num(kMaxRatiosPerFeed) +
                               QStringLiteral(".");
        if (count[std::size_t(p)] > kMaxRatiosPerFeed)
            continue;
        if (const std::optional<Ratio> r = readRatio(sel, ratio, p, keys, diagnostics))
            sel.ratios.push_back(*r);
    }
    ratio.close();
    std::stable_sort(sel.ratios.begin(), sel.ratios.end(),
                     [](const Ratio &a, const Ratio &b) { return a.feed < b.feed; });
}

void clearRun(Selection &sel, CalcWorkingValues &work)
{
    work = CalcWorkingValues();
    sel.feedCount = 0;
    sel.rawCount = 0;
    sel.columnCount = 0;
    for (auto *table : {&sel.normMin, &sel.normMax, &sel.rawContent})
        for (auto &line : *table)
            line.fill(0.0);
}

int charCountOf(const CalcTables &tables, int walked)
{
    if (!tables.order)
        return walked;
    store::Table &order = *tables.order;
    const bool wasOpen = order.isOpen();
    if (!wasOpen)
        order.open();
    order.first();
    const int count = order.eof() ? walked : order.integer(QStringLiteral("pit"));
    if (!wasOpen)
        order.close();
    return std::clamp(count, 0, kMaxChars);
}

// Opens norm with its index "si" (kods) for the load; closeNorm undoes what it did.
bool openNorm(store::Table &norm)
{
    const bool wasOpen = norm.isOpen();
    if (!wasOpen)
        norm.open();
    bool hasIndex = false;
    for (const store::IndexDef &index : norm.indexes())
        hasIndex = hasIndex || index.name.compare(QStringLiteral("si"), Qt::CaseInsensitive) == 0;
    if (!hasIndex)
        norm.defineIndex({QStringLiteral("si"), QStringLiteral("kods")});
    norm.setIndexName(QStringLiteral("si"));
    return wasOpen;
}

void closeNorm(store::Table &norm, bool wasOpen)
{
    if (!wasOpen)
        norm.close();
}

} // namespace

CalcParameters CalcParameters::fromSettings(const settings::Settings &values)
{
    CalcParameters p;
    p.lossNorm = values.lossNorm;
    p.productionCosts = values.productionCosts;
    p.profitability = values.profitability;
    p.granulationSurcharge = values.granulationSurcharge;
    return p;
}

QStringList CalcParameters::problems() const
{
    const std::pair<int, double> lines[] = {
        {14, lossNorm}, {15, productionCosts}, {16, profitability}, {20, granulationSurcharge}};
    QStringList result;
    for (const auto &[line, value] : lines) {
        const QString problem = settings::numberRangeProblem(line, value);
        if (!problem.isEmpty())
            result << problem;
    }
    return result;
}

CalcWorkingValues::CalcWorkingValues()
    : output(kMaxFeeds + 1), savedOutput(kMaxFeeds + 1), minInclusion(kMaxFeeds + 1),
      maxInclusion(kMaxFeeds + 1)
{
    for (auto *table : {&minInclusion, &maxInclusion})
        for (auto &line : *table)
            line.fill(0.0);
}

double rawCostOfPrice(double price, double vat, const CalcParameters &parameters)
{
    double v = price * 100 / (100 + vat);
    v = (v - parameters.granulationSurcharge) * 100 / (100 + parameters.profitability);
    v = (v - parameters.productionCosts) * 100 / (100 + parameters.lossNorm);
    return v < 0 ? 0 : v;
}

double priceOfRawCost(double cost, double vat, const CalcParameters &parameters)
{
    double v = cost * (100 + parameters.lossNorm) / 100 + parameters.productionCosts;
    v = v * (100 + parameters.profitability) / 100 + parameters.granulationSurcharge;
    return v * (100 + vat) / 100;
}

double rawCostPerPriceRouble(double vat, const CalcParameters &parameters)
{
    return 100 / (100 + vat) * 100 / (100 + parameters.profitability) * 100 /
           (100 + parameters.lossNorm);
}

void loadCalculationData(Selection &sel, CalcWorkingValues &work, const CalcTables &tables,
                         const CalcParameters &parameters, QStringList &diagnostics)
{
    clearRun(sel, work);
    diagnostics << parameters.problems();
    const std::vector<int> keys = loadCharacteristics(sel, *tables.pit, diagnostics);
    const bool normWasOpen = openNorm(*tables.norm);
    sel.charCount = std::min(charCountOf(tables, int(keys.size()) - 1), int(keys.size()) - 1);
    const std::vector<RawKey> raws = selectedRawKeys(*tables.sir);
    std::vector<int> feedKeys{0};
    int p = 0;
    walk(*tables.kk, [&] {
        if (++p > kMaxFeeds)
            return;
        feedKeys.push_back(tables.kk->integer(QStringLiteral("kodkk")));
        loadFeed(sel, work, tables, p, keys, raws, parameters, diagnostics);
    });
    if (p > kMaxFeeds)
        diagnostics << QStringLiteral("Продукции отобрано больше ") + num(kMaxFeeds) +
                           QStringLiteral(".");
    sel.feedCount = std::min(p, kMaxFeeds);
    if (sel.feedCount == 0)
        diagnostics << QStringLiteral("Продукция не отобрана.");
    int s = 0;
    walk(*tables.sir, [&] {
        if (++s <= kMaxRaws)
            loadRaw(sel, work, *tables.sir, s, keys, diagnostics);
    });
    if (s > kMaxRaws)
        diagnostics << QStringLiteral("Сырья отобрано больше ") + num(kMaxRaws) +
                           QStringLiteral(".");
    sel.rawCount = std::min(s, kMaxRaws);
    if (sel.rawCount == 0)
        diagnostics << QStringLiteral("Сырье не отобрано.");
    closeNorm(*tables.norm, normWasOpen);
    loadRatios(sel, tables.ratio, keys, feedKeys, diagnostics);
    work.surplus = work.totalStock - work.totalOutput;
    work.surplusRatio = work.totalOutput < 0.001 ? 0 : work.surplus / work.totalOutput;
}

void checkAttempt(Selection &sel, const CalcWorkingValues &work, const CalcParameters &parameters,
                  bool costMode, QStringList &diagnostics)
{
    for (int p = 1; p <= sel.feedCount; ++p)
        sel.feedOutput[p] = work.output[p];
    for (int j = 1; j <= sel.columnCount; ++j) {
        sel.columnLower[j] = work.minInclusion[sel.columnFeed[j]][sel.columnRaw[j]];
        sel.columnUpper[j] = work.maxInclusion[sel.columnFeed[j]][sel.columnRaw[j]];
    }
    if (work.stockFigureRefused)
        return; // every stock message would be computed from the refused figure
    const double lossFactor = (parameters.lossNorm + 100) / 100;
    for (int s = 1; s <= sel.rawCount; ++s) {
        double least = 0;
        double most = 0;
        for (int p = 1; p <= sel.feedCount; ++p) {
            least += work.minInclusion[p][s] * sel.feedOutput[p] / 100;
            most += work.maxInclusion[p][s] * sel.feedOutput[p] / 100;
        }
        const double need = lossFactor * least - sel.rawStock[s];
        if (need > 0)
            diagnostics << stockShortOfMinimums(sel, s, need);
        if (costMode && sel.rawFullUse[s]) {
            const double room = lossFactor * most - sel.rawStock[s];
            if (room < 0)
                diagnostics << stockOverMaximums(sel, s, -room);
        }
    }
    const double usable = work.totalStock * 100 / (parameters.lossNorm + 100);
    if (usable < work.totalOutput)
        diagnostics << stockShortOfOutput(work.totalOutput - usable);
}

} // namespace calc

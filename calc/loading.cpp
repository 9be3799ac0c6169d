#include "calc/loading.h"

#include "calc/datanumber.h"
#include "settings/settings.h"
#include "store/numbertext.h"
#include "store/table.h"
#include "store/unreadablenumber.h"

#include <cmath>

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
QString feedRef(const ProblemRecord &rec, int p)
{
    return num(p) + QStringLiteral(" - ") + rec.feedType[p] + QStringLiteral("  ") +
           rec.feedPurpose[p];
}

QString messageM1(int s, const QString &name, const ProblemRecord &rec, int p)
{
    return QStringLiteral("Максимум норм ввода сырья № ") + num(s) + QStringLiteral(" - ") + name +
           QStringLiteral(" -  в продукт № ") + feedRef(rec, p) +
           QStringLiteral(" -  больше 100%.");
}

QString messageM2(int s, const QString &name, const ProblemRecord &rec, int p)
{
    return QStringLiteral("Минимум норм ввода сырья № ") + num(s) + QStringLiteral(" - ") + name +
           QStringLiteral(" -  в продукт № ") + feedRef(rec, p) +
           QStringLiteral(" -  больше максимума.");
}

QString messageM3(const ProblemRecord &rec, int q, int p)
{
    return QStringLiteral("Минимум требований по характеристике ") + rec.charName[q] +
           QStringLiteral("  в продукте № ") + feedRef(rec, p) +
           QStringLiteral(" -  больше максимума.");
}

// A maximum price that leaves no money for raw materials once tax, surcharge, profit,
// costs and losses are taken out: reported rather than turned into "no price limit".
QString messagePriceTooLow(const ProblemRecord &rec, int p)
{
    return QStringLiteral("Максимальная цена продукта № ") + feedRef(rec, p) +
           QStringLiteral(" -  не покрывает налог, надбавку за гранулирование,"
                          " рентабельность, издержки и потери.");
}

QString messageM4(const ProblemRecord &rec, int p)
{
    return QStringLiteral("Требуемый вес продукта № ") + feedRef(rec, p) +
           QStringLiteral(" - не указан.");
}

QString messageM5(const ProblemRecord &rec, int p)
{
    return QStringLiteral("Сумма минимальных норм ввода для продукта № ") + feedRef(rec, p) +
           QStringLiteral(" -  больше 100%.");
}

QString messageM6(const ProblemRecord &rec, int p)
{
    return QStringLiteral("Сумма максимальных норм ввода для продукта № ") + feedRef(rec, p) +
           QStringLiteral(" -  меньше 100%.");
}

QString messageM7(const ProblemRecord &rec, int s, double need)
{
    return QStringLiteral("Сырья № ") + num(s) + QStringLiteral("  ") + rec.rawName[s] +
           QStringLiteral(" - мало даже для минимальных вложений.  Добавьте  ") + amountText(need) +
           QStringLiteral(" Т.");
}

QString messageM8(const ProblemRecord &rec, int s, double excess)
{
    return QStringLiteral("Сырья № ") + num(s) + QStringLiteral("  ") + rec.rawName[s] +
           QStringLiteral(
               " - слишком много, чтобы сработать даже для максимальных вложений.  Излишек ") +
           amountText(excess) + QStringLiteral(" Т.");
}

QString messageM9(double shortfall)
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

QString rawRef(const ProblemRecord &rec, int s)
{
    return QStringLiteral("Сырье № ") + num(s) + QStringLiteral("  ") + rec.rawName[s];
}

// A number the load takes from the record under the cursor; one that cannot be read
// goes on the error list and counts as 0, since the run stops on the list anyway.
double readNumber(const store::Table &table, const QString &field, const QString &subject,
                  const QString &column, QStringList &diagnostics)
{
    const QVariant value = table.value(field);
    if (!store::isUnreadableNumber(value))
        return table.number(field);
    diagnostics << messageUnreadable(subject, column, store::unreadableText(value));
    return 0;
}

// One selected raw material as the feed-type walk needs it.
struct RawKey {
    int kods = 0;
    QString name; // NAIM as stored, for M1 and M2
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
std::vector<int> loadCharacteristics(ProblemRecord &rec, store::Table &pit,
                                     QStringList &diagnostics)
{
    std::vector<int> keys{0};
    walk(pit, [&] {
        const int q = int(keys.size());
        if (q > kMaxChars) {
            keys.push_back(0);
            return;
        }
        keys.push_back(pit.integer(QStringLiteral("KEY")));
        rec.charName[q] = pit.text(QStringLiteral("PIT")).left(20);
        rec.charUnit[q] = pit.text(QStringLiteral("EDIZ")).left(12);
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
};

// The inclusion limits of feed type p: one column per raw material with a limit.
InclusionSums loadInclusionLimits(ProblemRecord &rec, CalcWorkingValues &work, store::Table &norm,
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
                              QStringLiteral(" -  в продукт № ") + feedRef(rec, p);
        const double low =
            readNumber(norm, QStringLiteral("min"), limit, QStringLiteral("минимум"), diagnostics);
        double high =
            readNumber(norm, QStringLiteral("max"), limit, QStringLiteral("максимум"), diagnostics);
        if (!(high > 0 || low > 0)) {
            work.minInclusion[p][s] = 0;
            continue;
        }
        if (rec.columnCount >= kMaxColumns)
            continue; // cannot happen within 40 × 50; kept from overrunning the record
        const int j = ++rec.columnCount;
        rec.columnFeed[j] = p;
        rec.columnRaw[j] = s;
        if (low > 0 && high == 0)
            high = 100;
        work.minInclusion[p][s] = low;
        work.maxInclusion[p][s] = high;
        if (high > 100)
            diagnostics << messageM1(s, raws[s].name, rec, p);
        if (low > high)
            diagnostics << messageM2(s, raws[s].name, rec, p);
        sums.least += low;
        sums.most += high;
    }
    return sums;
}

void checkFeedTotals(const ProblemRecord &rec, const CalcWorkingValues &work, int p,
                     InclusionSums sums, QStringList &diagnostics)
{
    if (work.output[p] < 0.001)
        diagnostics << messageM4(rec, p);
    if (sums.least > 100 + kPercentSumTolerance)
        diagnostics << messageM5(rec, p);
    if (sums.most < 100 - kPercentSumTolerance)
        diagnostics << messageM6(rec, p);
}

// The nutrient norms of feed type p from the kk record under the cursor.
void loadNorms(ProblemRecord &rec, store::Table &kk, int p, const std::vector<int> &keys,
               const CalcParameters &parameters, QStringList &diagnostics)
{
    for (int q = 1; q < int(keys.size()); ++q) {
        double &low = rec.normMin[p][q];
        double &high = rec.normMax[p][q];
        const QString subject = QStringLiteral("Продукт № ") + feedRef(rec, p);
        const QString norm = QStringLiteral(" требований по характеристике ") + rec.charName[q];
        low = readNumber(kk, numberField("MI", keys[q]), subject, QStringLiteral("Минимум") + norm,
                         diagnostics);
        high = readNumber(kk, numberField("MA", keys[q]), subject,
                          QStringLiteral("Максимум") + norm, diagnostics);
        if (high == 0)
            high = 4 * low;
        if (low > high)
            diagnostics << messageM3(rec, q, p);
        if (q == 1 && high != 0 && rec.feedVat[p] > -100) { // else refused in loadFeed
            low = rawCostOfPrice(low, rec.feedVat[p], parameters);
            high = rawCostOfPrice(high, rec.feedVat[p], parameters);
            if (high <= 0)
                diagnostics << messagePriceTooLow(rec, p);
        }
    }
}

// One feed type: its fields, columns, inclusion and nutrient checks.
void loadFeed(ProblemRecord &rec, CalcWorkingValues &work, const CalcTables &tables, int p,
              const std::vector<int> &keys, const std::vector<RawKey> &raws,
              const CalcParameters &parameters, QStringList &diagnostics)
{
    store::Table &kk = *tables.kk;
    rec.feedType[p] = kk.text(QStringLiteral("TIP")).left(10);
    rec.feedStandard[p] = kk.text(QStringLiteral("GOST")).left(10);
    rec.feedPurpose[p] = kk.text(QStringLiteral("NASN")).left(122);
    const QString subject = QStringLiteral("Продукт № ") + feedRef(rec, p);
    work.output[p] =
        readNumber(kk, QStringLiteral("VES"), subject, QStringLiteral("Выработка"), diagnostics);
    rec.feedVat[p] =
        readNumber(kk, QStringLiteral("NDS"), subject, QStringLiteral("%нал"), diagnostics);
    // The price limits are divided by 100 + the tax: at -100 % or below they would vanish.
    if (rec.feedVat[p] <= -100)
        diagnostics << subject + QStringLiteral(": %нал (поле NDS) равен ") +
                           store::fixedText(rec.feedVat[p], 0, 2).trimmed() +
                           QStringLiteral(", а должен быть больше -100.");
    rec.totalOutput += work.output[p];
    if (kk.text(QStringLiteral("vib")) == QStringLiteral("+"))
        work.currentFeed = p;
    const InclusionSums sums = loadInclusionLimits(
        rec, work, *tables.norm, kk.integer(QStringLiteral("kodkk")), p, raws, diagnostics);
    loadNorms(rec, kk, p, keys, parameters, diagnostics);
    checkFeedTotals(rec, work, p, sums, diagnostics);
}

void loadRaw(ProblemRecord &rec, CalcWorkingValues &work, store::Table &sir, int s,
             const std::vector<int> &keys, QStringList &diagnostics)
{
    rec.rawName[s] = sir.text(QStringLiteral("NAIM")).left(30);
    const QString subject = rawRef(rec, s);
    const double stock =
        readNumber(sir, QStringLiteral("VES"), subject, QStringLiteral("Наличие"), diagnostics);
    rec.rawStock[s] = stock == 0 ? kUnlimitedStock : stock;
    rec.rawPremix[s] = !sir.text(QStringLiteral("PREM")).trimmed().isEmpty();
    rec.rawFullUse[s] = sir.text(QStringLiteral("vib")) == QStringLiteral("+");
    work.totalStock += rec.rawStock[s];
    for (int q = 1; q < int(keys.size()); ++q)
        rec.rawContent[s][q] =
            readNumber(sir, numberField("MI", keys[q]), subject, rec.charName[q], diagnostics);
}

void clearRun(ProblemRecord &rec, CalcWorkingValues &work)
{
    work = CalcWorkingValues();
    rec.totalOutput = 0;
    rec.feedCount = 0;
    rec.rawCount = 0;
    rec.columnCount = 0;
    rec.rowCount = 0;
    for (auto *table : {&rec.normMin, &rec.normMax, &rec.rawContent})
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

// Every number the load took must be usable (calc/datanumber.h); one that is not goes on
// the list with the feed type or raw material and the field it came from.
class DataNumberCheck final
{
public:
    DataNumberCheck(const ProblemRecord &rec, const std::vector<int> &keys, QStringList &list)
        : rec_(rec), keys_(keys), list_(list)
    {
    }

    void feed(const CalcWorkingValues &work, int p)
    {
        const QString subject = QStringLiteral("Продукт № ") + feedRef(rec_, p);
        check(subject, QStringLiteral("Выработка"), QStringLiteral("VES"), work.output[p]);
        check(subject, QStringLiteral("%нал"), QStringLiteral("NDS"), rec_.feedVat[p]);
        for (int q = 1; q < int(keys_.size()); ++q) {
            const QString norm =
                QStringLiteral(" требований по характеристике ") + rec_.charName[q];
            const double low = rec_.normMin[p][q];
            const double high = rec_.normMax[p][q];
            check(subject, QStringLiteral("Минимум") + norm, numberField("MI", keys_[q]), low);
            if (high != 4 * low) // not the maximum the load made of the minimum
                check(subject, QStringLiteral("Максимум") + norm, numberField("MA", keys_[q]),
                      high);
        }
    }

    void limits(const CalcWorkingValues &work, int j)
    {
        const int p = rec_.columnFeed[j];
        const int s = rec_.columnRaw[j];
        const QString subject = QStringLiteral("Норма ввода сырья № ") + num(s) +
                                QStringLiteral(" - ") + rec_.rawName[s] +
                                QStringLiteral(" -  в продукт № ") + feedRef(rec_, p);
        check(subject, QStringLiteral("минимум"), QStringLiteral("min"), work.minInclusion[p][s]);
        check(subject, QStringLiteral("максимум"), QStringLiteral("max"), work.maxInclusion[p][s]);
    }

    void raw(int s)
    {
        const QString subject =
            QStringLiteral("Сырье № ") + num(s) + QStringLiteral("  ") + rec_.rawName[s];
        check(subject, QStringLiteral("Наличие"), QStringLiteral("VES"), rec_.rawStock[s]);
        for (int q = 1; q < int(keys_.size()); ++q)
            check(subject, rec_.charName[q], numberField("MI", keys_[q]), rec_.rawContent[s][q]);
    }

private:
    void check(const QString &subject, const QString &what, const QString &field, double value)
    {
        if (!isUsableDataNumber(value))
            list_ << dataNumberTooLarge(subject, what, field, value);
    }

    const ProblemRecord &rec_;
    const std::vector<int> &keys_;
    QStringList &list_;
};

void checkDataNumbers(const ProblemRecord &rec, const CalcWorkingValues &work,
                      const std::vector<int> &keys, QStringList &diagnostics)
{
    DataNumberCheck check(rec, keys, diagnostics);
    for (int p = 1; p <= rec.feedCount; ++p)
        check.feed(work, p);
    for (int j = 1; j <= rec.columnCount; ++j)
        check.limits(work, j);
    for (int s = 1; s <= rec.rawCount; ++s)
        check.raw(s);
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

void loadCalculationData(ProblemRecord &rec, CalcWorkingValues &work, const CalcTables &tables,
                         const CalcParameters &parameters, QStringList &diagnostics)
{
    clearRun(rec, work);
    diagnostics << parameters.problems();
    const std::vector<int> keys = loadCharacteristics(rec, *tables.pit, diagnostics);
    const bool normWasOpen = openNorm(*tables.norm);
    rec.charCount = std::min(charCountOf(tables, int(keys.size()) - 1), int(keys.size()) - 1);
    const std::vector<RawKey> raws = selectedRawKeys(*tables.sir);
    int p = 0;
    walk(*tables.kk, [&] {
        if (++p <= kMaxFeeds)
            loadFeed(rec, work, tables, p, keys, raws, parameters, diagnostics);
    });
    if (p > kMaxFeeds)
        diagnostics << QStringLiteral("Продукции отобрано больше ") + num(kMaxFeeds) +
                           QStringLiteral(".");
    rec.feedCount = std::min(p, kMaxFeeds);
    if (rec.feedCount == 0)
        diagnostics << QStringLiteral("Продукция не отобрана.");
    int s = 0;
    walk(*tables.sir, [&] {
        if (++s <= kMaxRaws)
            loadRaw(rec, work, *tables.sir, s, keys, diagnostics);
    });
    if (s > kMaxRaws)
        diagnostics << QStringLiteral("Сырья отобрано больше ") + num(kMaxRaws) +
                           QStringLiteral(".");
    rec.rawCount = std::min(s, kMaxRaws);
    if (rec.rawCount == 0)
        diagnostics << QStringLiteral("Сырье не отобрано.");
    closeNorm(*tables.norm, normWasOpen);
    work.surplus = work.totalStock - rec.totalOutput;
    work.surplusRatio = rec.totalOutput < 0.001 ? 0 : work.surplus / rec.totalOutput;
    checkDataNumbers(rec, work, keys, diagnostics);
}

void checkAttempt(ProblemRecord &rec, const CalcWorkingValues &work,
                  const CalcParameters &parameters, bool costMode, QStringList &diagnostics)
{
    for (int p = 1; p <= rec.feedCount; ++p)
        rec.feedOutput[p] = work.output[p];
    for (int j = 1; j <= rec.columnCount; ++j) {
        rec.columnLower[j] = work.minInclusion[rec.columnFeed[j]][rec.columnRaw[j]];
        rec.columnUpper[j] = work.maxInclusion[rec.columnFeed[j]][rec.columnRaw[j]];
    }
    const double lossFactor = (parameters.lossNorm + 100) / 100;
    for (int s = 1; s <= rec.rawCount; ++s) {
        double least = 0;
        double most = 0;
        for (int p = 1; p <= rec.feedCount; ++p) {
            least += work.minInclusion[p][s] * rec.feedOutput[p] / 100;
            most += work.maxInclusion[p][s] * rec.feedOutput[p] / 100;
        }
        const double need = lossFactor * least - rec.rawStock[s];
        if (need > 0)
            diagnostics << messageM7(rec, s, need);
        if (costMode && rec.rawFullUse[s]) {
            const double room = lossFactor * most - rec.rawStock[s];
            if (room < 0)
                diagnostics << messageM8(rec, s, -room);
        }
    }
    const double usable = work.totalStock * 100 / (parameters.lossNorm + 100);
    if (usable < rec.totalOutput)
        diagnostics << messageM9(rec.totalOutput - usable);
}

} // namespace calc

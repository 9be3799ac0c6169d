#include "calc/run.h"

#include "calc/assembly.h"
#include "calc/relaxation.h"
#include "calc/rounding.h"
#include "store/numbertext.h"
#include "store/table.h"

#include <algorithm>
#include <cmath>

namespace calc
{

namespace
{

constexpr char16_t kNoAnalysisMessage[] =
    u"Расчет не получился. Анализ невозможен. Проверьте исходные данные...";

// The observer's message boxes, also kept in the result.
class MessageLog final
{
public:
    MessageLog(RunObserver &observer, QStringList &log) : observer_(observer), log_(log) {}
    void show(const QString &text)
    {
        log_.append(text);
        observer_.showMessage(text);
    }

private:
    RunObserver &observer_;
    QStringList &log_;
};

// One run: the attempt loop and the decisions between attempts.
class CalculationRun final
{
    Q_DISABLE_COPY_MOVE(CalculationRun)

public:
    CalculationRun(LoadedData &&data, const RunOptions &options, RunObserver &observer,
                   RunResult &result)
        : options_(options), solverLimits_(options.solverLimits), observer_(observer),
          result_(result), selection_(result.selection), messages_(observer, result.messages),
          relaxation_(result.selection)
    {
        selection_ = std::move(data.selection);
        result_.working = std::move(data.working);
        result_.dataError = std::move(data.dataError);
        diagnostics_ = std::move(data.diagnostics);
        solverLimits_.stop = options.stop;
    }

    void run();

private:
    bool outputMode() const { return options_.mode != CalcMode::Cost; }
    bool costMode() const { return options_.mode == CalcMode::Cost; }
    const RowLayout &layout() const { return assembled_->layout; }
    int status() const { return solution_.failing.label(); }
    bool stopped() const { return options_.stop && options_.stop->load(); }
    bool loaded();
    void endStopped();
    void attemptLoop(OutputSearch &search);
    // Solves the assembled programme; the full solver on the first attempt and
    // whenever the search says so.
    void solve(bool full);
    // The run ends with the message of a programme the solver could not take.
    bool endsWithError(lp::SolveError error);
    // What follows a solve; false when the run ends.
    bool decide(OutputSearch &search);
    bool relaxAfterFailure();
    void present();
    void presentStockMessage(int row);
    void keepRelaxation();

    const RunOptions &options_;
    lp::SolverLimits solverLimits_; // the options', with the rules the run takes
    RunObserver &observer_;
    RunResult &result_;
    Selection &selection_;
    MessageLog messages_;
    Relaxation relaxation_;
    QStringList diagnostics_;
    std::optional<AssembledProgramme> assembled_; // of the attempt in hand
    lp::Solution solution_;                       // of its solve
    lp::FinalTableau finalTableau_; // of the last solve, when it was a full one and optimal
    bool firstAttempt_ = true;
    bool ended_ = false; // the run ended before the presentation (errors, overflow)
};

void CalculationRun::run()
{
    if (!loaded())
        return;
    if (outputMode()) {
        observer_.showAttemptProgress(attemptProgressMaximum(result_.working.surplus));
        observer_.setAttemptProgress(0);
    }
    OutputSearch search(options_.mode, selection_.feedCount, result_.working);
    attemptLoop(search);
    if (outputMode())
        observer_.hideAttemptProgress();
    keepRelaxation();
    if (!ended_)
        present();
}

bool CalculationRun::loaded()
{
    if (options_.rulesFromEnvironment) {
        if (const QString error = rulesFromEnvironment(&solverLimits_.rules); !error.isEmpty()) {
            result_.diagnostics = {error};
            result_.outcome = RunOutcome::Errors;
            return false;
        }
    }
    if (result_.dataError.isEmpty())
        return true;
    result_.diagnostics = {result_.dataError};
    result_.outcome = RunOutcome::Errors;
    return false;
}

void CalculationRun::endStopped()
{
    result_.outcome = RunOutcome::Stopped;
    result_.recipes = {};
    ended_ = true;
}

void CalculationRun::attemptLoop(OutputSearch &search)
{
    for (;;) {
        if (stopped())
            return endStopped();
        ++result_.attempts;
        if (outputMode())
            observer_.setAttemptProgress(result_.attempts);
        checkAttempt(selection_, result_.working, options_.parameters, costMode(), diagnostics_);
        if (!diagnostics_.isEmpty()) {
            if (firstAttempt_) {
                result_.outcome = RunOutcome::Errors;
                result_.diagnostics = diagnostics_;
                ended_ = true;
                return;
            }
            search.shrink();
            diagnostics_.clear();
            continue;
        }
        const bool full = search.nextIsFull();
        assembled_ =
            assembleProgramme(selection_, full, relaxation_.shares(), options_.parameters.lossNorm);
        if (!assembled_) {
            endsWithError(lp::SolveError::Overflow); // too large for the solver
            return;
        }
        if (firstAttempt_ && options_.firstProgramme)
            options_.firstProgramme(selection_, assembled_->programme);
        solve(firstAttempt_ || full);
        if (endsWithError(solution_.error) || !decide(search))
            return;
    }
}

bool CalculationRun::endsWithError(lp::SolveError error)
{
    switch (error) {
    case lp::SolveError::None:
        return false;
    case lp::SolveError::Overflow:
        result_.outcome = RunOutcome::Overflow;
        result_.solveStatus = 0;
        messages_.show(QString::fromUtf16(kOverflowMessage));
        break;
    case lp::SolveError::LostAccuracy:
        result_.outcome = RunOutcome::LostAccuracy;
        messages_.show(QString::fromUtf16(kLostAccuracyMessage));
        break;
    case lp::SolveError::Stopped:
        endStopped();
        break;
    }
    ended_ = true;
    return true;
}

void CalculationRun::solve(bool full)
{
    const lp::Programme &programme = assembled_->programme;
    if (!full) {
        finalTableau_.clear();
        solution_ = lp::checkFeasibility(programme, solverLimits_);
        result_.solver += solution_.stats;
        return;
    }
    observer_.showSolverProgress(solverProgressMinimum(selection_, result_.working.totalOutput), 0);
    solution_ = lp::solve(programme, &observer_, &finalTableau_, solverLimits_);
    result_.solver += solution_.stats;
    observer_.hideSolverProgress();
    if (solution_.error != lp::SolveError::Stopped) // a stopped solve has no values
        result_.objective = rawMaterialCost(selection_, solution_);
}

bool CalculationRun::decide(OutputSearch &search)
{
    if (costMode() && status() != 0)
        return relaxAfterFailure();
    if (status() != 0 && firstAttempt_)
        return false;
    firstAttempt_ = false;
    if (search.isFinal() || costMode())
        return false;
    if (status() == 0)
        return search.grow();
    search.shrink();
    return true;
}

bool CalculationRun::relaxAfterFailure()
{
    if (status() > 0)
        return false;
    const Relaxation::Step step =
        relaxation_.relax(layout(), solution_, options_.uniformRelax, options_.parameters.lossNorm);
    if (!step.message.isEmpty())
        messages_.show(step.message);
    return step.again;
}

void CalculationRun::present()
{
    const int status = this->status();
    result_.solveStatus = status;
    if (status > 0) {
        result_.outcome = RunOutcome::NoAnalysis;
        messages_.show(QString::fromUtf16(kNoAnalysisMessage));
    } else if (status < 0 && layout().isStockRow(-status)) {
        presentStockMessage(-status);
    } else if (status < 0) {
        result_.outcome = RunOutcome::FailureAnalysis;
        result_.analysis = failureAnalysis(selection_, layout(), solution_, result_.working,
                                           -status, options_.parameters.lossNorm);
    } else {
        result_.sensitivity = sensitivityOf(finalTableau_, selection_, layout(),
                                            relaxation_.shares(), options_.parameters);
        finalTableau_.clear();
        result_.recipes =
            roundRecipes(selection_, layout(), solution_, options_.parameters.lossNorm);
        result_.outcome = RunOutcome::Solution;
        result_.summary = solutionSummary(selection_, result_.recipes);
    }
}

void CalculationRun::presentStockMessage(int row)
{
    result_.outcome = RunOutcome::StockMessage;
    const double amount =
        stockAmount(solution_.activity(lp::RowIndex(row)), options_.parameters.lossNorm);
    messages_.show(stockMessageHead(selection_, layout().owner(row)) +
                   QStringLiteral("Подсчитано до ") + store::fixedText(amount, 7, 0) +
                   QStringLiteral(" +/- 1..."));
}

void CalculationRun::keepRelaxation()
{
    const int rows = assembled_ ? layout().rowCount() : 0;
    for (int i = 1; i <= rows; ++i)
        if (const double share = relaxation_.shares()[std::size_t(i)]; share != 0)
            result_.relaxation.push_back({i, share});
}

} // namespace

QString noCurrentProductMessage()
{
    return QStringLiteral("Не выбран текущий продукт. Для режима \"Максимизировать текущий "
                          "продукт\" отметьте продукт: установите курсор на его строку и "
                          "выберите режим мышью.");
}

QString rulesFromEnvironment(lp::Rules *rules)
{
    const char *name = "KORMOPLAN_RULES";
    if (qEnvironmentVariableIsEmpty(name))
        return {};
    const QString value = qEnvironmentVariable(name);
    if (const std::optional<lp::Rules> named = lp::rulesNamed(value)) {
        *rules = *named;
        return {};
    }
    return QStringLiteral("Переменная окружения KORMOPLAN_RULES = \"%1\" не называет правил "
                          "расчета. Допустимы значения described, textbook и auto. Расчет не "
                          "проводился.")
        .arg(value);
}

LoadedData loadRun(const CalcTables &tables, const RunOptions &options)
{
    LoadedData data;
    try {
        loadCalculationData(data.selection, data.working, tables, options.parameters,
                            data.diagnostics);
    } catch (const store::TableError &error) {
        data.dataError = error.message();
        return data;
    }
    if (options.mode == CalcMode::Product && data.working.currentFeed == 0)
        data.diagnostics.append(noCurrentProductMessage());
    return data;
}

RunResult solveRun(LoadedData data, const RunOptions &options, RunObserver &observer)
{
    RunResult result;
    CalculationRun run(std::move(data), options, observer, result);
    run.run();
    return result;
}

RunResult runCalculation(const CalcTables &tables, const RunOptions &options, RunObserver &observer)
{
    return solveRun(loadRun(tables, options), options, observer);
}

int solverProgressMinimum(const Selection &selection, double totalOutput)
{
    double highest = 0;
    for (int s = 1; s <= selection.rawCount; ++s)
        highest = std::max(highest, selection.rawContent[s][kPriceCharacteristic]);
    const double minimum = store::roundHalfEven(-0.7 * highest * totalOutput);
    // converted only within the range of an int (no number at all counts as the floor)
    if (!(minimum > -2'000'000'000.0))
        return -2'000'000'000;
    return int(std::min(minimum, 0.0));
}

int attemptProgressMaximum(double surplus)
{
    const double scaled = 1000 * surplus;
    // log2 of the largest double is 1024: an infinite surplus stops there
    const double steps = scaled > 1 ? std::min(store::roundHalfEven(std::log2(scaled)), 1024.0) : 0;
    return int(steps) + 2;
}

double rawMaterialCost(const Selection &selection, const lp::Solution &solution)
{
    double cost = 0;
    for (lp::ColIndex j(1); j.number() <= selection.columnCount; ++j)
        cost += selection.rawContent[selection.columnRaw[j.number()]][kPriceCharacteristic] *
                solution.value(j);
    return cost;
}

} // namespace calc

#include "calc/run.h"

#include "calc/assembly.h"
#include "calc/programmesolve.h"
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
    u"Расчет не получился. Анализ не возможен. Проверьте исходные данные...";

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
    CalculationRun(ProblemRecord &record, const CalcTables &tables, const RunOptions &options,
                   RunObserver &observer, RunResult &result)
        : rec_(record), tables_(tables), options_(options), observer_(observer), result_(result),
          messages_(observer, result.messages), relaxation_(record)
    {
    }

    void run();

private:
    bool outputMode() const { return options_.mode != CalcMode::Cost; }
    bool costMode() const { return options_.mode == CalcMode::Cost; }
    bool load();
    void attemptLoop(OutputSearch &search);
    // Solves the assembled programme; the full solver on the first attempt and
    // whenever the search says so.
    void solve(const lp::Programme &programme, bool full);
    // The run ends with the message of a programme the solver could not take.
    bool endsWithError();
    // What follows a solve; false when the run ends.
    bool decide(OutputSearch &search);
    bool relaxAfterFailure();
    void present();
    void presentStockMessage(int row);

    ProblemRecord &rec_;
    const CalcTables &tables_;
    const RunOptions &options_;
    RunObserver &observer_;
    RunResult &result_;
    MessageLog messages_;
    Relaxation relaxation_;
    QStringList diagnostics_;
    lp::FinalTableau finalTableau_; // of the last solve, when it was a full one and optimal
    bool firstAttempt_ = true;
    bool ended_ = false; // the run ended before the presentation (errors, overflow)
};

void CalculationRun::run()
{
    if (!load())
        return;
    if (outputMode()) {
        observer_.showAttemptProgress(attemptProgressMaximum(result_.working.surplus));
        observer_.setAttemptProgress(0);
    }
    OutputSearch search(options_.mode, rec_, result_.working);
    attemptLoop(search);
    if (outputMode())
        observer_.hideAttemptProgress();
    if (!ended_)
        present();
}

bool CalculationRun::load()
{
    try {
        loadCalculationData(rec_, result_.working, tables_, options_.parameters, diagnostics_);
    } catch (const store::TableError &error) {
        result_.dataError = error.message();
        result_.diagnostics = {error.message()};
        result_.outcome = RunOutcome::Errors;
        return false;
    }
    if (options_.mode == CalcMode::Product && result_.working.currentFeed == 0)
        diagnostics_.append(noCurrentProductMessage());
    return true;
}

void CalculationRun::attemptLoop(OutputSearch &search)
{
    for (;;) {
        ++result_.attempts;
        if (outputMode())
            observer_.setAttemptProgress(result_.attempts);
        checkAttempt(rec_, result_.working, options_.parameters, costMode(), diagnostics_);
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
        const std::optional<lp::Programme> programme =
            assembleProgramme(rec_, full, rec_.rowRelax, options_.parameters.lossNorm);
        if (!programme) {
            endsWithError(); // too large for the solver
            return;
        }
        if (firstAttempt_ && options_.firstProgramme)
            options_.firstProgramme(rec_, *programme);
        solve(*programme, firstAttempt_ || full);
        if (endsWithError() || !decide(search))
            return;
    }
}

bool CalculationRun::endsWithError()
{
    switch (rec_.programmeError) {
    case lp::SolveError::None:
        return false;
    case lp::SolveError::Overflow:
        result_.outcome = RunOutcome::Overflow;
        result_.solveStatus = rec_.solveStatus;
        messages_.show(QString::fromUtf16(kOverflowMessage));
        break;
    case lp::SolveError::LostAccuracy:
        result_.outcome = RunOutcome::LostAccuracy;
        messages_.show(QString::fromUtf16(kLostAccuracyMessage));
        break;
    }
    ended_ = true;
    return true;
}

void CalculationRun::solve(const lp::Programme &programme, bool full)
{
    if (!full) {
        finalTableau_.clear();
        result_.solver += checkFeasibility(rec_, programme, options_.solverLimits);
        return;
    }
    observer_.showSolverProgress(solverProgressMinimum(rec_), 0);
    result_.solver +=
        solveProgramme(rec_, programme, &observer_, &finalTableau_, options_.solverLimits);
    observer_.hideSolverProgress();
    result_.objective = rawMaterialCost(rec_);
}

bool CalculationRun::decide(OutputSearch &search)
{
    const int status = rec_.solveStatus;
    if (costMode() && status != 0)
        return relaxAfterFailure();
    if (status != 0 && firstAttempt_)
        return false;
    firstAttempt_ = false;
    if (search.isFinal() || costMode())
        return false;
    if (status == 0)
        return search.grow();
    search.shrink();
    return true;
}

bool CalculationRun::relaxAfterFailure()
{
    const int status = rec_.solveStatus;
    if (status > 0)
        return false;
    const Relaxation::Step step =
        relaxation_.relax(status, options_.uniformRelax, options_.parameters.lossNorm);
    if (!step.message.isEmpty())
        messages_.show(step.message);
    return step.again;
}

void CalculationRun::present()
{
    const int status = rec_.solveStatus;
    result_.solveStatus = status;
    if (status > 0) {
        result_.outcome = RunOutcome::NoAnalysis;
        messages_.show(QString::fromUtf16(kNoAnalysisMessage));
    } else if (status < 0 && rec_.rowKind[-status] == kStockRow) {
        presentStockMessage(-status);
    } else if (status < 0) {
        result_.outcome = RunOutcome::FailureAnalysis;
        result_.analysis =
            failureAnalysis(rec_, result_.working, -status, options_.parameters.lossNorm);
    } else {
        result_.sensitivity = sensitivityOf(finalTableau_, rec_, options_.parameters);
        finalTableau_.clear();
        roundSolution(rec_, options_.parameters.lossNorm);
        result_.outcome = RunOutcome::Solution;
        result_.summary = solutionSummary(rec_);
    }
}

void CalculationRun::presentStockMessage(int row)
{
    result_.outcome = RunOutcome::StockMessage;
    rec_.rowValue[row] = stockAmount(rec_.rowValue[row], options_.parameters.lossNorm);
    messages_.show(stockMessageHead(rec_, rec_.rowOwner[row]) + QStringLiteral("Подсчитано до ") +
                   store::fixedText(rec_.rowValue[row], 7, 0) + QStringLiteral(" +/- 1..."));
}

} // namespace

QString noCurrentProductMessage()
{
    return QStringLiteral("Не выбран текущий продукт. Для режима \"Максимизировать текущий "
                          "продукт\" отметьте продукт: установите курсор на его строку и "
                          "выберите режим мышью.");
}

RunResult runCalculation(ProblemRecord &record, const CalcTables &tables, const RunOptions &options,
                         RunObserver &observer)
{
    RunResult result;
    record.uniformRelax = options.uniformRelax;
    CalculationRun run(record, tables, options, observer, result);
    run.run();
    return result;
}

int solverProgressMinimum(const ProblemRecord &rec)
{
    double highest = 0;
    for (int s = 1; s <= rec.rawCount; ++s)
        highest = std::max(highest, rec.rawContent[s][1]);
    const double minimum = store::roundHalfEven(-0.7 * highest * rec.totalOutput);
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

double rawMaterialCost(const ProblemRecord &rec)
{
    double cost = 0;
    for (int j = 1; j <= rec.columnCount; ++j)
        cost += rec.rawContent[rec.columnRaw[j]][1] * rec.columnValue[j];
    return cost;
}

} // namespace calc

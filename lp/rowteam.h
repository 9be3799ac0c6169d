#pragma once

// The rows of one pivot's update shared between the solving thread and helper threads
// that live as long as the tableau. Each row is updated by exactly one thread with the
// same operations as before, so the results do not depend on the number of threads.
//
// The rows are cut into one part per thread; every thread, the solving one included,
// takes parts until none is left, so a helper the system has not yet scheduled never
// holds the pivot up (its part is done by whoever is free). A helper waits for the next
// pivot spinning a short while (pivots follow one another within microseconds on a
// large programme), then sleeps.

#include <QtGlobal>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace lp
{

class RowTeam final
{
public:
    // threads: the solving thread and threads − 1 helpers (at least 2 threads).
    explicit RowTeam(int threads);
    ~RowTeam();
    Q_DISABLE_COPY_MOVE(RowTeam)

    int threads() const { return int(helpers_.size()) + 1; }

    // Calls part(begin, end) for consecutive parts of [0, count), one per thread, and
    // returns when every part is done.
    void run(int count, const std::function<void(int, int)> &part);

    // Threads the solver uses on this machine: KORMOPLAN_SOLVER_THREADS when set (1 turns
    // the helpers off), else the processor's cores, at most 8.
    static int threadsWanted();

private:
    void helperLoop();
    void takeParts();
    int partBegin(int index) const;

    std::vector<std::thread> helpers_;
    const std::function<void(int, int)> *part_ = nullptr;
    int count_ = 0;
    std::atomic<unsigned> generation_{0}; // wakes the helpers
    std::atomic<int> nextPart_{0};        // the next part to take
    std::atomic<int> done_{0};            // parts done
    std::atomic<bool> stop_{false};
};

} // namespace lp

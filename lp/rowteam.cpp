#include "lp/rowteam.h"

#include <QByteArray>

#include <algorithm>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define KP_PAUSE() _mm_pause()
#else
#define KP_PAUSE() std::this_thread::yield()
#endif

namespace lp
{

namespace
{

// About 50 µs of waiting before a helper sleeps: longer than the solver's work between
// two large pivots, short enough not to hold a core when the solve has ended.
constexpr int kSpinsBeforeSleep = 20000;

} // namespace

RowTeam::RowTeam(int threads)
{
    const int helpers = std::max(1, threads - 1);
    nextPart_.store(helpers + 1, std::memory_order_relaxed); // nothing to take yet
    helpers_.reserve(size_t(helpers));
    for (int h = 0; h < helpers; ++h)
        helpers_.emplace_back([this] { helperLoop(); });
}

RowTeam::~RowTeam()
{
    stop_.store(true, std::memory_order_relaxed);
    generation_.fetch_add(1, std::memory_order_release);
    generation_.notify_all();
    for (std::thread &helper : helpers_)
        helper.join();
}

int RowTeam::partBegin(int index) const
{
    return int(std::int64_t(count_) * index / threads());
}

// Parts are taken one by one; the acquiring take sees the part function and count that
// were written before the parts were offered.
void RowTeam::takeParts()
{
    const int parts = threads();
    for (;;) {
        const int p = nextPart_.fetch_add(1, std::memory_order_acq_rel);
        if (p >= parts)
            return;
        (*part_)(partBegin(p), partBegin(p + 1));
        done_.fetch_add(1, std::memory_order_release);
    }
}

void RowTeam::run(int count, const std::function<void(int, int)> &part)
{
    part_ = &part;
    count_ = count;
    done_.store(0, std::memory_order_relaxed);
    nextPart_.store(0, std::memory_order_release);
    generation_.fetch_add(1, std::memory_order_release);
    generation_.notify_all();
    takeParts();
    const int parts = threads();
    while (done_.load(std::memory_order_acquire) != parts)
        KP_PAUSE();
}

void RowTeam::helperLoop()
{
    unsigned seen = 0;
    for (;;) {
        unsigned now = generation_.load(std::memory_order_acquire);
        for (int spins = 0; now == seen; now = generation_.load(std::memory_order_acquire)) {
            if (++spins < kSpinsBeforeSleep) {
                KP_PAUSE();
            } else {
                generation_.wait(seen, std::memory_order_acquire);
                spins = 0;
            }
        }
        seen = now;
        if (stop_.load(std::memory_order_relaxed))
            return;
        takeParts();
    }
}

int RowTeam::threadsWanted()
{
    bool ok = false;
    const int asked = qEnvironmentVariableIntValue("KORMOPLAN_SOLVER_THREADS", &ok);
    if (ok && asked >= 1)
        return std::min(asked, 64);
    const int cores = int(std::thread::hardware_concurrency());
    return std::clamp(cores, 1, 8);
}

} // namespace lp

#include "platform/wavrin/Parallel.h"

#include <sys/sysinfo.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace tarnel::parallel {

namespace {

// A few worker threads started on first use and kept for the life of the process. One job runs at a time;
// a caller that finds the workers busy (another thread's job) does all of its work itself. The parts of a job are
// handed out one at a time under the lock, to the caller and to the workers alike.
class Workers {
public:
    static Workers* Get()
    {
        static Workers* w = [] {
            const int hw = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
            Workers* p = new Workers;
            try {
                for (int i = 0; i < std::min(kMaxThreads, hw) - 1; ++i) p->threads_.emplace_back([p] { p->Loop(); });
            } catch (const std::system_error&) {
            }
            return p;
        }();
        return w;
    }

    int Count() const { return static_cast<int>(threads_.size()); }

    // Runs job(0) .. job(parts − 1), each part once; false when the workers are busy. The caller takes parts as
    // the workers do and then waits only for the parts a worker has begun: a worker the system has not woken by
    // then finds none left, so a loaded machine never holds the caller up for a thread that has not started.
    bool Run(int parts, const std::function<void(int)>& job)
    {
        // A child process made by fork has none of the workers: it works alone.
        if (getpid() != owner_) return false;
        std::unique_lock<std::mutex> busy(busy_, std::try_to_lock);
        if (!busy.owns_lock()) return false;
        std::unique_lock<std::mutex> g(m_);
        job_ = &job;
        parts_ = parts;
        next_ = 0;
        ++generation_;
        g.unlock();
        // Only the workers the machine has room for; a worker still waking for an earlier job may join as well.
        const int wake = std::min(parts, UsefulThreads()) - 1;
        for (int i = 0; i < wake; ++i) start_.notify_one();
        g.lock();
        TakeParts(g);
        done_.wait(g, [this] { return running_ == 0; });
        job_ = nullptr;
        return true;
    }

private:
    // Runs parts of the current job while any is left; called and returning with g locked.
    void TakeParts(std::unique_lock<std::mutex>& g)
    {
        while (job_ && next_ < parts_) {
            const int part = next_++;
            const std::function<void(int)>* job = job_;
            ++running_;
            g.unlock();
            (*job)(part);
            g.lock();
            --running_;
        }
        if (running_ == 0) done_.notify_one();
    }

    void Loop()
    {
        long long seen = 0;
        std::unique_lock<std::mutex> g(m_);
        for (;;) {
            start_.wait(g, [&] { return generation_ != seen; });
            seen = generation_;
            TakeParts(g);
        }
    }

    std::mutex busy_, m_;
    std::condition_variable start_, done_;
    std::vector<std::thread> threads_;
    const std::function<void(int)>* job_ = nullptr;
    int parts_ = 0, next_ = 0, running_ = 0;
    long long generation_ = 0;
    const pid_t owner_ = getpid();
};

// The processors left to this process: those of the machine less the load average of the other processes. The
// load average (runnable threads over the last minute) counts this process's threads too, so their share, the
// process's processor time per second of wall time averaged over the same minute, is taken off it first.
class Room {
public:
    int Threads()
    {
        const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                  std::chrono::steady_clock::now().time_since_epoch())
                                  .count();
        if (now >= next_.load(std::memory_order_relaxed)) {
            std::unique_lock<std::mutex> g(m_, std::try_to_lock);
            if (g.owns_lock() && now >= next_.load(std::memory_order_relaxed)) Sample(now);
        }
        return threads_.load(std::memory_order_relaxed);
    }

private:
    static constexpr long long kEvery = 250'000'000;  // ns between two looks
    static constexpr double kMinute = 60e9;           // ns: the time constant of the load average

    void Sample(long long now)
    {
        next_.store(now + kEvery, std::memory_order_relaxed);
        const int most = Workers::Get()->Count() + 1;
        timespec t{};
        struct sysinfo info {};
        if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t) != 0 || sysinfo(&info) != 0) {
            threads_.store(most, std::memory_order_relaxed);
            return;
        }
        const long long cpu = t.tv_sec * 1'000'000'000LL + t.tv_nsec;
        if (last_ > 0) {
            const double wall = static_cast<double>(now - last_);
            const double busy = static_cast<double>(cpu - lastCpu_) / wall;
            const double keep = std::exp(-wall / kMinute);
            own_ = own_ * keep + busy * (1 - keep);
        }
        last_ = now;
        lastCpu_ = cpu;
        const double load = static_cast<double>(info.loads[0]) / (1 << SI_LOAD_SHIFT);
        const double processors = std::max(1u, std::thread::hardware_concurrency());
        // The others leave processors − (load − own_) free; the caller works on one of them.
        const double room = processors - std::max(0.0, load - own_);
        threads_.store(static_cast<int>(std::clamp(std::lround(room), 1L, static_cast<long>(most))),
                       std::memory_order_relaxed);
    }

    std::mutex m_;
    std::atomic<long long> next_{0};
    std::atomic<int> threads_{1};
    long long last_ = 0, lastCpu_ = 0;
    double own_ = 0;
};

// The thread count a TFixedThreads sets; 0 when none lives.
std::atomic<int> fixedThreads{0};

}  // namespace

int UsefulThreads()
{
    if (const int fixed = fixedThreads.load(std::memory_order_relaxed); fixed > 0)
        return std::min(fixed, WorkerCount() + 1);
    static Room room;
    return room.Threads();
}

TFixedThreads::TFixedThreads(int Threads) : FBefore(fixedThreads.exchange(std::max(Threads, 1)))
{
}

TFixedThreads::~TFixedThreads()
{
    fixedThreads.store(FBefore);
}

int WorkerCount()
{
    return Workers::Get()->Count();
}

bool RunParts(int parts, const std::function<void(int)>& job)
{
    return Workers::Get()->Run(parts, job);
}

}  // namespace tarnel::parallel

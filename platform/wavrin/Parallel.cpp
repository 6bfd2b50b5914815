#include "platform/wavrin/Parallel.h"

#include <unistd.h>

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
        start_.notify_all();
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

}  // namespace

int WorkerCount()
{
    return Workers::Get()->Count();
}

bool RunParts(int parts, const std::function<void(int)>& job)
{
    return Workers::Get()->Run(parts, job);
}

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

}  // namespace tarnel::parallel

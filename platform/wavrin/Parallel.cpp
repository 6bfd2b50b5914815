#include "platform/wavrin/Parallel.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include <unistd.h>
#include <vector>

namespace tarnel::parallel {

namespace {

// A few worker threads started on first use and kept for the life of the process. One job runs at a time;
// a caller that finds the workers busy (another thread's job) does all of its work itself.
class Workers {
public:
    static Workers* Get()
    {
        static Workers* w = [] {
            const int hw = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
            Workers* p = new Workers;
            try {
                for (int i = 0; i < std::min(kMaxThreads, hw) - 1; ++i)
                    p->threads_.emplace_back([p, i] { p->Loop(i); });
            } catch (const std::system_error&) {
            }
            return p;
        }();
        return w;
    }

    int Count() const { return static_cast<int>(threads_.size()); }

    // Runs job(0) .. job(parts − 1), part 0 in the calling thread; false when the workers are busy.
    bool Run(int parts, const std::function<void(int)>& job)
    {
        // A child process made by fork has none of the workers: it works alone.
        if (getpid() != owner_) return false;
        std::unique_lock<std::mutex> busy(busy_, std::try_to_lock);
        if (!busy.owns_lock()) return false;
        {
            std::lock_guard<std::mutex> g(m_);
            job_ = &job;
            parts_ = parts;
            pending_ = static_cast<int>(threads_.size());
            ++generation_;
        }
        start_.notify_all();
        job(0);
        std::unique_lock<std::mutex> g(m_);
        done_.wait(g, [this] { return pending_ == 0; });
        job_ = nullptr;
        return true;
    }

private:
    void Loop(int index)
    {
        long long seen = 0;
        for (;;) {
            std::unique_lock<std::mutex> g(m_);
            start_.wait(g, [&] { return generation_ != seen; });
            seen = generation_;
            const std::function<void(int)>* job = job_;
            const int part = index + 1, parts = parts_;
            g.unlock();
            if (part < parts) (*job)(part);
            g.lock();
            if (--pending_ == 0) done_.notify_one();
        }
    }

    std::mutex busy_, m_;
    std::condition_variable start_, done_;
    std::vector<std::thread> threads_;
    const std::function<void(int)>* job_ = nullptr;
    int parts_ = 0, pending_ = 0;
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

}  // namespace tarnel::parallel

#include "platform/wavrin/FftPlans.h"

#include <fftw3.h>

#include <cstddef>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace tarnel::fftplan {

namespace {

struct KeyHash {
    std::size_t operator()(const Key& k) const
    {
        std::size_t h = static_cast<std::size_t>(k.kind);
        for (long long v : {static_cast<long long>(k.n0), static_cast<long long>(k.n1), static_cast<long long>(k.sign),
                            static_cast<long long>(k.inPlace), static_cast<long long>(k.keepSource),
                            static_cast<long long>(k.alignIn), static_cast<long long>(k.alignOut)})
            h = h * 1000003u ^ static_cast<std::size_t>(v);
        return h;
    }
};

// Owns one FFTW plan.
class Plan {
public:
    explicit Plan(fftw_plan p) : p_(p) {}
    ~Plan()
    {
        if (p_) fftw_destroy_plan(p_);
    }
    Plan(const Plan&) = delete;
    Plan& operator=(const Plan&) = delete;
    fftw_plan get() const { return p_; }

private:
    fftw_plan p_;
};

// Scratch memory for planning, freed on every path.
class Scratch {
public:
    explicit Scratch(std::size_t bytes) : p_(static_cast<char*>(fftw_malloc(bytes + 64))) {}
    ~Scratch() { fftw_free(p_); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    // An address inside the block with the given FFTW alignment offset (0 or 8 bytes from a SIMD boundary).
    double* At(int align) const
    {
        if (!p_) return nullptr;
        return reinterpret_cast<double*>(p_ + align);
    }

private:
    char* p_;
};

// Plans measure the machine once; small transforms measure quickly, and the largest ones take an estimate so
// that the first call on a big array does not stall.
unsigned PlannerFlags(const Key& k)
{
    const long long total = static_cast<long long>(k.n0) * (k.n1 > 0 ? k.n1 : 1);
    unsigned f = total <= (1LL << 22) ? FFTW_MEASURE : FFTW_ESTIMATE;
    if (k.keepSource) f |= FFTW_PRESERVE_INPUT;
    if (!k.inPlace && !k.keepSource && (k.kind == Kind::C2R)) f |= FFTW_DESTROY_INPUT;
    return f;
}

fftw_plan Make(const Key& k)
{
    const int rank = k.n1 > 0 ? 2 : 1;
    int dims[2] = {k.n0, k.n1};
    const long long total = static_cast<long long>(k.n0) * (rank == 2 ? k.n1 : 1);
    const long long lastHalf = (rank == 2 ? k.n1 : k.n0) / 2 + 1;
    const long long halfTotal = (rank == 2 ? static_cast<long long>(k.n0) : 1) * lastHalf;
    // Bytes of each array: complex arrays 16 per element, real arrays 8, the half-complex ones padded.
    std::size_t inBytes = 0, outBytes = 0;
    switch (k.kind) {
        case Kind::C2C:
            inBytes = outBytes = static_cast<std::size_t>(total) * 16;
            break;
        case Kind::R2C:
            inBytes = static_cast<std::size_t>(halfTotal) * 16;
            outBytes = inBytes;
            break;
        case Kind::C2R:
            inBytes = static_cast<std::size_t>(halfTotal) * 16;
            outBytes = inBytes;
            break;
        case Kind::DCT2:
        case Kind::DCT3:
            inBytes = outBytes = static_cast<std::size_t>(total) * 8;
            break;
    }
    Scratch in(inBytes), out(k.inPlace ? 0 : outBytes);
    double* pin = in.At(k.alignIn);
    double* pout = k.inPlace ? pin : out.At(k.alignOut);
    if (!pin || !pout) return nullptr;
    std::memset(pin, 0, inBytes);
    const unsigned flags = PlannerFlags(k);
    switch (k.kind) {
        case Kind::C2C:
            return fftw_plan_dft(rank, dims, AsFftwFromDoubles(pin), AsFftwFromDoubles(pout), k.sign, flags);
        case Kind::R2C:
            return fftw_plan_dft_r2c(rank, dims, pin, AsFftwFromDoubles(pout), flags);
        case Kind::C2R:
            return fftw_plan_dft_c2r(rank, dims, AsFftwFromDoubles(pin), pout, flags);
        case Kind::DCT2:
            return fftw_plan_r2r_1d(k.n0, pin, pout, FFTW_REDFT10, flags);
        case Kind::DCT3:
            return fftw_plan_r2r_1d(k.n0, pin, pout, FFTW_REDFT01, flags);
    }
    return nullptr;
}

struct Cache {
    std::mutex lock;
    std::unordered_map<Key, Plan, KeyHash> plans;
};

Cache& TheCache()
{
    // Made once and kept to the end of the process, so that no exit-time destructor can race a transform.
    static Cache* cache = [] {
        fftw_make_planner_thread_safe();
        return new Cache;
    }();
    return *cache;
}

}  // namespace

fftw_plan Get(const Key& key)
{
    // Repeated transforms of one kind skip the lock: plans live as long as the process, so the last one a
    // thread used stays valid.
    thread_local Key lastKey{};
    thread_local fftw_plan lastPlan = nullptr;
    if (lastPlan && key == lastKey) return lastPlan;
    Cache& c = TheCache();
    std::lock_guard<std::mutex> guard(c.lock);
    auto it = c.plans.find(key);
    if (it == c.plans.end()) {
        fftw_plan p = Make(key);
        if (!p) return nullptr;
        it = c.plans.try_emplace(key, p).first;
    }
    lastKey = key;
    lastPlan = it->second.get();
    return lastPlan;
}

}  // namespace tarnel::fftplan

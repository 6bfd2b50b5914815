#include "platform/rtl/Fpu.h"

#include <cfenv>

namespace tarnel {

namespace {

constexpr Word kExceptionMasks = 0x003F;
constexpr Word kRoundingMask = 0x0C00;

thread_local bool tLoaded = false;
thread_local Word tWord = 0;

#if defined(__x86_64__) || defined(__i386__)
Word ReadX87()
{
    Word cw;
    __asm__ __volatile__("fnstcw %0" : "=m"(cw));
    return cw;
}

void LoadX87(Word cw)
{
    __asm__ __volatile__("fldcw %0" : : "m"(cw));
}

void LoadMxcsrRounding(Word cw)
{
    // MXCSR: exception masks in bits 7-12, rounding control in bits 13-14 with the same encoding as x87.
    std::uint32_t csr;
    __asm__ __volatile__("stmxcsr %0" : "=m"(csr));
    csr |= 0x1F80u;
    csr = (csr & ~0x6000u) | (static_cast<std::uint32_t>(cw & kRoundingMask) << 3);
    __asm__ __volatile__("ldmxcsr %0" : : "m"(csr));
}
#endif

}  // namespace

void Set8087CW(Word cw)
{
#if defined(__x86_64__) || defined(__i386__)
    LoadX87(static_cast<Word>(cw | kExceptionMasks));
    LoadMxcsrRounding(cw);
#else
    static const int kModes[4] = {FE_TONEAREST, FE_DOWNWARD, FE_UPWARD, FE_TOWARDZERO};
    std::fesetround(kModes[(cw & kRoundingMask) >> 10]);
#endif
    tWord = cw;
    tLoaded = true;
}

Word Get8087CW()
{
    if (tLoaded) return tWord;
#if defined(__x86_64__) || defined(__i386__)
    return ReadX87();
#else
    return 0x037F;
#endif
}

void ClearFpuExceptions()
{
    std::feclearexcept(FE_ALL_EXCEPT);
}

}  // namespace tarnel

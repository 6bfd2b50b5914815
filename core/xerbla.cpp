#include <string>

#include "core/LapackSupport.h"
#include "core/NmklBlas.h"
#include "core/messages.h"

namespace tarnel {

namespace {
thread_local XerblaRecord tLast;
}

const XerblaRecord& LastXerbla()
{
    return tLast;
}

int BlasInt(std::int64_t value)
{
    if (value < 0 || value > 0x7FFFFFFF) ERaise(msg::BlasRange(value));
    return static_cast<int>(value);
}

}  // namespace tarnel

// Replaces the handler of the BLAS/LAPACK library (the dynamic linker takes the first definition it finds,
// and this library is loaded before OpenBLAS). Returning makes the routine return at once.
extern "C" int xerbla_(const char* srname, const int* info, std::size_t srname_len)
{
    std::string name(srname ? srname : "", srname ? srname_len : 0);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
    tarnel::tLast.routine = name;
    tarnel::tLast.argument = info ? *info : 0;
    ++tarnel::tLast.count;
    return 0;
}

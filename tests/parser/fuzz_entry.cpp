#include <string_view>

#include "FuzzEntry.h"
#include "TestWords.h"

namespace parsertest {

int FuzzOne(const std::uint8_t* Data, std::size_t Size)
{
    if (Size == 0) return 0;
    static constexpr char kHexChars[] = {'$', '#', 'h', 'x', '0', '.', '\'', '('};
    TLanguage L((Data[0] & 1) != 0, kHexChars[(Data[0] >> 1) % sizeof(kHexChars)]);
    TCplx a{1.5, -0.5}, b{2, 0};
    L.Define("a", a);
    L.Define("b", b);
    try {
        auto e = L.Compile(std::string_view(reinterpret_cast<const char*>(Data + 1), Size - 1));
        for (int i = 0; i < 3; ++i) {
            const TValueRef* v = e->Evaluate();
            volatile double sink = v->IsComplex ? v->CplxLoc->Re + v->CplxLoc->Im : *v->RealLoc;
            (void)sink;
        }
    } catch (const tarnel::Exception&) {
    }
    return 0;
}

}  // namespace parsertest

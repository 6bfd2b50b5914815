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
        L.Add(std::string(reinterpret_cast<const char*>(Data + 1), Size - 1));
        for (int i = 0; i < 3; ++i) {
            const TCplx v = L.AsCplx();
            volatile double sink = v.Re + v.Im;
            (void)sink;
        }
    } catch (const tarnel::Exception&) {
    }
    return 0;
}

}  // namespace parsertest

namespace parsertest {

namespace {

void EvaluateAll(TLanguage& L)
{
    for (int i = 0; i < L.Count(); ++i) {
        L.SetCurrentIndex(i);
        try {
            const TCplx v = L.AsCplx();
            volatile double sink = v.Re + v.Im;
            (void)sink;
        } catch (const tarnel::Exception&) {
        }
    }
}

}  // namespace

int FuzzLoad(const std::uint8_t* Data, std::size_t Size)
{
    if (Size == 0) return 0;
    TCplx a{1.5, -0.5}, b{2, 0};
    TLanguage L((Data[0] & 1) != 0);
    L.SetMaxExpressions((Data[0] >> 1) % 8 - 1);  // -1 .. 6
    L.Define("a", a);
    L.Define("b", b);
    TMemoryStream s;
    s.WriteBuffer(Data + 1, static_cast<std::int64_t>(Size - 1));
    s.SetPosition(0);
    try {
        L.LoadFromStream(s);
    } catch (const tarnel::Exception&) {
    }
    EvaluateAll(L);
    EvaluateAll(L);
    for (int i = L.Count() - 1; i >= 0; i -= 2) L.Delete(i);
    EvaluateAll(L);
    TMemoryStream copy;
    L.SaveToStream(copy);
    copy.SetPosition(0);
    TLanguage M;
    M.Define("a", a);
    try {
        M.LoadFromStream(copy);
    } catch (const tarnel::Exception&) {
    }
    L.Clear();
    EvaluateAll(M);
    try {
        L.Add("a + b");
        (void)L.AsCplx();
    } catch (const tarnel::Exception&) {
    }
    return 0;
}

}  // namespace parsertest

// Fuzz target "sparse_market": the sparse MatrixMarket reader on fuzzer text. The first byte picks the kind of the
// matrix read into (bit 0) and DontStripZeros (bit 1); the rest is the text, split into lines as files are. A read
// raises tarnel::Exception with the matrix and its caption unchanged, or gives a sound matrix whose own file reads
// back bit for bit.
#include <cmath>
#include <cstdint>
#include <string_view>

#include "SparseFuzz.h"

using namespace tarnel;
using fuzz::Finding;
using fuzz::TSparseState;

namespace {

// Sizes above this are legal but would only measure the machine's memory (column pointers of every column).
constexpr double kLargest = 100000;

// The size line as the reader finds it (the first line after the header that is neither blank nor a comment), its
// first two numbers read by the same ExtractSample: true when either is beyond kLargest.
bool HugeSizes(const TStringList& L)
{
    for (int i = 1; i < L.Count(); ++i) {
        const std::string_view s = L.Line(i);
        if (s.find_first_not_of(" \t\r") == std::string_view::npos || s.find('%') != std::string_view::npos) continue;
        int pos = 1;
        for (int k = 0; k < 2; ++k) {
            try {
                if (std::fabs(ExtractSample(s, pos, " ")) > kLargest) return true;
            } catch (const Exception&) {
                return false;
            }
        }
        return false;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    if (Size == 0) return 0;
    const bool keepZeros = (Data[0] & 2) != 0;
    TStringList lines;
    {
        TMemoryStream s;
        s.WriteBuffer(Data + 1, static_cast<std::int64_t>(Size - 1));
        s.SetPosition(0);
        lines.LoadFromStream(s);
    }
    if (HugeSizes(lines)) return 0;
    TSparseMtx m;
    fuzz::Prefill(m, (Data[0] & 1) != 0, keepZeros);
    const TSparseState before(m);
    try {
        m.StringsToValues(lines, spfMatrixMarket);
    } catch (const Exception&) {
        if (!(TSparseState(m) == before)) Finding("sparse_market", "a refused text changed the matrix");
        return 0;
    }
    fuzz::CheckAccepted(m, "sparse_market");
    // Our own file of the matrix gives it back, stored zeros included when they are kept.
    TStringList own;
    m.ValuesToStrings(own, spfMatrixMarket, false);
    TSparseMtx back;
    back.SetDontStripZeros(keepZeros);
    back.StringsToValues(own, spfMatrixMarket);
    if (!TSparseState(back).SameMatrix(TSparseState(m))) Finding("sparse_market", "our own file reads back otherwise");
    return 0;
}

// Fuzz target "sparse_stream": the sparse matrix stream reader on fuzzer bytes. The first byte picks the kind of the
// matrix loaded into (bit 0) and a second load from the same stream (bit 1: streams of two matrices, as files saved
// with Append hold); the rest is the stream. A load raises tarnel::Exception with the matrix unchanged, or gives a
// sound matrix that saves and loads back bit for bit.
#include <cstdint>

#include "SparseFuzz.h"

using namespace tarnel;
using fuzz::Finding;
using fuzz::TSparseState;

namespace {

// Loads from S into M; true when the load was accepted.
bool Load(TSparseMtx& M, TStream& S)
{
    const TSparseState before(M);
    try {
        M.LoadFromStream(S);
    } catch (const Exception&) {
        if (!(TSparseState(M) == before)) Finding("sparse_stream", "a refused stream changed the matrix");
        return false;
    }
    fuzz::CheckAccepted(M, "sparse_stream");
    return true;
}

void RoundTrip(const TSparseMtx& M)
{
    TMemoryStream s;
    M.SaveToStream(s, prDouble, rnTrunc);
    s.SetPosition(0);
    TSparseMtx back;
    back.LoadFromStream(s);
    if (!(TSparseState(back) == TSparseState(M)) || back.MaxIters() != M.MaxIters() ||
        back.IterativeMethod() != M.IterativeMethod() || s.Position() != s.Size())
        Finding("sparse_stream", "a loaded matrix does not survive its own stream");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    if (Size == 0) return 0;
    TSparseMtx m;
    fuzz::Prefill(m, (Data[0] & 1) != 0, false);
    TMemoryStream s;
    s.WriteBuffer(Data + 1, static_cast<std::int64_t>(Size - 1));
    s.SetPosition(0);
    const int loads = (Data[0] & 2) ? 2 : 1;
    for (int i = 0; i < loads; ++i)
        if (Load(m, s)) RoundTrip(m);
    return 0;
}

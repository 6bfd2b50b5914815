// The matrix's readers and writers of the binary stream format (the encodings and the shared checks are in
// vec_stream.cpp). The matrix reader never reads numbers past Rows·Cols, whatever the version.
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/storage_block.h"
#include "core/stream_detail.h"

namespace tarnel {

namespace {

constexpr int kMtxHeaderBytes = 104;
using TMtxHeader = detail::THeaderSingles<kMtxHeaderBytes>;

double Flag(bool B)
{
    return B ? 1.0 : 0.0;
}

// The settings a header holds, checked before any of them is applied.
struct TMtxSettings {
    int Complex = 0, Rows = 0, Cols = 0, AutoMtxType = 0, EigGenType = 0, Balance = 0, ConditionCheck = 0;
    int ConditionNumber = 0, Precision = 0, RefineSolution = 0, TriangleForm = 0, TriangleUnit = 0;
    int SuperDiag = 0, SubDiag = 0, Tag = 0;
};

bool Parse(const TMtxHeader& H, bool WithTag, TMtxSettings& S)
{
    using detail::Ordinal;
    using detail::WholeInRange;
    const bool ok = Ordinal(H.Get(0), 2, S.Complex) && WholeInRange(H.Get(4), INT32_MAX, S.Rows) &&
                    WholeInRange(H.Get(8), INT32_MAX, S.Cols) && Ordinal(H.Get(16), 2, S.AutoMtxType) &&
                    Ordinal(H.Get(20), 3, S.EigGenType) && Ordinal(H.Get(24), 4, S.Balance) &&
                    Ordinal(H.Get(28), 2, S.ConditionCheck) && Ordinal(H.Get(32), 3, S.ConditionNumber) &&
                    Ordinal(H.Get(36), 10, S.Precision) && Ordinal(H.Get(40), 2, S.RefineSolution) &&
                    Ordinal(H.Get(44), 2, S.TriangleForm) && Ordinal(H.Get(48), 2, S.TriangleUnit) &&
                    detail::Integer(H.Get(52), S.SuperDiag) && detail::Integer(H.Get(56), S.SubDiag) &&
                    (!WithTag || detail::Integer(H.Get(68), S.Tag));
    if (!ok) return false;
    // The elements must fit a matrix of that kind (a complex one still counts its columns when it turns real).
    const std::int64_t limit = S.Complex ? detail::kMaxRealCapacity / 2 : detail::kMaxRealCapacity;
    return static_cast<std::int64_t>(S.Rows) * S.Cols <= limit && (!S.Complex || S.Cols <= INT32_MAX / 2);
}

}  // namespace

void TMtx::WriteHeader(TStream& Stream, TPrecision Precision, TRounding Rounding) const
{
    detail::CheckEncoding(Precision, Rounding);
    if (FRows > detail::kMaxStreamSize || FCols > detail::kMaxStreamSize) ERaise(msg::kStreamRowsCols);
    TMtxHeader h;
    h.Put(0, Flag(FComplex));
    h.Put(4, FRows);
    h.Put(8, FCols);
    h.Put(12, Flag(Quadratic()));
    h.Put(16, Flag(FAutoMtxType));
    h.Put(20, FEigGenType);
    h.Put(24, FBalance);
    h.Put(28, Flag(FConditionCheck));
    h.Put(32, FConditionNumber);
    h.Put(36, Precision);
    h.Put(40, Flag(FRefineSolution));
    h.Put(44, FTriangleForm);
    h.Put(48, Flag(FTriangleUnit));
    h.Put(52, FSuperDiag);
    h.Put(56, FSubDiag);
    h.Put(60, 8);
    h.Put(64, detail::kStreamVersion);
    h.Put(68, FTag);
    h.Put(72, detail::kStreamMagic);
    Stream.WriteBuffer(h.Data, kMtxHeaderBytes);
    WriteShortString(Stream, FCaption);
}

void TMtx::WriteValues(TStream& Stream, TPrecision Precision, TRounding Rounding) const
{
    if (Elements() == 0) return;
    WriteBinaryValues(Stream, FValues, Precision, Rounding, Elements(), FComplex);
}

void TMtx::SaveToStream(TStream& Stream, TPrecision Precision, TRounding Rounding) const
{
    WriteHeader(Stream, Precision, Rounding);
    WriteValues(Stream, Precision, Rounding);
}

TPrecision TMtx::ReadHeader(TStream& Stream)
{
    TMtxHeader h;
    if (Stream.Read(h.Data, kMtxHeaderBytes) != kMtxHeaderBytes) ERaise(msg::kMtxReadStream);
    const detail::TStreamVersion v = detail::CheckVersion(h.Get(64), h.Get(72));
    TMtxSettings s;
    s.Tag = FTag;
    if (!Parse(h, v.HasCaption, s)) ERaise(msg::kWrongFormat);
    const std::string caption = v.HasCaption ? detail::ReadCaption(Stream, msg::kMtxReadStream) : FCaption;
    const auto p = static_cast<TPrecision>(s.Precision);
    detail::RequireRest(Stream, static_cast<std::int64_t>(s.Rows) * s.Cols * SizeOfPrecision(p, s.Complex != 0),
                        msg::kMtxReadStream);

    CheckSize(s.Rows, s.Cols, s.Complex != 0);
    FTag = s.Tag;
    FCaption = caption;
    Size(s.Rows, s.Cols, s.Complex != 0);
    FAutoMtxType = s.AutoMtxType != 0;
    FEigGenType = static_cast<TEigGenType>(s.EigGenType);
    FBalance = static_cast<TBalanceType>(s.Balance);
    FConditionCheck = s.ConditionCheck != 0;
    FConditionNumber = static_cast<TConditionNumber>(s.ConditionNumber);
    SetRefineSolution(s.RefineSolution != 0);
    FTriangleForm = static_cast<TTriangleForm>(s.TriangleForm);
    FTriangleUnit = s.TriangleUnit != 0;
    FSuperDiag = s.SuperDiag;
    FSubDiag = s.SubDiag;
    return p;
}

std::int64_t TMtx::ReadValues(TStream& Stream, TPrecision Precision)
{
    if (Elements() == 0) return 0;
    return ReadBinaryValues(Stream, FValues, Precision, Elements(), FComplex);
}

void TMtx::LoadFromStream(TStream& Stream)
{
    const TPrecision p = ReadHeader(Stream);
    if (ReadValues(Stream, p) != Numbers()) ERaise(msg::kMtxReadStream);
}

void TMtx::SaveToFile(const std::string& FileName, bool Append) const
{
    detail::SaveObjectToFile(FileName, Append, detail::SavedBytes(kMtxHeaderBytes, FCaption, Numbers()),
                             [this](TStream& S) { SaveToStream(S, prDouble, rnTrunc); });
}

void TMtx::LoadFromFile(const std::string& FileName)
{
    detail::LoadObjectFromFile(FileName, [this](TStream& S) { LoadFromStream(S); });
}

void TMtx::SaveBinaryStream(TStream& Stream) const
{
    SaveToStream(Stream, prDouble, rnTrunc);
}

void TMtx::LoadBinaryStream(TStream& Stream)
{
    LoadFromStream(Stream);
}

}  // namespace tarnel

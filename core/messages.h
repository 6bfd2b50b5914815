// The texts the element-wise operations of vectors raise, in one place. They are part of the library's interface
// and are quoted letter for letter, odd spacing and unbalanced parentheses included; tests compare them exactly.
// Internal to the library.
#pragma once

namespace tarnel::msg {

// ---- Range forms shared by many families --------------------------------------------------------------------
inline constexpr const char* kNegRange = "(Len <= 0) or (Index < 0) or (VecIndex < 0)";
inline constexpr const char* kNegRange2 = "(Len <= 0) or (Index < 0) or (Vec1Index < 0) or (Vec2Index < 0)";
inline constexpr const char* kVecIndexLen = "VecIndex + Len) > Vec.Length";
inline constexpr const char* kIndexLen = "(Index + Len) > Length";
inline constexpr const char* kVec1IndexLen = "(Vec1Index + Len) > Vec1.Length";
inline constexpr const char* kVec2IndexLen = "(Vec2Index + Len) > Vec2.Length";
inline constexpr const char* kComplexVec = "Complex <> Vec.Complex";
inline constexpr const char* kComplexVec2 = "Complex  <> Vec2.Complex";
inline constexpr const char* kVec1Vec2Complex2 = "Vec1.Complex  <> Vec2.Complex";
inline constexpr const char* kSelfVec = "Self = Vec";
inline constexpr const char* kSelfVec12 = "(Self = Vec1) or (Self = Vec2)";
// The whole-vector-default forms Op (X, XIndex, Index, Len).
inline constexpr const char* kComplexX = "Complex <> X.Complex";
inline constexpr const char* kIndexFLength = "(Index + Len) > FLength";
inline constexpr const char* kXIndexLen = "(XIndex + Len) > X.Length";

// ---- Sums ---------------------------------------------------------------------------------------------------
inline constexpr const char* kAddSelf = "TVec.Add: Self = Vec";
inline constexpr const char* kVecLength = "Vec.Length <> Length";
inline constexpr const char* kAddComplex = "TVec.Add: Vec.Complex <> Complex";
// A complex factor for a scaled sum of real vectors (the factor's imaginary part would be lost).
inline constexpr const char* kAddNotComplex = "TVec.Add: Not Complex";
inline constexpr const char* kVec12Length = "Vec1.Length <> Vec2.Length";
inline constexpr const char* kVec12Complex = "Vec1.Complex <> Vec2.Complex";

// ---- Copies, reversal, joining, splitting -------------------------------------------------------------------
inline constexpr const char* kCopyNeg = "Len < 0 or Index < 0 VecIndex < 0";
inline constexpr const char* kCopyIndexLen = "Index+Len > Length";
inline constexpr const char* kCopyVecIndexLen = "VecIndex+Len > Vec.Length";
inline constexpr const char* kCopyComplex = "Vec.Complex <> Complex";
inline constexpr const char* kSelfVec1 = "Self = Vec1";
inline constexpr const char* kSelfVec2 = "Self = Vec2";
inline constexpr const char* kComplexMtx = "Complex <> Mtx.Complex";
inline constexpr const char* kStartPos = "(StartPos+Len) > Mtx.Rows*Mtx.Cols";
// Negative arguments of CopyMtx.
inline constexpr const char* kCopyMtxNeg = "(Len < 0) or (Index < 0) or (Row < 0) or (Col < 0)";
inline constexpr const char* kRevVecLen = "(Len + VecIndex) > Vec.Length";
inline constexpr const char* kRevLen = "(Len + Index) > fLength";
inline constexpr const char* kSrcComplex = "src[i].Complex <> src[0].Complex";
inline constexpr const char* kConcatLen = "(Index + Sum(Src[i].Length)) > Length";
// A negative Index of Concat.
inline constexpr const char* kConcatIndex = "Index < 0";
inline constexpr const char* kOffsetLength = "Offset > fLength";
// Split into one vector given twice, or a negative Offset.
inline constexpr const char* kVec1Vec2 = "Vec1 = Vec2";
inline constexpr const char* kOffsetNeg = "Offset < 0";
inline constexpr const char* kSizeMismatch = "Size mismatch at vec ";
inline constexpr const char* kHighDst = "High(Dst) <> High(DstSize)";
inline constexpr const char* kLengthExceeded = "Self.Length exceeded at vec ";
// A negative piece size of the sized Split.
inline constexpr const char* kDstSizeNeg = "DstSize[i] < 0";
// Destinations of which one views the other's memory (sizing one would free or overwrite what the other holds).
inline constexpr const char* kVec1Vec2Shared = "Vec1 and Vec2 share memory";
inline constexpr const char* kDstShared = "Dst[i] and Dst[j] share memory";

// ---- Gather and Scatter -------------------------------------------------------------------------------------
inline constexpr const char* kOffsetIncrement = "Offset > (Increment-1)";
// An Increment below 1 (0 would divide by zero, a negative one give a negative length).
inline constexpr const char* kIncrement = "Increment < 1";
inline constexpr const char* kGatherIndex = "Indexes.Values[Indexes.length-1] > (X.Length-1)";
inline constexpr const char* kGatherMask = "X.Length <> Indexes.Length";
inline constexpr const char* kIndexesComplex = "Indexes.Complex = True";
inline constexpr const char* kXComplex = "X.Complex <> Complex";
inline constexpr const char* kScatterIncrement = "Length < X.Length*Increment";
inline constexpr const char* kFComplexX = "FComplex <> X.Complex";
inline constexpr const char* kScatterIndex = "Length < (Indexes.Values[Indexes.Length-1]-1)";
inline constexpr const char* kScatterMask = "i > X.Length";
// An index entry below 0 (or not a number), and an X too short for the index vector of Scatter.
inline constexpr const char* kIndexNeg = "Indexes.Values[i] < 0";
inline constexpr const char* kScatterSource = "X.Length < Indexes.Length";

// ---- Complex parts ------------------------------------------------------------------------------------------
inline constexpr const char* kCartNotComplex = "TVec.CartToPolar: Not complex!";
inline constexpr const char* kSelfAmplPhase = "(Self = AmpltVec) or (Self = PhaseVec)";
inline constexpr const char* kAmplComplex = "AmpltVec.Complex = True";
inline constexpr const char* kPhaseComplex = "PhaseVec.Complex = True";
inline constexpr const char* kAmplPhaseLength = "AmpltVec.Length <> PhaseVec.Length";
inline constexpr const char* kAIndexLen = "(AIndex + Len) > Length";
inline constexpr const char* kPIndexLen = "(PIndex + Len) > Length";
inline constexpr const char* kComplexFalse = "Complex = False";
inline constexpr const char* kComplexTrue = "Complex = True";
inline constexpr const char* kVecLengthZero = "Vec.Length = 0";
inline constexpr const char* kVecComplexFalse = "Vec.Complex = False";
inline constexpr const char* kReIndexLen = "(ReIndex + Len) > ReVec.Length";
inline constexpr const char* kImIndexLen = "(ImIndex + Len) > ImVec.Length";
inline constexpr const char* kReComplex = "ReVec.Complex = True";
inline constexpr const char* kImComplex = "ImVec.Complex = True";
inline constexpr const char* kSelfReIm = "(Self = ReVec) or (Self = ImVec)";
inline constexpr const char* kReImLength = "ReVec.Length <> ImVec.Length";
// One vector for both parts of CplxToReal (the imaginary parts would overwrite the real ones).
inline constexpr const char* kReIm = "ReVec = ImVec";
// Two outputs of which one views the other's memory (sizing one would free or overwrite what the other holds).
inline constexpr const char* kAmplPhaseShared = "AmpltVec and PhaseVec share memory";
inline constexpr const char* kReImShared = "ReVec and ImVec share memory";
inline constexpr const char* kSelfSrc = "Self = Src";
inline constexpr const char* kMulISelf = "Self = Vec and (XIndex <> Index)";
inline constexpr const char* kRealXLen = "(X.Complex = false) and (Len = -1)";
inline constexpr const char* kSelfOmega = "Self = Omega";
inline constexpr const char* kOmegaIndexLen = "OmegaIndex + Len) > Omega.Length";
inline constexpr const char* kOmegaComplex = "Omega.Complex := True";
// A length below -1 (the whole-vector default) in the forms Op (X, XIndex, Index, Len).
inline constexpr const char* kLenBelowDefault = "Len < -1";
// Negative arguments of Expj and of the whole-vector-default forms.
inline constexpr const char* kExpjNeg = "(Len <= 0) or (Index < 0) or (OmegaIndex < 0)";
inline constexpr const char* kNegX = "(Index < 0) or (XIndex < 0)";

}  // namespace tarnel::msg

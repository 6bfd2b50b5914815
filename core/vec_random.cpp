// Random fills of vectors and matrices on the signal library's generators, one uniform and one normal generator
// per object.
//
// A fill (re)initialises its generator when the generator is unset or the parameters changed, and otherwise
// continues its sequence. An initialisation from a random seed takes Random($7FFEFFFF) + $10000 from the run-time
// generator and then discards c + N values, c = Random(100) + 100 and N the object's element count, by filling the
// object itself; a seeded initialisation and a continuing fill draw nothing from the run-time generator. A random
// initialisation records no seed (NaN), so that a later seeded fill never takes the random sequence for its own.
#include <cmath>
#include <cstring>

#include "core/Raroz.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"
#include "platform/rtl/Random.h"

namespace tarnel {

namespace {

enum class TKind { Uniform, Gauss };

// One object's data and the generator a fill runs on.
struct TTarget {
    void* State;
    double* Data;
    std::int64_t Count;  // elements
    bool Complex;
    TKind Kind;
};

// Count elements from the start of the data.
void Draw(const TTarget& T, std::int64_t Count)
{
    const int n = static_cast<int>(Count);
    if (T.Kind == TKind::Uniform) {
        auto* st = static_cast<NSPDRandUniState*>(T.State);
        if (T.Complex) {
            nspzbRandUni(st, reinterpret_cast<TCplx*>(T.Data), n);
        } else {
            nspdbRandUni(st, T.Data, n);
        }
    } else {
        auto* st = static_cast<NSPDRandGausState*>(T.State);
        if (T.Complex) {
            nspzbRandGaus(st, reinterpret_cast<TCplx*>(T.Data), n);
        } else {
            nspdbRandGaus(st, T.Data, n);
        }
    }
}

// The generator's parameters: the first two Doubles of its state ((low, high) or (mean, stdDev)).
void StateParams(const void* State, double& A, double& B)
{
    double p[2];
    std::memcpy(p, State, sizeof p);
    A = p[0];
    B = p[1];
}

struct TInit {
    bool Needed;
    bool RandomSeed;  // a random seed, then the warm-up when the form has one
    double Seed;
    double A, B;
};

// Steps 2 to 4 of every fill on a non-empty object.
void Fill(const TTarget& T, const TInit& I, bool& Flag, bool WarmUp)
{
    if (I.Needed) {
        const double seed = I.RandomSeed ? static_cast<double>(Random(0x7FFEFFFF) + 0x10000) : I.Seed;
        if (T.Kind == TKind::Uniform) {
            nspdRandUniInit(seed, I.A, I.B, static_cast<NSPDRandUniState*>(T.State));
        } else {
            nspdRandGausInit(seed, I.A, I.B, static_cast<NSPDRandGausState*>(T.State));
        }
        Flag = true;
        if (I.RandomSeed && WarmUp) {
            // Whole fills (c div N) + 1 times and the first c mod N elements once: c + N values.
            const std::int64_t c = Random(100) + 100;
            for (std::int64_t i = 0; i <= c / T.Count; ++i) Draw(T, T.Count);
            if (c % T.Count != 0) Draw(T, c % T.Count);
        }
    }
    Draw(T, T.Count);
}

TTarget VecTarget(TVecs& V, TKind Kind)
{
    return {Kind == TKind::Uniform ? V.UniformState() : V.GaussState(), V.Values(), V.Length(), V.Complex(), Kind};
}

TTarget MtxTarget(TMtx1& M, TKind Kind)
{
    return {Kind == TKind::Uniform ? M.UniformState() : M.GaussState(), M.Values(),
            static_cast<std::int64_t>(M.Rows()) * M.Cols(), M.Complex(), Kind};
}

// The Gaussian forms: a change of Mean or StdDev against the generator's own re-initialises it.
bool GaussChanged(const void* State, double Mean, double StdDev)
{
    double m, s;
    StateParams(State, m, s);
    return Mean != m || StdDev != s;
}

}  // namespace

// ---- Vectors ------------------------------------------------------------------------------------------------------

TVecs& TVecs::RandUniform(double Low, double High)
{
    if (FLength == 0) return *this;
    TRandParams& p = FRandParams;
    const bool init = !FUniformSet || Low != p.UniformLow || High != p.UniformHigh;
    if (init) {
        p.UniformLow = Low;
        p.UniformHigh = High;
        p.UniformSeed = NAN;
    }
    Fill(VecTarget(*this, TKind::Uniform), {init, true, 0, Low, High}, FUniformSet, true);
    return *this;
}

TVec& TVec::RandUniform(double Seed, double Low, double High)
{
    if (FLength == 0) return *this;
    TRandParams& p = FRandParams;
    const bool init = !FUniformSet || Low != p.UniformLow || High != p.UniformHigh || Seed != p.UniformSeed;
    if (init) p = {Low, High, Seed, p.GaussSeed};
    Fill(VecTarget(*this, TKind::Uniform), {init, false, Seed, Low, High}, FUniformSet, false);
    return *this;
}

TVec1& TVec1::RandUniform()
{
    if (FLength == 0) return *this;
    const bool init = !FUniformSet;
    if (init) FRandParams.UniformSeed = NAN;
    Fill(VecTarget(*this, TKind::Uniform), {init, true, 0, 0, 1}, FUniformSet, true);
    return *this;
}

TVecs& TVecs::RandGauss(double Mean, double StdDev)
{
    if (FLength == 0) return *this;
    const bool init = !FGaussSet || GaussChanged(FGaussState, Mean, StdDev);
    if (init) FRandParams.GaussSeed = NAN;
    Fill(VecTarget(*this, TKind::Gauss), {init, true, 0, Mean, StdDev}, FGaussSet, true);
    return *this;
}

TVec& TVec::RandGauss(double Seed, double Mean, double StdDev)
{
    if (FLength == 0) return *this;
    const bool init = !FGaussSet || GaussChanged(FGaussState, Mean, StdDev) || Seed != FRandParams.GaussSeed;
    if (init) FRandParams.GaussSeed = Seed;
    Fill(VecTarget(*this, TKind::Gauss), {init, false, Seed, Mean, StdDev}, FGaussSet, false);
    return *this;
}

TVec1& TVec1::RandGauss()
{
    if (FLength == 0) return *this;
    const bool init = !FGaussSet;
    if (init) FRandParams.GaussSeed = NAN;
    Fill(VecTarget(*this, TKind::Gauss), {init, true, 0, 0, 1}, FGaussSet, true);
    return *this;
}

void TVecs::ResetRand()
{
    FGaussSet = false;
    FUniformSet = false;
}

// ---- Matrices: no recorded parameters, the generators' own are compared --------------------------------------------

TMtx& TMtx::RandUniform(double Low, double High)
{
    if (Elements() == 0) return *this;
    double low, high;
    StateParams(FUniformState, low, high);
    const bool init = !FUniformSet || Low != low || High != high;
    Fill(MtxTarget(*this, TKind::Uniform), {init, true, 0, Low, High}, FUniformSet, true);
    return *this;
}

TMtx& TMtx::RandGauss(double Mean, double StdDev)
{
    if (Elements() == 0) return *this;
    const bool init = !FGaussSet || GaussChanged(FGaussState, Mean, StdDev);
    Fill(MtxTarget(*this, TKind::Gauss), {init, true, 0, Mean, StdDev}, FGaussSet, true);
    return *this;
}

TMtx1& TMtx1::RandUniform()
{
    if (Elements() == 0) return *this;
    Fill(MtxTarget(*this, TKind::Uniform), {!FUniformSet, true, 0, 0, 1}, FUniformSet, true);
    return *this;
}

// This form has no warm-up: a fresh generator's first values are the result.
TMtx1& TMtx1::RandGauss()
{
    if (Elements() == 0) return *this;
    Fill(MtxTarget(*this, TKind::Gauss), {!FGaussSet, true, 0, 0, 1}, FGaussSet, false);
    return *this;
}

void TMtx1::ResetRand()
{
    FGaussSet = false;
    FUniformSet = false;
}

}  // namespace tarnel

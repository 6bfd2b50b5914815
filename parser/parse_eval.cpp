// Running a compiled expression: the arithmetic operators' routines and the loop that runs the records.
//
// Most of an arithmetic expression's time went on moving values: each record's routine was called, read its
// operands through their references, stored its result, and the next record read that result back from memory, so
// a chain of operations waited for a store and a load at every link. The loop below runs value copies and "+",
// "-", "*", "/" in place and keeps the results of the last two steps in registers, where the next step takes its
// operands from them when it can; every other record is called through its routine. The arithmetic is the
// routines' own (one set of functions below), so both ways give the same bits, and every record's result is written
// as its routine writes it, so ":=" and anything else reading a result through its reference sees what it saw
// before.
#include <cstdint>

#include "parser/MtxParseClass.h"

namespace tarnel {

namespace {

enum TStepKind : std::uint8_t { skRoutine, skCopy, skAdd, skSubtract, skMultiply, skDivide };

// Operands and results are handled as two doubles and a flag (kept apart, not in a struct, so that the compiler
// holds them in registers): the flag says whether the value is complex; a real value is Re with Im = 0, so that
// (Re, Im) is also the value as complex.
inline void Read(const TValueRef& V, double& Re, double& Im, bool& Complex)
{
    Complex = V.IsComplex;
    if (Complex) {
        Re = V.CplxLoc->Re;
        Im = V.CplxLoc->Im;
    } else {
        Re = *V.RealLoc;
        Im = 0.0;
    }
}

inline void Write(TExprRec& R, double Re, double Im, bool Complex)
{
    if (Complex) {
        SetResult(R, TCplx{Re, Im});
    } else {
        SetResult(R, Re);
    }
}

inline bool Take(const TCplx& Z, double& Re, double& Im)
{
    Re = Z.Re;
    Im = Z.Im;
    return true;
}

// The four operations: (Re, Im) = a op b, the result's form returned. A real operand meeting a complex one takes
// part through the Dovi387 real-and-complex forms.
inline bool Sum(double ar, double ai, bool ac, double br, double bi, bool bc, double& Re, double& Im)
{
    if (!ac && !bc) {
        Re = ar + br;
        Im = 0.0;
        return false;
    }
    if (!bc) return Take(CAdd(TCplx{ar, ai}, br), Re, Im);
    if (!ac) return Take(CAdd(ar, TCplx{br, bi}), Re, Im);
    return Take(CAdd(TCplx{ar, ai}, TCplx{br, bi}), Re, Im);
}

inline bool Difference(double ar, double ai, bool ac, double br, double bi, bool bc, double& Re, double& Im)
{
    if (!ac && !bc) {
        Re = ar - br;
        Im = 0.0;
        return false;
    }
    if (!bc) return Take(CSub(TCplx{ar, ai}, br), Re, Im);
    if (!ac) return Take(CSub(ar, TCplx{br, bi}), Re, Im);
    return Take(CSub(TCplx{ar, ai}, TCplx{br, bi}), Re, Im);
}

inline bool Product(double ar, double ai, bool ac, double br, double bi, bool bc, double& Re, double& Im)
{
    if (!ac && !bc) {
        Re = ar * br;
        Im = 0.0;
        return false;
    }
    if (!bc) return Take(CMul(TCplx{ar, ai}, br), Re, Im);
    if (!ac) return Take(CMul(ar, TCplx{br, bi}), Re, Im);
    return Take(CMul(TCplx{ar, ai}, TCplx{br, bi}), Re, Im);
}

inline bool Ratio(double ar, double ai, bool ac, double br, double bi, bool bc, double& Re, double& Im)
{
    if (!ac && !bc) {
        Re = ar / br;
        Im = 0.0;
        return false;
    }
    return Take(Quotient(TCplx{ar, ai}, TCplx{br, bi}), Re, Im);
}

TStepKind KindOf(TExprRoutine Routine)
{
    if (Routine == &CopyValue) return skCopy;
    if (Routine == &AddOperands) return skAdd;
    if (Routine == &SubtractOperands) return skSubtract;
    if (Routine == &MultiplyOperands) return skMultiply;
    if (Routine == &DivideOperands) return skDivide;
    return skRoutine;
}

// The routines: both operands read through their references, the result written to the record.
template <bool (*F)(double, double, bool, double, double, bool, double&, double&)>
void Operate(TExprRec& Rec)
{
    double ar, ai, br, bi, re, im;
    bool ac, bc;
    Read(*Rec.Args[0], ar, ai, ac);
    Read(*Rec.Args[1], br, bi, bc);
    Write(Rec, re, im, F(ar, ai, ac, br, bi, bc, re, im));
}

// The results of the last two steps run in the loop: (Re, Im, Complex) of the step just before, (BeforeRe,
// BeforeIm, BeforeComplex) of the one before it. SetHead lets a step use them only where those steps did run in the
// loop, one right after the other.
struct TWindow {
    double Re = 0.0, Im = 0.0;
    bool Complex = false;
    double BeforeRe = 0.0, BeforeIm = 0.0;
    bool BeforeComplex = false;
};

// One step of the loop in the form Form names: 0 both operands read through their references, 1 the first operand
// is the last result, 2 the second one is, 3 the first is the result before the last and the second the last. The
// result goes to the record and becomes the last one.
template <bool (*F)(double, double, bool, double, double, bool, double&, double&), unsigned Form>
inline void Binary(TExprRec& R, TWindow& W)
{
    double ar, ai, br, bi;
    bool ac, bc;
    if constexpr (Form == 1) {
        ar = W.Re, ai = W.Im, ac = W.Complex;
    } else if constexpr (Form == 3) {
        ar = W.BeforeRe, ai = W.BeforeIm, ac = W.BeforeComplex;
    } else {
        Read(*R.Args[0], ar, ai, ac);
    }
    if constexpr (Form >= 2) {
        br = W.Re, bi = W.Im, bc = W.Complex;
    } else {
        Read(*R.Args[1], br, bi, bc);
    }
    W.BeforeRe = W.Re, W.BeforeIm = W.Im, W.BeforeComplex = W.Complex;
    W.Complex = F(ar, ai, ac, br, bi, bc, W.Re, W.Im);
    Write(R, W.Re, W.Im, W.Complex);
}

}  // namespace

void AddOperands(TExprRec& Rec)
{
    Operate<Sum>(Rec);
}

void SubtractOperands(TExprRec& Rec)
{
    Operate<Difference>(Rec);
}

void MultiplyOperands(TExprRec& Rec)
{
    Operate<Product>(Rec);
}

void DivideOperands(TExprRec& Rec)
{
    Operate<Ratio>(Rec);
}

void TCompiledExpression::SetHead(TExprRec* Head)
{
    FHead = Head;
    FSteps.clear();
    // The steps one and two before, where the loop holds their results.
    const TExprRec* last = nullptr;
    const TExprRec* before = nullptr;
    for (TExprRec* r = Head; r != nullptr; r = r->Next) {
        const TStepKind kind = KindOf(r->Routine);
        unsigned form = 0;
        if (kind != skRoutine && kind != skCopy && last != nullptr) {
            if (r->Args[1] == &last->Result) {
                form = before != nullptr && r->Args[0] == &before->Result ? 3 : 2;
            } else if (r->Args[0] == &last->Result) {
                form = 1;
            }
        }
        FSteps.push_back({r, static_cast<std::uint8_t>(kind * 4u + form)});
        before = last;
        last = kind != skRoutine ? r : nullptr;
    }
}

// An operand is taken from the loop's registers only because the step that computed it wrote exactly that value
// through the reference: a record's result is read by its parent alone, so nothing rebinds it in between.
const TValueRef* TCompiledExpression::Evaluate() const
{
    TWindow w;
    for (const TStep& s : FSteps) {
        TExprRec& r = *s.Rec;
        switch (s.Code) {
            case skRoutine * 4:
                r.Routine(r);
                break;
            case skCopy * 4:
                w.BeforeRe = w.Re, w.BeforeIm = w.Im, w.BeforeComplex = w.Complex;
                Read(*r.Args[0], w.Re, w.Im, w.Complex);
                Write(r, w.Re, w.Im, w.Complex);
                break;
            case skAdd * 4:
                Binary<Sum, 0>(r, w);
                break;
            case skAdd * 4 + 1:
                Binary<Sum, 1>(r, w);
                break;
            case skAdd * 4 + 2:
                Binary<Sum, 2>(r, w);
                break;
            case skAdd * 4 + 3:
                Binary<Sum, 3>(r, w);
                break;
            case skSubtract * 4:
                Binary<Difference, 0>(r, w);
                break;
            case skSubtract * 4 + 1:
                Binary<Difference, 1>(r, w);
                break;
            case skSubtract * 4 + 2:
                Binary<Difference, 2>(r, w);
                break;
            case skSubtract * 4 + 3:
                Binary<Difference, 3>(r, w);
                break;
            case skMultiply * 4:
                Binary<Product, 0>(r, w);
                break;
            case skMultiply * 4 + 1:
                Binary<Product, 1>(r, w);
                break;
            case skMultiply * 4 + 2:
                Binary<Product, 2>(r, w);
                break;
            case skMultiply * 4 + 3:
                Binary<Product, 3>(r, w);
                break;
            case skDivide * 4:
                Binary<Ratio, 0>(r, w);
                break;
            case skDivide * 4 + 1:
                Binary<Ratio, 1>(r, w);
                break;
            case skDivide * 4 + 2:
                Binary<Ratio, 2>(r, w);
                break;
            default:
                Binary<Ratio, 3>(r, w);
                break;
        }
    }
    return FSteps.empty() ? nullptr : &FSteps.back().Rec->Result;
}

}  // namespace tarnel

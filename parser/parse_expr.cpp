// The expression parser class: the list of expressions and their compiled forms, the current expression, bound
// variables, evaluation and the stream record.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/messages.h"
#include "parser/MtxParseExpr.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Fpu.h"
#include "platform/rtl/NumText.h"

namespace tarnel {

namespace {

// A record's result names storage other than its own slots (":=" rebound it).
bool Rebound(const TExprRec& R)
{
    return R.Result.CplxLoc != &R.CplxValue;
}

// A record takes the value its result names into its own slots.
void TakeValue(TExprRec& R)
{
    const TValueRef r = R.Result;
    if (r.IsComplex) {
        R.CplxValue = *r.CplxLoc;
    } else {
        R.RealValue = *r.RealLoc;
    }
    R.Result = TValueRef{&R.CplxValue, &R.RealValue, r.IsComplex};
}

// The words that hold a value of their own and may be rebound.
TDoubleConstant* Holder(TExprWord* W)
{
    return W->IsValueWord() ? dynamic_cast<TDoubleConstant*>(W) : nullptr;
}

// Every word rebound to storage that Freed names takes its value.
template <class Pred>
void TakeValues(const std::vector<TExprWord*>& Words, Pred Freed)
{
    for (TExprWord* w : Words) {
        TDoubleConstant* c = Holder(w);
        if (c != nullptr && c->Rebound() && Freed(c->ValueRef()->CplxLoc)) c->TakeValue();
    }
}

}  // namespace

TMtxExpression1::TMtxExpression1() : FSeparator(DecimalSeparator() == ',' ? ';' : ',')
{
    FContext.Dictionary = &FDictionary;
    FContext.Constants = &FConstants;
}

TMtxExpression1::~TMtxExpression1()
{
    OnChange = nullptr;
    try {
        Clear();
    } catch (...) {
    }
}

// ---- The language ------------------------------------------------------------------------------------------------

void TMtxExpression1::DefineWords()
{
    const Word saved = Get8087CW();
    Set8087CW(Tarnel8087CW);
    try {
        DefineBuiltinWords(FDictionary, FSeparator);
    } catch (...) {
        Set8087CW(saved);
        throw;
    }
    ClearFPU();
    Set8087CW(saved);
}

void TMtxExpression1::EnsureWords()
{
    if (FWordsDefined) return;
    FWordsDefined = true;  // a DefineWords that defines variables comes back here
    try {
        DefineWords();
    } catch (...) {
        FDictionary.ReleaseAll();
        FWordsDefined = false;
        throw;
    }
    FAssign = dynamic_cast<TAssignWord*>(FDictionary.Find(":="));
}

void TMtxExpression1::DefineVariable(std::string_view Name, TCplx& Value)
{
    EnsureWords();
    auto v = std::make_unique<TDoubleVariable>(Name, Value);
    if (FDictionary.InsertItem(v.get())) v.release();
}

TExprWord* TMtxExpression1::Words(int Index)
{
    EnsureWords();
    return FDictionary.Items(Index);
}

int TMtxExpression1::WordCount()
{
    EnsureWords();
    return FDictionary.Count();
}

std::unique_ptr<TCompiledExpression> TMtxExpression1::CompileText(std::string_view Text)
{
    EnsureWords();
    FContext.HexChar = FHexChar;
    FContext.Optimize = FOptimize;
    return Compile(FContext, Text);
}

// ---- Freeing storage that names may be bound to ------------------------------------------------------------------

void TMtxExpression1::Release(TCompiledExpression* Freed)
{
    if (Freed == nullptr) return;
    if (!FClearing && FAssign != nullptr && FAssign->HasRun()) {
        auto freed = [Freed](const void* p) { return Freed->Holds(p); };
        TakeValues(FDictionary.List(), freed);
        TakeValues(FConstants.List(), freed);
        for (int i = 0; i < Count(); ++i) {
            TCompiledExpression* e = Compiled(i);
            if (e == nullptr || e == Freed) continue;
            e->ForEachRecord([&](TExprRec& r) {
                if (Rebound(r) && freed(r.Result.CplxLoc)) TakeValue(r);
            });
        }
    }
    delete Freed;
}

// ---- The list ------------------------------------------------------------------------------------------------------

void TMtxExpression1::SetCurrentIndex(int Value)
{
    FCurrentIndex = Value;
    FCurrent = Value >= 0 && Value < Count() ? Compiled(Value) : nullptr;
}

int TMtxExpression1::AddObject(const std::string& Text, void* Object)
{
    if (Sorted()) ERaise(msg::kExpressionsNotSorted);
    const int index = Count();
    InsertItem(index, Text, Object);
    return index;
}

int TMtxExpression1::Add(const std::string& Text)
{
    if (Text.empty()) {
        FCurrentIndex = -1;
        return -1;
    }
    std::unique_ptr<TCompiledExpression> compiled = CompileText(Text);
    int index = -1;
    Updating([&] {
        AddObject(Text, compiled.get());
        compiled.release();
        while (Count() > 0 && Count() > FMaxExpressions) Delete(0);
        index = FMaxExpressions > 0 ? Count() - 1 : -1;
        SetCurrentIndex(index);
    });
    return index;
}

void TMtxExpression1::Insert(int Index, const std::string& Text)
{
    if (Index != Count()) Checked(Index);  // Count itself appends
    Updating([&] {
        const int added = Add(Text);
        if (added >= 0 && Index < added) Exchange(added, Index);
    });
}

void TMtxExpression1::Exchange(int I, int J)
{
    Updating([&] {
        TStringList::Exchange(I, J);
        if (FCurrentIndex == I) {
            FCurrentIndex = J;
        } else if (FCurrentIndex == J) {
            FCurrentIndex = I;
        }
    });
}

void TMtxExpression1::SetSorted(bool Value)
{
    Updating([&] {
        TStringList::SetSorted(Value);
        for (int i = 0; FCurrentIndex >= 0 && i < Count(); ++i) {
            if (Compiled(i) == FCurrent) FCurrentIndex = i;
        }
    });
}

void TMtxExpression1::Delete(int Index)
{
    Checked(Index);
    Updating([&] {
        TCompiledExpression* freed = Compiled(Index);
        TStringList::Delete(Index);
        if (FCurrent == freed) FCurrent = nullptr;
        Release(freed);
        SetCurrentIndex(Count() == 0 ? -1 : std::min(FCurrentIndex, Count() - 1));
    });
}

void TMtxExpression1::Clear()
{
    Updating([&] {
        // Everything the expressions and the constants hold goes: only the dictionary's words stay.
        if (FAssign != nullptr && FAssign->HasRun()) {
            auto goes = [this](const void* p) {
                for (int i = 0; i < Count(); ++i) {
                    if (Compiled(i) != nullptr && Compiled(i)->Holds(p)) return true;
                }
                return std::any_of(FConstants.List().begin(), FConstants.List().end(), [p](TExprWord* w) {
                    const TDoubleConstant* c = Holder(w);
                    return c != nullptr && &c->CValue() == p;
                });
            };
            TakeValues(FDictionary.List(), goes);
        }
        FClearing = true;
        for (int i = Count() - 1; i >= 0; --i) Delete(i);
        FClearing = false;
        FConstants.ReleaseAll();
        SetCurrentIndex(-1);
    });
}

void TMtxExpression1::Put(int Index, const std::string& Text)
{
    if (Sorted()) throw EListError(kSortedListError);
    Checked(Index);
    std::unique_ptr<TCompiledExpression> compiled = CompileText(Text);
    Updating([&] {
        TCompiledExpression* old = Compiled(Index);
        PutItem(Index, Text, compiled.get());
        TCompiledExpression* now = compiled.release();
        if (FCurrentIndex == Index || (old != nullptr && FCurrent == old)) FCurrent = now;
        Release(old);
    });
}

// ---- Streams -------------------------------------------------------------------------------------------------------

void TMtxExpression1::SaveToStream(TStream& Stream) const
{
    std::string text;
    for (int i = 0; i < Count(); ++i) text += Line(i) + "\r\n";
    if (text.size() > static_cast<std::size_t>(INT32_MAX)) throw EWriteError();
    const auto n = static_cast<std::int32_t>(text.size());
    unsigned char length[4];
    for (int k = 0; k < 4; ++k) length[k] = static_cast<unsigned char>(static_cast<std::uint32_t>(n) >> (8 * k));
    Stream.WriteBuffer(length, 4);
    Stream.WriteBuffer(text.data(), n);
}

void TMtxExpression1::LoadFromStream(TStream& Stream)
{
    unsigned char length[4];
    Stream.ReadBuffer(length, 4);
    std::uint32_t u = 0;
    for (int k = 0; k < 4; ++k) u |= static_cast<std::uint32_t>(length[k]) << (8 * k);
    const auto n = static_cast<std::int32_t>(u);
    if (n < 0 || n > Stream.Size() - Stream.Position()) {
        Stream.Seek(-4, soCurrent);
        throw EReadError();
    }
    std::string text(static_cast<std::size_t>(n), '\0');
    Stream.ReadBuffer(text.data(), n);
    Updating([&] {
        Clear();
        for (const std::string& line : SplitLines(text)) Add(line);
    });
}

// ---- Evaluation ----------------------------------------------------------------------------------------------------

const TValueRef& TMtxExpression1::Evaluated()
{
    if (FCurrent == nullptr || FCurrent->Head() == nullptr) ERaise(msg::kNoExpression);
    return *FCurrent->Evaluate();
}

double TMtxExpression1::AsFloat()
{
    const TValueRef& v = Evaluated();
    return v.IsComplex ? v.CplxLoc->Re : *v.RealLoc;
}

TCplx TMtxExpression1::AsCplx()
{
    const TValueRef& v = Evaluated();
    return v.IsComplex ? *v.CplxLoc : TCplx{*v.RealLoc, 0};
}

std::string TMtxExpression1::AsHexadecimal()
{
    const double v = std::nearbyint(AsFloat());
    // The 64-bit integer-indefinite value where the rounded value has no 64-bit integer.
    std::int64_t n = INT64_MIN;
    if (std::fabs(v) < 0x1p63) n = static_cast<std::int64_t>(v);
    const TVarRec args[] = {n};
    return std::string(1, FHexChar) + Format("%x", args);
}

int TMtxExpression1::OperationCount() const
{
    if (FCurrentIndex < 0) return 0;
    const TCompiledExpression* e = Compiled(FCurrentIndex);
    return e != nullptr ? e->OperationCount() : 0;
}

}  // namespace tarnel

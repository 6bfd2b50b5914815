// The words of the expression language, the dictionary's order, and the records a compiled expression runs.
#include <algorithm>
#include <cstring>

#include "core/messages.h"
#include "parser/MtxParseClass.h"

namespace tarnel {

namespace {

char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowered(std::string_view Name)
{
    std::string s(Name);
    for (char& c : s) c = LowerAscii(c);
    return s;
}

// The string comparisons by their operator's name, in FOp order.
constexpr std::string_view kStringOps[] = {"=", ">", "<", ">=", "<=", "in"};

}  // namespace

// ---- Routines of this module ----------------------------------------------------------------------------------

void CopyValue(TExprRec& Rec)
{
    const TValueRef& a = *Rec.Args[0];
    if (a.IsComplex) {
        Rec.CplxValue = *a.CplxLoc;
        Rec.Result.IsComplex = true;
    } else {
        Rec.RealValue = *a.RealLoc;
        Rec.Result.IsComplex = false;
    }
}

void CompareStrings(TExprRec& Rec)
{
    const auto* op = dynamic_cast<const TLogicalStringOper*>(Rec.Word);
    SetResult(Rec, op != nullptr && op->Compare() ? 1.0 : 0.0);
}

// ---- Words ------------------------------------------------------------------------------------------------------

TExprWord::TExprWord(std::string_view Name, TExprRoutine Routine) : FName(Lowered(Name)), FRoutine(Routine) {}

TDoubleConstant::TDoubleConstant(std::string_view Name, std::string_view Text)
    : TExprWord(Name, &CopyValue), FValue(NAN), FCValue(CNAN)
{
    if (Text.empty()) {
        Bind(false);  // CNAN's imaginary part is NaN, which is <> 0: the stated outcome is the real NaN
        return;
    }
    FCValue = StrToCplx(Text);
    FValue = FCValue.Re;
    Bind(FCValue.Im != 0);
}

TDoubleConstant::TDoubleConstant(std::string_view Name, double X)
    : TExprWord(Name, &CopyValue), FValue(X), FCValue{X, 0}
{
    Bind(false);
}

TDoubleConstant::TDoubleConstant(std::string_view Name, const TCplx& Value)
    : TExprWord(Name, &CopyValue), FValue(Value.Re), FCValue(Value)
{
    Bind(Value.Im != 0);
}

void TDoubleConstant::Bind(bool Complex)
{
    FRef = TValueRef{&FCValue, &FValue, Complex};
}

void TDoubleConstant::TakeValue()
{
    const TValueRef r = FRef;
    FCValue = r.IsComplex ? *r.CplxLoc : TCplx{*r.RealLoc, 0};
    FValue = r.IsComplex ? FCValue.Re : *r.RealLoc;
    FRef = TValueRef{&FCValue, &FValue, r.IsComplex};
}

TDoubleVariable::TDoubleVariable(std::string_view Name, TCplx& Value)
    : TExprWord(Name, &CopyValue), FRef{&Value, &Value.Re, true}
{
}

TStringConstant::TStringConstant(std::string_view Token) : TExprWord(Token, &CopyValue)
{
    const bool quoted = Token.size() >= 2 && Token.front() == '\'' && Token.back() == '\'';
    FText = quoted ? std::string(Token.substr(1, Token.size() - 2)) : std::string(Token);
}

TFunction::TFunction(std::string_view Name, TExprRoutine Routine, int ArgCount)
    : TFunction(Name, Routine, ArgCount, false, 0)
{
}

TFunction::TFunction(std::string_view Name, TExprRoutine Routine, int ArgCount, bool IsOperator, int Precedence)
    : TExprWord(Name, Routine), FIsOperator(IsOperator), FPrecedence(Precedence), FArgCount(ArgCount)
{
    if (ArgCount > kMaxArgs) throw EParserException(msg::kTooManyArguments);
}

TLogicalStringOper::TLogicalStringOper(std::string_view OpName, TExprWord* Left, TExprWord* Right)
    : TExprWord(OpName, &CompareStrings), FOp(0), FLeft(Left), FRight(Right)
{
    const auto* at = std::find(std::begin(kStringOps), std::end(kStringOps), std::string_view(FName));
    if (at == std::end(kStringOps)) throw EParserException(FName + msg::kNotStringOperand);
    FOp = static_cast<std::uint8_t>(at - std::begin(kStringOps));
}

bool TLogicalStringOper::Compare() const
{
    const std::string left = FLeft->AsString();
    const std::string right = FRight->AsString();
    const int c = left.compare(right);  // byte by byte, as unsigned characters
    switch (FOp) {
        case 0:
            return c == 0;
        case 1:
            return c > 0;
        case 2:
            return c < 0;
        case 3:
            return c >= 0;
        case 4:
            return c <= 0;
        default: {
            // "in": one of the items of the right text split at every ","; items keep their blanks
            std::string_view rest(right);
            for (;;) {
                const std::size_t comma = rest.find(',');
                if (rest.substr(0, comma) == left) return true;
                if (comma == std::string_view::npos) return false;
                rest.remove_prefix(comma + 1);
            }
        }
    }
}

// ---- The dictionary -------------------------------------------------------------------------------------------

int TExpressList::CompareKeys(std::string_view Key1, std::string_view Key2) const
{
    const std::size_t n = std::min(Key1.size(), Key2.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto a = static_cast<unsigned char>(UpperAscii(Key1[i]));
        const auto b = static_cast<unsigned char>(UpperAscii(Key2[i]));
        if (a != b) return a < b ? -1 : 1;
    }
    return Key1.size() == Key2.size() ? 0 : (Key1.size() < Key2.size() ? -1 : 1);
}

TExprWord* TExpressList::Find(std::string_view Name) const
{
    int Index;
    return SearchKey(Name, Index) ? FItems[static_cast<std::size_t>(Index)] : nullptr;
}

// ---- Records ----------------------------------------------------------------------------------------------------

const TValueRef* Evaluate(TExprRec* Head)
{
    TExprRec* last = nullptr;
    for (TExprRec* r = Head; r != nullptr; r = r->Next) {
        r->Routine(*r);
        last = r;
    }
    return last != nullptr ? &last->Result : nullptr;
}

TCompiledExpression::TCompiledExpression() = default;
TCompiledExpression::~TCompiledExpression() = default;

int TCompiledExpression::OperationCount() const
{
    int n = 0;
    for (const TExprRec* r = FHead; r != nullptr; r = r->Next) n += r->Word->IsValueWord() ? 0 : 1;
    return n;
}

TExprRec* TCompiledExpression::NewRecord()
{
    if (FBlocks.empty() || FUsed == BlockSize(FBlocks.size() - 1)) {
        FBlocks.push_back(std::make_unique_for_overwrite<TExprRec[]>(BlockSize(FBlocks.size())));
        FUsed = 0;
    }
    TExprRec* r = &FBlocks.back()[FUsed++];
    *r = TExprRec{};
    r->Result = TValueRef{&r->CplxValue, &r->RealValue, false};
    return r;
}

bool TCompiledExpression::Holds(const void* Address) const
{
    const auto a = reinterpret_cast<std::uintptr_t>(Address);
    for (std::size_t b = 0; b < FBlocks.size(); ++b) {
        const auto lo = reinterpret_cast<std::uintptr_t>(FBlocks[b].get());
        if (a >= lo && a < lo + BlockSize(b) * sizeof(TExprRec)) return true;
    }
    return false;
}

void TExprList::Append(TExprRec* Rec)
{
    Rec->Next = nullptr;
    if (Head == nullptr) {
        Head = Rec;
    } else {
        Tail->Next = Rec;
    }
    Tail = Rec;
}

}  // namespace tarnel

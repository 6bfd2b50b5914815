// The expression compiler: the words of the language, the dictionary, and the machinery that turns a text into a
// list of operation records evaluated without allocating or looking anything up.
//
// Compiling runs Tokenize (text to words), CheckSyntax (checks and rewrites the sequence), the tree builder (the
// language's precedence), the argument check, constant folding and linking. Each compiled expression owns its
// records; its words belong to the dictionary or the constant list of the compile context.
//
// Limits: a text longer than kMaxExpressionLength characters and an expression nested deeper than kMaxNesting
// levels (brackets, calls and operands of a looser operator around tighter ones) are refused with an
// EParserException, so that no text can exhaust the stack or take more than linear time per level.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Dovi387.h"
#include "parser/MtxParseObjects.h"
#include "platform/rtl/SysUtils.h"

namespace tarnel {

// The parser's syntax errors; the message is the only payload.
class EParserException : public Exception {
public:
    using Exception::Exception;
};

inline constexpr int kMaxArgs = 8;                            // arguments of one function or operator
inline constexpr std::size_t kMaxExpressionLength = 1000000;  // characters of one expression text
inline constexpr int kMaxNesting = 1000;                      // levels of the tree builder

// Where an operand is read and a result published. A reader looks at IsComplex and reads only the form it names,
// always through the reference (":=" rewrites references in place).
struct TValueRef {
    TCplx* CplxLoc;
    double* RealLoc;  // a value that is always complex names its real part here
    bool IsComplex;
};

struct TExprRec;
// Computes one record: reads the references in Args and writes the record's result.
using TExprRoutine = void (*)(TExprRec& Rec);

enum TWordKind { wkNumber = 0, wkBoolean = 1, wkString = 2, wkLeftBracket = 3, wkRightBracket = 4, wkComma = 5 };

// The routine of every value word (number, boolean and string constants, unknown identifiers, bound variables):
// copies the value named by Args[0] into the record's own slots, in its form.
void CopyValue(TExprRec& Rec);
// The routine of TLogicalStringOper: compares the word's two texts; the result is the real 1 or 0.
void CompareStrings(TExprRec& Rec);

// ---- Words ------------------------------------------------------------------------------------------------------

class TExprWord {
public:
    // The name is stored lower-cased.
    TExprWord(std::string_view Name, TExprRoutine Routine);
    TExprWord(const TExprWord&) = delete;
    TExprWord& operator=(const TExprWord&) = delete;
    virtual ~TExprWord() = default;

    const std::string& Name() const { return FName; }
    TExprRoutine Routine() const { return FRoutine; }
    // A word whose routine is CopyValue: an operand, never an operation.
    bool IsValueWord() const { return FRoutine == &CopyValue; }

    virtual bool IsOperator() const { return false; }
    virtual std::string AsString() const { return {}; }
    // Its value may change between evaluations: such words are never folded.
    virtual bool CanVary() const { return false; }
    virtual TWordKind Kind() const { return wkNumber; }
    virtual int ArgCount() const { return 0; }
    virtual TValueRef* ValueRef() { return nullptr; }
    // The caller's value a bound variable reads, which ":=" writes; nil for every other word.
    virtual TCplx* BoundValue() { return nullptr; }
    // Lower numbers bind tighter; functions and operands have 0.
    virtual int Precedence() const { return 0; }

protected:
    std::string FName;
    TExprRoutine FRoutine;
};

// A number. IsComplex is set once, at creation, to Im <> 0; FValue always equals the real part.
class TDoubleConstant : public TExprWord {
public:
    // The value StrToCplx reads from the text; no text is the real NaN.
    TDoubleConstant(std::string_view Name, std::string_view Text);
    TDoubleConstant(std::string_view Name, double X);
    TDoubleConstant(std::string_view Name, const TCplx& Value);

    TValueRef* ValueRef() override { return &FRef; }
    double Value() const { return FValue; }
    const TCplx& CValue() const { return FCValue; }
    // ":=" has bound the word to storage other than its own.
    bool Rebound() const { return FRef.CplxLoc != &FCValue; }
    // Copies the value the word reads now into its own storage and reads that from now on (before the storage it
    // was bound to is freed).
    void TakeValue();

protected:
    double FValue;
    TCplx FCValue;
    TValueRef FRef;

private:
    void Bind(bool Complex);
};

// The 0 or 1 of a folded boolean sub-expression.
class TBooleanConstant : public TDoubleConstant {
public:
    TBooleanConstant(std::string_view Name, double X) : TDoubleConstant(Name, X) {}
    TWordKind Kind() const override { return wkBoolean; }
};

// An identifier the dictionary did not know: the real NaN until ":=" rebinds it.
class TGeneratedVariable : public TDoubleConstant {
public:
    explicit TGeneratedVariable(std::string_view Name) : TDoubleConstant(Name, std::string_view()) {}
    std::string AsString() const override { return FText; }
    TWordKind Kind() const override { return FKind; }
    bool CanVary() const override { return true; }

private:
    const std::string FText;
    const TWordKind FKind = wkNumber;
};

// A name bound to the caller's complex value, read in place at every evaluation (always as complex).
class TDoubleVariable : public TExprWord {
public:
    TDoubleVariable(std::string_view Name, TCplx& Value);
    bool CanVary() const override { return true; }
    TValueRef* ValueRef() override { return &FRef; }
    TCplx* BoundValue() override { return FRef.CplxLoc; }

private:
    TValueRef FRef;
};

// A quoted text: what lies between the quotes, or the whole token when it is not closed.
class TStringConstant : public TExprWord {
public:
    explicit TStringConstant(std::string_view Token);
    std::string AsString() const override { return FText; }
    TWordKind Kind() const override { return wkString; }

private:
    std::string FText;
};

class TLeftBracket : public TExprWord {
public:
    explicit TLeftBracket(std::string_view Name) : TExprWord(Name, nullptr) {}
    TWordKind Kind() const override { return wkLeftBracket; }
};

class TRightBracket : public TExprWord {
public:
    explicit TRightBracket(std::string_view Name) : TExprWord(Name, nullptr) {}
    TWordKind Kind() const override { return wkRightBracket; }
};

// The argument separator; its name is the parser's separator character.
class TComma : public TExprWord {
public:
    explicit TComma(std::string_view Name) : TExprWord(Name, nullptr) {}
    TWordKind Kind() const override { return wkComma; }
};

// A function (precedence 0) or an operator. More than kMaxArgs arguments raise "Too many arguments".
class TFunction : public TExprWord {
public:
    TFunction(std::string_view Name, TExprRoutine Routine, int ArgCount);
    TFunction(std::string_view Name, TExprRoutine Routine, int ArgCount, bool IsOperator, int Precedence);
    bool IsOperator() const override { return FIsOperator; }
    int ArgCount() const override { return FArgCount; }
    int Precedence() const override { return FPrecedence; }

private:
    bool FIsOperator;
    int FPrecedence;
    int FArgCount;
};

// A function whose value may change between evaluations with the same arguments (random numbers).
class TVaryingFunction : public TFunction {
public:
    using TFunction::TFunction;
    bool CanVary() const override { return true; }
};

// A function or operator whose result is the real 1 or 0.
class TBooleanFunction : public TFunction {
public:
    using TFunction::TFunction;
    TWordKind Kind() const override { return wkBoolean; }
};

// A comparison of two strings ("=", ">", "<", ">=", "<=", "in"); another operator raises its name followed by
// " is not a valid string operand".
class TLogicalStringOper : public TExprWord {
public:
    TLogicalStringOper(std::string_view OpName, TExprWord* Left, TExprWord* Right);
    TWordKind Kind() const override { return wkBoolean; }
    bool CanVary() const override { return FLeft->CanVary() || FRight->CanVary(); }
    bool Compare() const;

private:
    std::uint8_t FOp;
    TExprWord* FLeft;
    TExprWord* FRight;
};

// ---- Collections --------------------------------------------------------------------------------------------

// The word sequence of one expression while it is compiled; the dictionary or the constant list own the words.
class TExprCollection : public TNoOwnerCollection<TExprWord> {
public:
    using TNoOwnerCollection::TNoOwnerCollection;
};

// The dictionary: owns its words, sorted by name without regard to case (upper-case folding, so digits sort
// before letters and "_" after them).
class TExpressList : public TSortedCollection<TExprWord, std::string_view> {
public:
    using TSortedCollection::TSortedCollection;
    int CompareKeys(std::string_view Key1, std::string_view Key2) const override;
    std::string_view ItemKey(TExprWord* Item) const override { return Item->Name(); }
    // The word of this name, or nil.
    TExprWord* Find(std::string_view Name) const;
};

// ---- Operation records --------------------------------------------------------------------------------------

// One operation of a compiled expression. Routines read Args and write RealValue or CplxValue, setting
// Result.IsComplex to the form written.
struct TExprRec {
    double RealValue;
    TCplx CplxValue;
    TExprRoutine Routine;
    TExprRec* Next;             // the next record in evaluation order; nil for the last
    TValueRef Result;           // where readers find this record's value
    TExprWord* Word;            // the word this record evaluates
    TValueRef* Args[kMaxArgs];  // after linking: the operands' value references
    TExprRec* Child[kMaxArgs];  // the operand records; ":=" finds the word of its left operand here
};

// The operands of a routine, in either form, and its result.
inline bool ArgIsComplex(const TExprRec& R, int i)
{
    return R.Args[i]->IsComplex;
}
inline double ArgReal(const TExprRec& R, int i)
{
    return *R.Args[i]->RealLoc;
}
// The operand as complex: a real x is (x, 0).
inline TCplx ArgCplx(const TExprRec& R, int i)
{
    const TValueRef& a = *R.Args[i];
    return a.IsComplex ? *a.CplxLoc : TCplx{*a.RealLoc, 0.0};
}
inline void SetResult(TExprRec& R, double X)
{
    R.RealValue = X;
    R.Result.IsComplex = false;
}
inline void SetResult(TExprRec& R, const TCplx& Z)
{
    R.CplxValue = Z;
    R.Result.IsComplex = true;
}

// The quotient a / b of two operands in complex form. By a real divisor (imaginary part ±0) each part is divided in
// double and rounded once, so that a real value held as complex (a bound variable) divides exactly as the real value
// does, and a zero part keeps the sign CDiv gives it. Every other case (a complex, zero or non-finite divisor, a
// non-finite dividend, parts whose sum overflows) is CDiv's, with its long double intermediates.
inline TCplx Quotient(const TCplx& a, const TCplx& b)
{
    if (b.Im != 0 || b.Re == 0 || !std::isfinite(a.Re + a.Im + b.Re)) return CDiv(a, b);
    return {a.Re != 0 ? a.Re / b.Re : a.Re * b.Re + a.Im * b.Im, a.Im != 0 ? a.Im / b.Re : a.Im * b.Re - a.Re * b.Im};
}

// Runs the records from Head in list order; the last record's result, or nil for a nil head.
const TValueRef* Evaluate(TExprRec* Head);

// The routines of "+", "-", "*" and "/": both operands real give the real result, otherwise a real operand takes
// part as x + 0i and the result is complex ("/" through Quotient). A compiled expression runs them in line.
void AddOperands(TExprRec& Rec);
void SubtractOperands(TExprRec& Rec);
void MultiplyOperands(TExprRec& Rec);
void DivideOperands(TExprRec& Rec);

// The records of one compiled expression, owned by it. Evaluating allocates nothing.
class TCompiledExpression {
public:
    TCompiledExpression();
    ~TCompiledExpression();
    TCompiledExpression(const TCompiledExpression&) = delete;
    TCompiledExpression& operator=(const TCompiledExpression&) = delete;

    TExprRec* Head() const { return FHead; }
    // Runs the records from the head in list order, as tarnel::Evaluate does, with the same results; the last
    // record's result, or nil without a head.
    const TValueRef* Evaluate() const;
    // The records whose word is not a value word: 0 for a single constant.
    int OperationCount() const;

    // A new record: no routine, word, successor or arguments; its result names its own slots.
    TExprRec* NewRecord();
    // The address lies in one of this expression's records.
    bool Holds(const void* Address) const;
    // Every record made for this expression, in the list or not.
    template <class F>
    void ForEachRecord(F&& Visit)
    {
        for (std::size_t b = 0; b < FBlocks.size(); ++b) {
            const std::size_t n = b + 1 == FBlocks.size() ? FUsed : BlockSize(b);
            for (std::size_t k = 0; k < n; ++k) Visit(FBlocks[b][k]);
        }
    }
    // Makes Head the first record to run. The list from it is taken as it is linked now: link first.
    void SetHead(TExprRec* Head);

private:
    // Blocks grow with the expression (64, 128, ... records, at most 4096), so small expressions stay small and long
    // ones need few allocations.
    static std::size_t BlockSize(std::size_t Block) { return std::size_t{64} << std::min<std::size_t>(Block, 6); }
    std::vector<std::unique_ptr<TExprRec[]>> FBlocks;
    std::size_t FUsed = 0;  // records taken from the last block
    TExprRec* FHead = nullptr;

    // The list from FHead as the steps of one loop: value copies and the four arithmetic operators run in that loop
    // (no call), and an operand that is the result of one of the two steps just before is taken from registers
    // instead of being stored and read back. Every record's result is still written as its routine would write it.
    struct TStep {
        TExprRec* Rec;
        // How the step runs (parse_eval.cpp): 4 times its kind (called through its routine, or one of the
        // operations run in the loop) plus the form, which says which operands the loop holds in registers.
        std::uint8_t Code;
    };
    std::vector<TStep> FSteps;
};

// The head and tail of a list of records being linked.
struct TExprList {
    TExprRec* Head = nullptr;
    TExprRec* Tail = nullptr;
    void Append(TExprRec* Rec);
    void Clear() { Head = Tail = nullptr; }
};

// What a parser lends to one compile: its dictionary and constant list (which keep the words and constants a
// compile creates, also when it fails), its settings, the list being built and the fold result.
struct TCompileContext {
    TExpressList* Dictionary = nullptr;
    TOCollection<TExprWord>* Constants = nullptr;
    char HexChar = '$';
    bool Optimize = false;
    TExprList Building;
    double FoldValue = 0;
    TCplx FoldCValue{0, 0};
};

// Splits a text into words: numbers and quoted texts become new constants in the constant list, every other
// token is looked up in the dictionary, and an unknown name joins the dictionary as a TGeneratedVariable. The
// decimal separator is read at each call.
std::unique_ptr<TExprCollection> Tokenize(TCompileContext& Context, std::string_view Text);

// Checks the sequence and rewrites it in place: sign runs become "-@" or "+@", doubled negations cancel, "^"
// before a whole constant becomes "^@", and a comparison of two strings becomes one TLogicalStringOper.
void CheckSyntax(TCompileContext& Context, TExprCollection& Words);

// Compiles a text into its records. A failure leaves nothing but the words and constants already created.
std::unique_ptr<TCompiledExpression> Compile(TCompileContext& Context, std::string_view Text);

}  // namespace tarnel

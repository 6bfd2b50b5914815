// The expression parser callers use: a list of expression texts, each with its compiled form, one of which is
// current and evaluated by AsFloat, AsCplx and AsHexadecimal.
//
// The parser owns its dictionary (the built-in words of DefineWords, unknown names met while compiling, bound
// variables) and its constant list (literals and folded constants, kept until Clear). The dictionary is filled at the
// first call that needs it (a compile, DefineVariable, Words, WordCount), so that a descendant's DefineWords is the
// one that runs; Separator is read then.
//
// ":=" rebinds a name to the storage of its right operand. Before any storage is freed (an expression deleted,
// trimmed, replaced or cleared, the constants cleared) every value reference naming it takes the value it reads
// into its own storage, so a rebound name keeps its last value. An assignment to a bound variable writes the value
// into the caller's TCplx instead, which the variable goes on reading.
//
// Every change of the list fires OnChange once, after the parser's state (current index included) is consistent.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "parser/MtxParseClass.h"
#include "platform/rtl/StringList.h"

namespace tarnel {

// The built-in ":=": it notes its first run, so that the parser knows whether any name may have been rebound.
class TAssignWord : public TVaryingFunction {
public:
    explicit TAssignWord(TExprRoutine Routine) : TVaryingFunction(":=", Routine, 2, true, 200) {}
    bool HasRun() const { return FHasRun; }
    void Ran() { FHasRun = true; }

private:
    bool FHasRun = false;
};

class TMtxExpression1 : public TStringList {
public:
    TMtxExpression1();
    // The parser owns its compiled expressions: it is neither copied nor assigned.
    TMtxExpression1(const TMtxExpression1&) = delete;
    TMtxExpression1& operator=(const TMtxExpression1&) = delete;
    ~TMtxExpression1() override;

    // Fold constant sub-trees while compiling.
    bool Optimize() const { return FOptimize; }
    void SetOptimize(bool Value) { FOptimize = Value; }
    // The prefix of hexadecimal numbers.
    char HexChar() const { return FHexChar; }
    void SetHexChar(char Value) { FHexChar = Value; }
    // The argument separator: ";" when the decimal separator is ",", else ","; read once, when the dictionary is
    // filled.
    char Separator() const { return FSeparator; }
    void SetSeparator(char Value) { FSeparator = Value; }
    // The most expressions kept; checked by the next Add.
    int MaxExpressions() const { return FMaxExpressions; }
    void SetMaxExpressions(int Value) { FMaxExpressions = Value; }

    // Compiles and appends the text and makes it current; returns its index. Then the oldest expressions are deleted
    // until at most MaxExpressions remain: with MaxExpressions 0 or below nothing is kept, the result is -1 and no
    // expression is current. An empty text adds nothing, returns -1 and stores -1 as the current index, while the
    // expression evaluated stays. Compile errors propagate and add nothing.
    int Add(const std::string& Text) override;
    // Appends the text with Object as its compiled form, without compiling. Object is nil or a TCompiledExpression
    // made with new, which the parser owns from then on. A sorted parser refuses (the caller keeps Object).
    int AddObject(const std::string& Text, void* Object) override;
    // Add, then the new expression exchanges places with the one at Index (0..Count), which moves to the end. The
    // inserted expression is current, at Index.
    void Insert(int Index, const std::string& Text) override;
    // Frees the expression and removes it; the current index becomes the smaller of the old one and Count-1 (-1 and
    // no current expression when none is left).
    void Delete(int Index) override;
    // Deletes every expression, last first, then frees the constants. The dictionary keeps its words.
    void Clear() override;
    // Compiles the new text of an entry and replaces its compiled form; a failure raises and keeps the entry.
    void Put(int Index, const std::string& Text) override;
    // The current index follows the current expression.
    void Exchange(int I, int J) override;
    void SetSorted(bool Value) override;
    // The texts, each followed by CR LF, as a 32-bit little-endian length and that many 8-bit characters (also
    // through TStrings and SaveToFile).
    void SaveToStream(TStream& Stream) const override;
    // Reads that record and replaces the list by its lines (split at CR, LF or CR LF): Clear, then Add for each.
    // A length below 0 or past the stream's end raises EReadError and changes nothing; a line that fails to compile
    // raises, and the lines after it are not added.
    void LoadFromStream(TStream& Stream) override;

    // -1 for none. Setting an index in 0..Count-1 makes that expression current; any other leaves none.
    int CurrentIndex() const { return FCurrentIndex; }
    void SetCurrentIndex(int Value);

    // Binds Name to the caller's value, read in place at every evaluation (always as complex). A name already in
    // the dictionary keeps its meaning, so variables are defined before the expressions that use them are compiled.
    // The caller keeps Value alive as long as the parser can evaluate it.
    void DefineVariable(std::string_view Name, TCplx& Value);

    // The current expression's value: "No expression found!" without one. AsFloat gives a complex value's real part,
    // AsCplx a real x as (x, 0). AsHexadecimal is HexChar and the value rounded to a 64-bit integer (ties to even) in
    // upper-case hexadecimal, a negative one as its 16-digit two's complement; a NaN, an infinity or a value beyond
    // the 64-bit range gives HexChar + "8000000000000000".
    double AsFloat();
    TCplx AsCplx();
    std::string AsHexadecimal();
    // The operations of the expression at the current index: 0 for a single value and with no current index.
    int OperationCount() const;

    // The dictionary's words in name order.
    TExprWord* Words(int Index);
    int WordCount();

protected:
    // Fills the dictionary with the language (the built-in words); a descendant may define another.
    virtual void DefineWords();
    TExpressList& Dictionary() { return FDictionary; }
    TOCollection<TExprWord>& ConstantList() { return FConstants; }
    // The compile step of Add: the text compiled with the parser's settings, not added.
    std::unique_ptr<TCompiledExpression> CompileText(std::string_view Text);
    // The current expression evaluated: its value reference, in the form the last operation gave it.
    const TValueRef& Evaluated();
    TCompiledExpression* Compiled(int Index) const { return static_cast<TCompiledExpression*>(Objects(Index)); }

private:
    void EnsureWords();
    // Value references into Freed's records take their values (Freed itself is skipped), then Freed is deleted.
    void Release(TCompiledExpression* Freed);

    TExpressList FDictionary{200};
    TOCollection<TExprWord> FConstants{100};
    TCompileContext FContext;
    TAssignWord* FAssign = nullptr;           // the language's ":=", if it has the built-in one
    TCompiledExpression* FCurrent = nullptr;  // the compiled form evaluated
    int FCurrentIndex = -1;
    bool FOptimize = false;
    char FHexChar = '$';
    char FSeparator;
    int FMaxExpressions = 10;
    bool FWordsDefined = false;
    bool FClearing = false;  // Clear has freed every reference into the expressions it deletes
};

class TMtxExpression : public TMtxExpression1 {};

// Fills a dictionary with the built-in language; TMtxExpression1::DefineWords calls it under the library's control
// word.
void DefineBuiltinWords(TExpressList& Dictionary, char Separator);

}  // namespace tarnel

// Compiling: the tree builder (the language's precedence and associativity), the argument check, constant
// folding and linking into evaluation order.
//
// The builder works on index ranges of the one word sequence instead of copies of its parts, and knows the
// matching ")" of every "(" (found once, in a single pass), so finding an operator steps over a bracketed group in
// one move. Its recursion is bounded by kMaxNesting. The walks over the finished tree use explicit stacks: a
// chain of a million operators is no deeper on the machine stack than one operator.
#include <string>
#include <utility>
#include <vector>

#include "core/messages.h"
#include "parser/MtxParseClass.h"

namespace tarnel {

namespace {

class TTreeBuilder {
public:
    TTreeBuilder(const std::vector<TExprWord*>& Words, TCompiledExpression& Records, std::string_view Text)
        : W(Words), Match(Words.size(), -1), R(Records), FText(Text)
    {
        std::vector<int> open;
        for (int i = 0; i < static_cast<int>(W.size()); ++i) {
            if (W[i]->Kind() == wkLeftBracket) {
                open.push_back(i);
            } else if (W[i]->Kind() == wkRightBracket && !open.empty()) {
                Match[open.back()] = i;
                open.pop_back();
            }
        }
    }

    TExprRec* Build() { return Build(0, static_cast<int>(W.size())); }

private:
    const std::vector<TExprWord*>& W;
    std::vector<int> Match;  // the position of the ")" that closes the "(" at i, or -1
    TCompiledExpression& R;
    std::string_view FText;
    int FDepth = 0;

    bool IsLeft(int i) const { return W[i]->Kind() == wkLeftBracket; }

    [[noreturn]] void SyntaxError() const { throw EParserException(msg::kSyntaxErrorIn + std::string(FText)); }

    // The first function or operator from From on at bracket depth 0 or below, or Hi.
    int FindOperator(int From, int Hi) const
    {
        int depth = 0;
        for (int i = From; i < Hi; ++i) {
            if (depth <= 0 && W[i]->ArgCount() > 0) return i;
            if (IsLeft(i)) {
                if (depth != 0) {
                    ++depth;
                } else if (Match[i] >= 0 && Match[i] < Hi) {
                    i = Match[i];  // nothing inside a group is at depth 0
                } else {
                    return Hi;
                }
            } else if (W[i]->Kind() == wkRightBracket) {
                --depth;
            }
        }
        return Hi;
    }

    void Attach(TExprRec* Rec, TExprWord* Word) const
    {
        if (Word->Routine() == nullptr) SyntaxError();  // a bracket or separator standing as an operand
        Rec->Word = Word;
        Rec->Routine = Word->Routine();
    }

    static void AddArg(TExprRec* Rec, int& Next, TExprRec* Arg)
    {
        if (Next >= kMaxArgs) throw EParserException(msg::kTooManyOperands);
        Rec->Child[Next++] = Arg;
    }

    // Builds the words Lo..Hi-1 into a left-leaning chain of records, one per operator at the top level.
    TExprRec* Build(int Lo, int Hi)
    {
        struct TLevel {
            int& Depth;
            explicit TLevel(int& d) : Depth(d)
            {
                if (++Depth > kMaxNesting) {
                    --Depth;
                    throw EParserException(msg::kNestedTooDeep);
                }
            }
            ~TLevel() { --Depth; }
        } level(FDepth);

        while (Hi - Lo >= 2 && IsLeft(Lo) && Match[Lo] == Hi - 1) {
            ++Lo;
            --Hi;
        }
        if (Hi - Lo == 1) {
            TExprRec* rec = R.NewRecord();
            Attach(rec, W[Lo]);
            if (W[Lo]->IsValueWord()) {
                rec->Args[0] = W[Lo]->ValueRef();
                if (rec->Args[0] == nullptr) SyntaxError();  // a value word that has no value to read
            }
            return rec;
        }

        int start = Lo;
        TExprRec* prev = nullptr;
        for (;;) {
            TExprRec* rec = R.NewRecord();
            int next = 0;
            if (prev != nullptr) rec->Child[next++] = prev;

            int k = FindOperator(start, Hi);
            if (k == Hi) SyntaxError();
            if (W[k]->ArgCount() < 1 || W[k]->IsValueWord()) throw EParserException(msg::kNoOperand);
            TExprWord* op = W[k];
            Attach(rec, op);

            if (!op->IsOperator()) {
                // A call drops whatever stands before its name: refuse that instead.
                if (prev != nullptr || k > start) throw EParserException(msg::kOperatorBeforeFunction + op->Name());
                next = 0;
                if (k + 1 < Hi && IsLeft(k + 1)) {
                    const int close = Match[k + 1];
                    if (close < 0 || close >= Hi) SyntaxError();
                    int from = k + 2;
                    for (int i = from; i < close; ++i) {
                        if (IsLeft(i)) {
                            i = Match[i];
                        } else if (W[i]->Kind() == wkComma) {
                            AddArg(rec, next, Build(from, i));
                            from = i + 1;
                        }
                    }
                    AddArg(rec, next, Build(from, close));
                    k = close;
                }
            } else if (k > start) {
                AddArg(rec, next, Build(Lo, k));
            }

            // The right operand: up to the next operator that binds as loosely as this one or looser.
            const int precedence = op->Precedence();
            int j = k;
            do {
                j = FindOperator(j + 1, Hi);
            } while (j < Hi && W[j]->Precedence() < precedence);
            if (j > k + 1) AddArg(rec, next, Build(k + 1, j));
            if (j >= Hi) return rec;
            start = j;
            prev = rec;
        }
    }
};

// Every record of the tree has its first ArgCount operands; then none has more (those words would be dropped).
void CheckArguments(TExprRec* Root)
{
    bool extra = false;
    std::vector<TExprRec*> stack{Root};
    while (!stack.empty()) {
        TExprRec* rec = stack.back();
        stack.pop_back();
        if (rec->Word->IsValueWord()) continue;
        const int count = rec->Word->ArgCount();
        for (int i = 0; i < kMaxArgs; ++i) {
            if (i < count) {
                if (rec->Child[i] == nullptr) throw EParserException(msg::kTooFewArguments);
                stack.push_back(rec->Child[i]);
            } else {
                extra = extra || rec->Child[i] != nullptr;
            }
        }
    }
    if (extra) throw EParserException(msg::kTooManyOperands);
}

// Links the tree in post-order, appending its operations to List; the reference of the root's value.
TValueRef* Link(TExprRec* Root, TExprList& List)
{
    struct TFrame {
        TExprRec* Rec;
        int Arg;
    };
    std::vector<TFrame> stack{{Root, 0}};
    TValueRef* done = nullptr;  // the value of the frame popped last
    while (!stack.empty()) {
        TFrame& f = stack.back();
        if (done != nullptr) {
            f.Rec->Args[f.Arg++] = done;
            done = nullptr;
        }
        if (f.Arg < f.Rec->Word->ArgCount() && !f.Rec->Word->IsValueWord()) {
            stack.push_back({f.Rec->Child[f.Arg], 0});
            continue;
        }
        TExprRec* rec = f.Rec;
        stack.pop_back();
        if (rec->Word->IsValueWord()) {
            done = rec->Args[0];  // constants and variables are read in place
        } else {
            List.Append(rec);
            done = &rec->Result;
        }
    }
    return done;
}

// Evaluates a sub-tree that cannot vary once and gives the record of a new constant holding its value.
TExprRec* Fold(TCompileContext& C, TCompiledExpression& Records, TExprRec* Rec)
{
    TExprList temporary;
    const TValueRef* value = Link(Rec, temporary);
    Evaluate(temporary.Head);
    const bool boolean = Rec->Word->Kind() == wkBoolean;
    C.FoldValue = value->IsComplex ? value->CplxLoc->Re : *value->RealLoc;
    C.FoldCValue = value->IsComplex ? *value->CplxLoc : TCplx{C.FoldValue, 0};

    std::unique_ptr<TDoubleConstant> constant;
    if (boolean) {
        constant = std::make_unique<TBooleanConstant>("", C.FoldValue);
    } else if (value->IsComplex) {
        constant = std::make_unique<TDoubleConstant>("", C.FoldCValue);
        constant->ValueRef()->IsComplex = true;  // a complex result stays complex, (-1, 0) included
    } else {
        constant = std::make_unique<TDoubleConstant>("", C.FoldValue);
    }
    C.Constants->Add(constant.get());
    TDoubleConstant* c = constant.release();

    TExprRec* rec = Records.NewRecord();
    rec->Word = c;
    rec->Routine = c->Routine();
    rec->Args[0] = c->ValueRef();
    return rec;
}

// Replaces every largest sub-tree that cannot vary by a constant; the root to use.
TExprRec* FoldConstants(TCompileContext& C, TCompiledExpression& Records, TExprRec* Root)
{
    struct TFrame {
        TExprRec* Rec;
        int Arg;
        unsigned Varying;  // bit i: operand i can vary
    };
    auto canFold = [](const TExprRec* r) { return !r->Word->IsValueWord(); };
    std::vector<TFrame> stack{{Root, 0, 0}};
    bool varies = false;  // of the frame popped last
    bool returning = false;
    while (!stack.empty()) {
        TFrame& f = stack.back();
        if (returning) {
            f.Varying |= varies ? 1u << f.Arg : 0u;
            ++f.Arg;
            returning = false;
        }
        const int count = canFold(f.Rec) ? f.Rec->Word->ArgCount() : 0;
        if (f.Arg < count) {
            stack.push_back({f.Rec->Child[f.Arg], 0, 0});
            continue;
        }
        varies = f.Rec->Word->CanVary() || f.Varying != 0;
        if (varies) {  // it stays an operation: fold those of its operands that cannot vary
            for (int i = 0; i < count; ++i) {
                TExprRec*& child = f.Rec->Child[i];
                if ((f.Varying & (1u << i)) == 0 && canFold(child)) child = Fold(C, Records, child);
            }
        }
        returning = true;
        stack.pop_back();
    }
    return !varies && canFold(Root) ? Fold(C, Records, Root) : Root;
}

}  // namespace

std::unique_ptr<TCompiledExpression> Compile(TCompileContext& Context, std::string_view Text)
{
    std::unique_ptr<TExprCollection> words = Tokenize(Context, Text);
    CheckSyntax(Context, *words);
    if (words->Count() == 0) throw EParserException(msg::kEmptyExpression);

    auto compiled = std::make_unique<TCompiledExpression>();
    TExprRec* root = TTreeBuilder(words->List(), *compiled, Text).Build();
    words.reset();
    Context.Building.Clear();
    CheckArguments(root);
    if (Context.Optimize) root = FoldConstants(Context, *compiled, root);
    if (root->Word->IsValueWord()) {
        compiled->SetHead(root);
    } else {
        Link(root, Context.Building);
        compiled->SetHead(Context.Building.Head);
    }
    Context.Building.Clear();
    return compiled;
}

}  // namespace tarnel

// Tokenizer and syntax check: the text becomes a sequence of words, which is checked and rewritten in place.
// Every pass is a single walk over the sequence (words are merged by compaction, never by deleting in the
// middle), so a long text costs linear time.
#include <cmath>
#include <cstdint>
#include <string>
#include <typeinfo>

#include "core/messages.h"
#include "parser/MtxParseClass.h"
#include "platform/rtl/NumText.h"

namespace tarnel {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsHexLetter(char c)
{
    return c >= 'a' && c <= 'f';
}
bool IsIdentChar(char c)
{
    return IsDigit(c) || c == '_' || (c >= 'a' && c <= 'z');
}
// Trim's blanks: every control character and the space.
bool IsTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && IsTrimmed(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsTrimmed(s.back())) s.remove_suffix(1);
    return s;
}

// The end of a number that starts at p: digits (with "a" to "f" in hexadecimal mode), then the decimal separator
// and digits, then "e" with an optional sign and digits, then one "i".
std::size_t NumberEnd(std::string_view t, std::size_t p, bool Hex, char Separator)
{
    auto digits = [&] {
        while (p < t.size() && (IsDigit(t[p]) || (Hex && IsHexLetter(t[p])))) ++p;
    };
    digits();
    if (p < t.size() && t[p] == Separator) {
        ++p;
        digits();
    }
    if (p < t.size() && t[p] == 'e') {
        ++p;
        if (p < t.size() && (t[p] == '+' || t[p] == '-')) ++p;
        digits();
    }
    if (p < t.size() && t[p] == 'i') ++p;
    return p;
}

// "$" and hexadecimal digits as a 32-bit signed integer, in decimal: eight digits wrap (ffffffff is -1), more
// significant digits, or anything but digits, are the run-time's conversion error.
std::string HexToDecimal(const std::string& Token)
{
    std::uint64_t v = 0;
    bool ok = Token.size() > 1;
    for (std::size_t i = 1; ok && i < Token.size(); ++i) {
        const char c = Token[i];
        const int d = IsDigit(c) ? c - '0' : IsHexLetter(c) ? c - 'a' + 10 : -1;
        ok = d >= 0;
        v = v * 16 + static_cast<std::uint64_t>(ok ? d : 0);
        ok = ok && v <= 0xFFFFFFFFu;
    }
    if (!ok) throw EConvertError(msg::InvalidInteger(Token));
    return std::to_string(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
}

template <class W>
W* Keep(TOCollection<TExprWord>& Owner, std::unique_ptr<W> Word)
{
    Owner.Add(Word.get());
    return Word.release();
}

bool Named(const TExprWord* w, std::string_view Name)
{
    return w != nullptr && w->Name() == Name;
}
bool IsLeft(const TExprWord* w)
{
    return w != nullptr && w->Kind() == wkLeftBracket;
}
bool IsRight(const TExprWord* w)
{
    return w != nullptr && w->Kind() == wkRightBracket;
}
bool IsValue(const TExprWord* w)
{
    return w != nullptr && w->IsValueWord();
}

// A "-" or "+" after this word (nil: the first word) is a sign.
bool StartsSign(const TExprWord* Before)
{
    return Before == nullptr || Before->Kind() == wkComma || Before->Kind() == wkLeftBracket ||
           (Before->IsOperator() && Before->ArgCount() == 2);
}

// A "not" after this word (nil: the first word) starts a run of negations.
bool StartsNot(const TExprWord* Before)
{
    return Before == nullptr || Before->Kind() == wkLeftBracket || Before->IsOperator();
}

// "^" before this word becomes the integer power: exactly a number constant, written without a decimal separator,
// holding a whole real number of the 32-bit range in its own storage (so "x^1e-3" stays "^").
bool IsIntegerExponent(TExprWord* w, char Separator)
{
    if (w == nullptr || typeid(*w) != typeid(TDoubleConstant)) return false;
    if (w->Name().find(Separator) != std::string::npos) return false;
    auto* c = static_cast<TDoubleConstant*>(w);
    const TValueRef* ref = c->ValueRef();
    const double v = c->Value();
    return ref->CplxLoc == &c->CValue() && !ref->IsComplex && v == std::trunc(v) && v >= INT32_MIN && v <= INT32_MAX;
}

}  // namespace

std::unique_ptr<TExprCollection> Tokenize(TCompileContext& Context, std::string_view Text)
{
    if (Text.size() > kMaxExpressionLength) throw EParserException(msg::kExpressionTooLong);
    std::string t(Trimmed(Text));
    for (char& c : t) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    const char sep = DecimalSeparator();
    const char hex = Context.HexChar;
    auto words = std::make_unique<TExprCollection>(10);

    const std::size_t n = t.size();
    std::size_t p = 0;
    while (p < n) {
        while (p + 1 < n && t[p] == ' ') ++p;  // never past the last character
        const std::size_t s = p;
        const char c = t[s];
        bool literal = false;
        if (c == hex) {
            p = NumberEnd(t, s + 1, true, sep);
            literal = p > s + 1;
            if (!literal) {
                p = s + 1;
                while (p < n && IsIdentChar(t[p])) ++p;
            }
        } else if (c == sep || IsDigit(c)) {
            p = NumberEnd(t, s, false, sep);
            literal = true;
        } else if (c == '\'') {
            const std::size_t close = t.find('\'', s + 1);
            p = close == std::string::npos ? n : close + 1;
            literal = true;
        } else if (IsIdentChar(c)) {
            p = s + 1;
            while (p < n && IsIdentChar(t[p])) ++p;
        } else {
            char pair = 0;  // the second character of a two-character token
            switch (c) {
                case '!':
                    pair = '=';
                    break;
                case '&':
                    pair = '&';
                    break;
                case ':':
                    pair = '=';
                    break;
                case '|':
                    pair = '|';
                    break;
                default:
                    break;
            }
            p = s + 1;
            if (pair != 0 && p < n && t[p] == pair) {
                ++p;
            } else if ((c == '<' || c == '>' || c == '=') && p < n && (t[p] == '<' || t[p] == '=' || t[p] == '>')) {
                ++p;
            }
        }
        const std::string_view token = Trimmed(std::string_view(t).substr(s, p - s));
        if (literal) {
            TExprWord* w;
            if (token.front() == hex) {
                const std::string dec = HexToDecimal("$" + std::string(token.substr(1)));
                w = Keep(*Context.Constants, std::make_unique<TDoubleConstant>(dec, dec));
            } else if (token.front() == '\'') {
                w = Keep(*Context.Constants, std::make_unique<TStringConstant>(token));
            } else {
                w = Keep(*Context.Constants, std::make_unique<TDoubleConstant>(token, token));
            }
            words->Add(w);
        } else if (!token.empty()) {
            int at;
            if (Context.Dictionary->SearchKey(token, at)) {
                words->Add(Context.Dictionary->Items(at));
            } else {
                auto g = std::make_unique<TGeneratedVariable>(token);
                Context.Dictionary->Insert(at, g.get());
                words->Add(g.release());
            }
        }
    }
    return words;
}

void CheckSyntax(TCompileContext& Context, TExprCollection& Words)
{
    std::vector<TExprWord*>& v = Words.List();

    // 1. Bracket balance; a ")" that closes no "(" is refused too (the tree builder relies on the order).
    int depth = 0;
    bool stray = false;
    for (const TExprWord* w : v) {
        if (IsLeft(w)) ++depth;
        if (IsRight(w)) stray = stray || --depth < 0;
    }
    if (depth != 0 || stray) throw EParserException(msg::kUnequalBrackets);

    TExpressList& dict = *Context.Dictionary;
    TExprWord* const minusAt = dict.Find("-@");
    TExprWord* const plusAt = dict.Find("+@");
    TExprWord* const powerAt = dict.Find("^@");
    const char sep = DecimalSeparator();

    // 2. One walk: out holds words 0..i-1 as rewritten, v[r] is word i+1.
    std::vector<TExprWord*> out;
    out.reserve(v.size());
    const std::size_t n = v.size();
    std::size_t r = 0;
    while (r < n) {
        TExprWord* w = v[r++];
        TExprWord* before = out.empty() ? nullptr : out.back();

        // Signs: a run of "-" and "+" becomes one unary sign.
        if ((Named(w, "-") || Named(w, "+")) && StartsSign(before)) {
            double sign = Named(w, "-") ? -1 : 1;
            std::size_t end = r;
            for (TExprWord* pred = w; end < n && (Named(v[end], "-") || Named(v[end], "+")) && StartsSign(pred);
                 ++end) {
                if (Named(v[end], "-")) sign = -sign;
                pred = v[end];
            }
            TExprWord* unary = sign < 0 ? minusAt : plusAt;
            if (unary != nullptr) {  // a language without unary signs keeps the binary words
                w = unary;
                r = end;
            }
        }

        // Negations: an even run cancels, an odd run keeps its first "not".
        if (Named(w, "not") && StartsNot(before)) {
            std::size_t end = r;
            for (TExprWord* pred = w; end < n && Named(v[end], "not") && StartsNot(pred); ++end) pred = v[end];
            const bool even = (end - r + 1) % 2 == 0;
            r = end;
            if (even) {
                if (r == n) break;
                w = v[r++];
            }
        }

        TExprWord* next = r < n ? v[r] : nullptr;
        if (IsValue(w) && IsValue(next)) throw EParserException(w->Name() + msg::kTwoValueWords);
        if (IsLeft(next) && typeid(*w) == typeid(TGeneratedVariable))
            throw EParserException(w->Name() + msg::kUnknownFunction);
        if (IsLeft(w) && (next == nullptr || IsRight(next))) throw EParserException(msg::kEmptyBrackets);
        if (IsRight(w) && IsLeft(next)) throw EParserException(msg::kMissingBetweenBrackets);
        if (IsRight(w) && IsValue(next)) throw EParserException(msg::kMissingAfterBracket);
        if (IsLeft(w) && IsValue(before)) throw EParserException(msg::kMissingBeforeBracket);

        if (Named(w, "^") && powerAt != nullptr && IsIntegerExponent(next, sep)) w = powerAt;
        out.push_back(w);
    }
    v.swap(out);

    // 3. Comparisons of two strings, scanned from the end: the stack holds the rewritten words j+1, j+2, ...
    if (v.size() >= 3) {
        std::vector<TExprWord*> stack(v.rbegin(), v.rbegin() + 2);
        for (std::size_t j = v.size() - 2; j-- > 0;) {
            TExprWord* w = v[j];
            const std::size_t top = stack.size();
            if (w->Kind() == wkString && top >= 2 && stack[top - 2]->Kind() == wkString) {
                TExprWord* cmp = Keep(*Context.Constants,
                                      std::make_unique<TLogicalStringOper>(stack[top - 1]->Name(), w, stack[top - 2]));
                stack.resize(top - 2);
                stack.push_back(cmp);
            } else {
                stack.push_back(w);
            }
        }
        v.assign(stack.rbegin(), stack.rend());
    }

    // A string anywhere else has no value to read.
    for (const TExprWord* w : v) {
        if (w->Kind() == wkString) throw EParserException(w->Name() + msg::kStringOperand);
    }
}

}  // namespace tarnel

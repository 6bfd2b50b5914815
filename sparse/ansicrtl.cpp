// ansicrtl: the report stream, the print redirect and the C run-time entry points (sparse/ansicrtl.h).
#include "sparse/ansicrtl.h"

#include <SuiteSparse_config.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "core/BlasCalls.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/TickCount.h"

namespace tarnel {

TStringStream* RtlStrings = nullptr;
int _turboFloat = 0;

namespace {

// Guards RtlStrings (its pointer and its content) and the start-up count.
std::mutex gRtlMutex;
int gAnsiCrtlStarts = 0;
int (*gPreviousPrintf)(const char*, ...) = nullptr;

bool Skipped(char C)
{
    return C == '+' || C == ',' || C == '-' || C == '.' || std::isdigit(static_cast<unsigned char>(C));
}

bool LengthModifier(char C)
{
    return C == 'h' || C == 'l' || C == 'L' || C == 'q' || C == 'j' || C == 'z' || C == 't';
}

// The argument list of Format for a C format and its variable arguments: one entry per conversion (an Integer 0
// where the letter takes nothing), taken in order from Args. A '*' takes an int (the width or precision Format reads
// from the list), and a length modifier takes the argument at the size the C code passed, so that the arguments of
// the later conversions are still found where they are (Format then refuses the modified conversion, and the format
// is appended as written).
std::vector<TVarRec> CollectArguments(std::string_view Fmt, va_list Args)
{
    std::vector<TVarRec> list;
    std::size_t pos = 0;
    while ((pos = Fmt.find('%', pos)) != std::string_view::npos) {
        ++pos;
        for (; pos < Fmt.size(); ++pos) {
            if (Fmt[pos] == '*')
                list.emplace_back(va_arg(Args, int));
            else if (!Skipped(Fmt[pos]))
                break;
        }
        bool wide = false, longDouble = false;
        for (; pos < Fmt.size() && LengthModifier(Fmt[pos]); ++pos) {
            if (Fmt[pos] == 'L') longDouble = true;
            if (Fmt[pos] != 'h' && Fmt[pos] != 'L') wide = true;
        }
        if (pos >= Fmt.size()) break;
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(Fmt[pos++])));
        if (letter == '%') continue;
        TVarRec arg(0);
        switch (letter) {
            case 'd':
            case 'u':
            case 'x':
                if (wide)
                    arg = TVarRec(static_cast<std::int64_t>(va_arg(Args, long long)));
                else
                    arg = TVarRec(va_arg(Args, int));
                break;
            case 'e':
            case 'f':
            case 'g':
            case 'n':
                arg = TVarRec(longDouble ? static_cast<double>(va_arg(Args, long double)) : va_arg(Args, double));
                break;
            case 'm': {
                const auto* units = va_arg(Args, const std::int64_t*);
                if (units) arg = TVarRec::Currency(*units);
                break;
            }
            case 'p':
                arg = TVarRec(static_cast<const void*>(va_arg(Args, void*)));
                break;
            case 's':
                arg = TVarRec(va_arg(Args, const char*));
                break;
            default:
                break;
        }
        list.push_back(std::move(arg));
    }
    return list;
}

}  // namespace

// ---- The report stream ------------------------------------------------------------------------------------------

void RtlStringsAppend(std::string_view Text)
{
    std::lock_guard lock(gRtlMutex);
    if (!RtlStrings || Text.empty()) return;
    RtlStrings->Seek(0, soEnd);
    RtlStrings->WriteBuffer(Text.data(), static_cast<std::int64_t>(Text.size()));
}

void RtlStringsClear()
{
    std::lock_guard lock(gRtlMutex);
    if (RtlStrings) RtlStrings->SetSize(0);
}

std::string RtlStringsText()
{
    std::lock_guard lock(gRtlMutex);
    return RtlStrings ? RtlStrings->DataString() : std::string();
}

// ---- The print redirect -----------------------------------------------------------------------------------------

int _dprintf(const char* Format, va_list Args)
{
    if (!Format) return 0;
    const std::string_view fmt(Format);
    va_list args;
    va_copy(args, Args);
    const std::vector<TVarRec> list = CollectArguments(fmt, args);
    va_end(args);
    std::string text;
    try {
        text = tarnel::Format(fmt, list);
    } catch (const EConvertError&) {
        text = fmt;
    }
    RtlStringsAppend(text);
    return static_cast<int>(text.size());
}

int CPrintfForwarder(const char* Format, ...)
{
    va_list args;
    va_start(args, Format);
    int result = -1;
    try {
        result = _dprintf(Format, args);
    } catch (...) {
        // The caller is C code: nothing may unwind through it.
    }
    va_end(args);
    return result;
}

// ---- The other run-time entry points ----------------------------------------------------------------------------

std::uint32_t _clock()
{
    return GetTickCount();
}

std::int32_t _ftol(double X)
{
    if (!(X > -2147483649.0 && X < 2147483648.0)) return INT32_MIN;
    return static_cast<std::int32_t>(X);
}

double _sqrt(double X)
{
    return std::sqrt(X);
}

double _ceil(double X)
{
    double t = std::trunc(X);
    if (X - t > 0) t += 1;
    return t;
}

int _strcmp(const char* A, const char* B)
{
    const auto* a = reinterpret_cast<const unsigned char*>(A ? A : "");
    const auto* b = reinterpret_cast<const unsigned char*>(B ? B : "");
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return static_cast<int>(*a) - static_cast<int>(*b);
}

void* _malloc(std::size_t Size)
{
    if (Size == 0) return nullptr;
    void* p = std::malloc(Size);
    if (!p) throw std::bad_alloc();
    return p;
}

void* _realloc(void* P, std::size_t Size)
{
    if (Size == 0) {
        std::free(P);
        return nullptr;
    }
    void* p = std::realloc(P, Size);
    if (!p) throw std::bad_alloc();
    return p;
}

void _free(void* P)
{
    std::free(P);
}

// ---- BLAS adapters ----------------------------------------------------------------------------------------------

void BlasDgemvAdapter(char Trans, int M, int N, double Alpha, const double* A, int LDA, const double* X, int IncX,
                      double Beta, double* Y, int IncY)
{
    blas::Gemv(Trans, M, N, Alpha, A, LDA, X, IncX, Beta, Y, IncY);
}

void BlasDgemmAdapter(char TransA, char TransB, int M, int N, int K, double Alpha, const double* A, int LDA,
                      const double* B, int LDB, double Beta, double* C, int LDC)
{
    blas::Gemm(TransA, TransB, M, N, K, Alpha, A, LDA, B, LDB, Beta, C, LDC);
}

void BlasDgerAdapter(int M, int N, double Alpha, const double* X, int IncX, const double* Y, int IncY, double* A,
                     int LDA)
{
    blas::Geru(M, N, Alpha, X, IncX, Y, IncY, A, LDA);
}

// ---- Start-up and shut-down -------------------------------------------------------------------------------------

void AnsiCrtlInitialize()
{
    std::lock_guard lock(gRtlMutex);
    if (gAnsiCrtlStarts++ > 0) return;
    RtlStrings = new TStringStream();
    gPreviousPrintf = SuiteSparse_config.printf_func;
    SuiteSparse_config.printf_func = CPrintfForwarder;
}

void AnsiCrtlFinalize()
{
    std::lock_guard lock(gRtlMutex);
    if (gAnsiCrtlStarts == 0 || --gAnsiCrtlStarts > 0) return;
    SuiteSparse_config.printf_func = gPreviousPrintf;
    delete RtlStrings;
    RtlStrings = nullptr;
}

}  // namespace tarnel

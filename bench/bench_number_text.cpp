// Number text on 10^6 Doubles: SampleToStr and StrToVal against std::to_chars/from_chars with 15 digits (the
// floor: no framework rules, no checks) and FormatFloat("0.000"); bench/peers/number_text.py times numpy's
// savetxt ("%.15G", "%.3f") and loadtxt on the same numbers. Single-threaded throughout.
//
// The text exchange on the same numbers: TVec0.StringsToValues of their 10^6 lines (held in a string list, as
// a value editor or a loaded file holds them) against numpy.loadtxt of the text; TMtx.ValuesToStrings of the
// 1000 × 1000 matrix they make (blank-delimited rows into an empty list) against numpy.savetxt ("%.15G");
// TMtx.SaveToMatrixMarketFile against scipy.io.mmwrite, both writing a file in /tmp.
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

constexpr int kCount = 1000000;

// The numbers of bench/peers/number_text.py: a 64-bit LCG, magnitudes from 1E-8 to 1E8.
struct Data {
    std::vector<double> x;
    std::vector<std::string> text;
    Data() : x(kCount), text(kCount)
    {
        std::uint64_t s = 42;
        for (int i = 0; i < kCount; ++i) {
            s = s * 6364136223846793005ULL + 1442695040888963407ULL;
            const double u = static_cast<double>(s >> 11) / 9007199254740992.0 - 0.5;
            double scale = 1;
            const int k = static_cast<int>((s >> 3) % 17) - 8;
            for (int j = 0; j < (k < 0 ? -k : k); ++j) scale *= 10;
            x[i] = k < 0 ? u / scale : u * scale;
            text[i] = SampleToStr(x[i], 0);
        }
        SetDecimalSeparator('.');
    }
};

Data& D()
{
    static Data d;
    return d;
}

void OursToText(benchmark::State& st)
{
    Data& d = D();
    for (auto _ : st) {
        std::size_t bytes = 0;
        for (double v : d.x) bytes += SampleToStr(v, 0).size();
        benchmark::DoNotOptimize(bytes);
    }
}

void ToChars(benchmark::State& st)
{
    Data& d = D();
    char buf[40];
    for (auto _ : st) {
        std::size_t bytes = 0;
        for (double v : d.x) bytes += std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15).ptr - buf;
        benchmark::DoNotOptimize(bytes);
    }
}

void OursFromText(benchmark::State& st)
{
    Data& d = D();
    for (auto _ : st) {
        double sum = 0;
        for (const std::string& t : d.text) sum += StrToVal(t);
        benchmark::DoNotOptimize(sum);
    }
}

void FromChars(benchmark::State& st)
{
    Data& d = D();
    for (auto _ : st) {
        double sum = 0;
        for (const std::string& t : d.text) {
            double v = 0;
            std::from_chars(t.data(), t.data() + t.size(), v);
            sum += v;
        }
        benchmark::DoNotOptimize(sum);
    }
}

void OursFixed(benchmark::State& st)
{
    Data& d = D();
    for (auto _ : st) {
        std::size_t bytes = 0;
        for (double v : d.x) bytes += FormatFloat("0.000", v).size();
        benchmark::DoNotOptimize(bytes);
    }
}

// ---- Text exchange ------------------------------------------------------------------------------------------

constexpr int kSide = 1000;

void OursStringsToValues(benchmark::State& st)
{
    Data& d = D();
    TStringList lines;
    for (const std::string& t : d.text) lines.Add(t);
    TVec v;
    for (auto _ : st) {
        v.StringsToValues(lines);
        benchmark::DoNotOptimize(v.Values());
    }
}

const TMtx& Matrix()
{
    static TMtx m;
    if (m.Rows() == 0) m.SetIt(kSide, kSide, false, D().x);
    return m;
}

void OursValuesToStrings(benchmark::State& st)
{
    const TMtx& m = Matrix();
    TStringList lines;
    for (auto _ : st) {
        lines.Clear();
        m.ValuesToStrings(lines, " ");
        benchmark::DoNotOptimize(lines.Count());
    }
}

void OursMatrixMarket(benchmark::State& st)
{
    const TMtx& m = Matrix();
    const std::string name = "/tmp/tarnel_bench_" + std::to_string(getpid()) + ".mtx";
    for (auto _ : st) m.SaveToMatrixMarketFile(name);
    unlink(name.c_str());
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    Row("SampleToStr", kCount, "ours", OursToText)->Unit(benchmark::kMillisecond);
    Row("SampleToStr", kCount, "to_chars", ToChars)->Unit(benchmark::kMillisecond);
    Row("StrToVal", kCount, "ours", OursFromText)->Unit(benchmark::kMillisecond);
    Row("StrToVal", kCount, "from_chars", FromChars)->Unit(benchmark::kMillisecond);
    Row("FormatFloat 0.000", kCount, "ours", OursFixed)->Unit(benchmark::kMillisecond);
    Row("StringsToValues", kCount, "ours", OursStringsToValues)->Unit(benchmark::kMillisecond);
    Row("ValuesToStrings", kSide, "ours", OursValuesToStrings)->Unit(benchmark::kMillisecond);
    Row("SaveToMatrixMarketFile", kSide, "ours", OursMatrixMarket)->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

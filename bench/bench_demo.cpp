// The demonstration program's own work: the source viewer highlighting a 5,000-line C++ file (read and shown, then
// every token formatted) against reading and showing it plain ("plain load"), and the page "Calculating the inverse
// of squared matrix" at n = 100 (the grid's texts read, TMtx.Inv, the inverse written into the result grid with
// four decimals) against numpy.linalg.inv plus numpy.savetxt("%.4f") into memory (bench/peers/demo.py). Runs on Qt's
// offscreen platform; Inv's LAPACK runs on one OpenBLAS thread, as numpy's (OPENBLAS_NUM_THREADS=1 from
// scripts/bench).
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextEdit>
#include <cstdio>
#include <cstdlib>

#include "bench/BenchRow.h"
#include "bench/QtBenchMain.h"
#include "demo/InverseMtx.h"
#include "demo/Main.h"
#include "platform/gui/Settings.h"

using namespace tarnel;

namespace {

QString gSourceFile;  // the 5,000-line C++ file

// A C++ source of Lines lines: a class, functions with comments, strings, numbers and keywords, repeated.
QByteArray MakeSource(int Lines)
{
    static const char* const kBlock[] = {
        "// A block of the generated source: declarations, a loop and a comment of two lines.",
        "namespace demo {",
        "class TCounter {",
        "public:",
        "    explicit TCounter(int start) : FValue(start) {}",
        "    int Next() { return ++FValue; }  // the value after the step",
        "private:",
        "    int FValue = 0;",
        "};",
        "/* Sums the squares below n; n < 0 gives 0.",
        "   The loop runs in 64 bits. */",
        "inline long long SumSquares(int n)",
        "{",
        "    long long sum = 0;",
        "    for (int i = 0; i < n; ++i) sum += static_cast<long long>(i) * i;",
        "    if (sum > 0x7FFFFFFF) printf(\"large: %lld // not a comment\\n\", sum);",
        "    return sum;",
        "}",
        "}  // namespace demo",
        "",
    };
    QByteArray text;
    const int n = static_cast<int>(std::size(kBlock));
    for (int i = 0; i < Lines; ++i) text += QByteArray(kBlock[i % n]) + '\n';
    return text;
}

void Load(QTextEdit& Edit)
{
    QFile f(gSourceFile);
    if (!f.open(QIODevice::ReadOnly)) std::abort();
    Edit.setPlainText(QString::fromUtf8(f.readAll()));
}

void OursHighlight(benchmark::State& st)
{
    for (auto _ : st) {
        QTextEdit edit;
        edit.setLineWrapMode(QTextEdit::NoWrap);
        Load(edit);
        paxtor::HighlightSource(&edit);
        benchmark::DoNotOptimize(edit.document());
    }
}

void PlainLoad(benchmark::State& st)
{
    for (auto _ : st) {
        QTextEdit edit;
        edit.setLineWrapMode(QTextEdit::NoWrap);
        Load(edit);
        benchmark::DoNotOptimize(edit.document());
    }
}

void OursInverse(benchmark::State& st, int n)
{
    paxtor::TInvMtx page(nullptr);
    page.TrackBar1->setValue(n);
    page.Generate();
    page.Inverse();
    for (auto _ : st) page.Inverse();
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    Row("Highlight source", 5000, "ours", [](benchmark::State& s) { OursHighlight(s); })->Unit(benchmark::kMillisecond);
    Row("Highlight source", 5000, "plain load", [](benchmark::State& s) {
        PlainLoad(s);
    })->Unit(benchmark::kMillisecond);
    Row("Inverse of matrix", 100, "ours", [](benchmark::State& s) { OursInverse(s, 100); })
        ->Unit(benchmark::kMicrosecond);
    return true;
}();

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir folder;
    return tarnel_bench::QtBenchMain(argc, argv, [&folder] {
        gui::SetSettingsFolder(folder.path());
        gSourceFile = folder.filePath("Source.cpp");
        QFile f(gSourceFile);
        if (!f.open(QIODevice::WriteOnly) || f.write(MakeSource(5000)) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(gSourceFile));
            std::exit(1);
        }
    });
}

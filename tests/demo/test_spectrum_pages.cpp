// The spectrum and down-sampling pages, reached through the main window: the controls and their dependencies, the
// two spectrum estimates against numpy/scipy (tests/data/gen_yule_levinson_golden.py) with their peaks, the faults
// built differently (order 0, short files, the down-sampled step), a missing signal file, the committed signal
// against its generator, and the random walk plotted whole and down-sampled.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>

#include "demo/DemoFiles.h"
#include "demo/Main.h"
#include "demo/Pages.h"
#include "demo/PixelDownS.h"
#include "demo/YuleLevinson.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Help.h"
#include "platform/rtl/Random.h"
#include "platform/rtl/TickCount.h"
#include "tests/demo/PageTests.h"

using namespace paxtor;
using namespace tarnel;
using namespace tarnel::gui;
using pagetest::TSteppingTicks;

namespace {

QList<int> gHelpContexts;
QStringList gErrorBoxes;

std::uint64_t FixedClock()
{
    return 0x5EED5EEDull;
}

struct TSpectrumRow {
    const char* What;
    int N, P, Factor;
    bool AR;
    int Length, Stride;
    std::vector<double> Values;
    double Tolerance;
};
const TSpectrumRow kSpectrumRows[] = {
#include "yule_levinson_golden.inc"
};

std::vector<double> Ys(const TChartSeries* s)
{
    std::vector<double> y;
    for (int i = 0; i < s->Count(); ++i) y.push_back(s->YValue(i));
    return y;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestSpectrumPages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void yuleLevPageIsBuilt();
    void corrLengthSetsTheCoefficientTrackBar();
    void seriesLengths_data();
    void seriesLengths();
    void spectraAgainstScipy();
    void spectraPeakAtTheSignalsFrequencies();
    void orderZeroModelIsFlat();
    void shortFileIsExtendedWithZeros();
    void missingFileShowsTheErrorAndLeavesTheSeriesEmpty();
    void downSampledStep_data();
    void downSampledStep();
    void downSampledPlotKeepsTheExtent();
    void signalFileIsTheGeneratorsOutput();

    void downSPageIsBuilt();
    void walkPlottedWholeAndDownSampled();
    void topChartKeepsHalfThePanel();

private:
    std::unique_ptr<TfrmMain> FWindow;
    template <class TPage>
    TPage* Open(const char* caption)
    {
        return pagetest::Open<TPage>(*FWindow, caption);
    }
    TYuleLev* OpenYuleLev(int N, int P, int FactorItem)
    {
        auto* page = Open<TYuleLev>("Levinson Yule Walker");
        page->TrackBar1->setValue(N);
        page->TrackBar2->setValue(P);
        page->SelectPadding(FactorItem);
        return page;
    }
};

void TestSpectrumPages::initTestCase()
{
    RegisterPages();
    SetHelpViewer([](int c) { gHelpContexts << c; });
    SetErrorBox([](const QString& m) { gErrorBoxes << m; });
}

void TestSpectrumPages::init()
{
    gHelpContexts.clear();
    gErrorBoxes.clear();
    FWindow = std::make_unique<TfrmMain>();
    FWindow->resize(1000, 700);
}

void TestSpectrumPages::cleanup()
{
    FWindow.reset();
    SetDataFolder(QString());
    QVERIFY2(gErrorBoxes.isEmpty(), qPrintable(gErrorBoxes.join("; ")));
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(VecCacheUsed.load(), 0);  // the page's four vectors and every temporary went back
    QCOMPARE(MtxCacheUsed.load(), 0);
}

// ---- TYuleLev ------------------------------------------------------------------------------------------------

void TestSpectrumPages::yuleLevPageIsBuilt()
{
    const int used = VecCacheUsed;
    auto* page = Open<TYuleLev>("Levinson Yule Walker");
    QVERIFY(page);
    QCOMPARE(VecCacheUsed.load(), used + 4);
    QVERIFY(page->RichEdit1->toPlainText().contains("FFTData.vec"));
    QCOMPARE(page->TrackBar1->minimum(), 50);
    QCOMPARE(page->TrackBar1->maximum(), 8000);
    QCOMPARE(page->TrackBar1->value(), 2000);
    QCOMPARE(page->TrackBar1->tickInterval(), 500);
    QCOMPARE(page->lblCorrLength->text(), QStringLiteral("2000"));
    QCOMPARE(page->TrackBar2->minimum(), 1);
    QCOMPARE(page->TrackBar2->maximum(), 2000);
    QCOMPARE(page->TrackBar2->tickInterval(), 100);
    QCOMPARE(page->LPCCoef(), 1000);
    QCOMPARE(page->lblLPCCoef->text(), QStringLiteral("1000"));
    QCOMPARE(page->RadioGroup1->title(), QStringLiteral("Zero padding"));
    const QStringList items{"1x", "2x", "4x", "8x", "16x"};
    for (int i = 0; i < 5; ++i) QCOMPARE(page->RadioItems->button(i)->text(), items[i]);
    QCOMPARE(page->RadioItems->checkedId(), 2);
    QCOMPARE(page->PaddingFactor(), 4);
    QCOMPARE(page->lblTimeLYW->text(), QStringLiteral("Time for LYW"));
    QCOMPARE(page->lblTimeFFT->text(), QStringLiteral("Time for FFT"));
    QCOMPARE(page->btnCalc->text(), QStringLiteral("Calculate spectrum"));
    QCOMPARE(page->ARSeries->Title(), QStringLiteral("Yule Walker AR"));
    QCOMPARE(page->ARSeries->SeriesColor(), QColor(128, 128, 0));  // olive
    QCOMPARE(page->FFTSeries->Title(), QStringLiteral("FFT"));
    QCOMPARE(page->FFTSeries->SeriesColor(), QColor(Qt::red));
    QVERIFY(page->Chart1->LegendOnTop());
    QVERIFY(page->Chart1->Title().isEmpty());
    QVERIFY(!page->Chart1->xAxis2->visible());
    QVERIFY(!page->Chart1->yAxis2->visible());
    QTest::mouseClick(FWindow->btnHelp, Qt::LeftButton);
    QCOMPARE(gHelpContexts, QList<int>{1700});
}

void TestSpectrumPages::corrLengthSetsTheCoefficientTrackBar()
{
    auto* page = Open<TYuleLev>("Levinson Yule Walker");
    page->TrackBar1->setValue(50);
    QCOMPARE(page->CorrLength(), 50);
    QCOMPARE(page->lblCorrLength->text(), QStringLiteral("50"));
    QCOMPARE(page->TrackBar2->maximum(), 50);
    QCOMPARE(page->TrackBar2->tickInterval(), 2);
    QCOMPARE(page->TrackBar2->value(), 25);
    QCOMPARE(page->LPCCoef(), 25);
    QCOMPARE(page->lblLPCCoef->text(), QStringLiteral("25"));
}

void TestSpectrumPages::seriesLengths_data()
{
    QTest::addColumn<int>("p");
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("arLength");   // LargestExp2(p · factor) / 2
    QTest::addColumn<int>("fftLength");  // LargestExp2(p) · factor / 2
    QTest::newRow("1x, p = 1000") << 1000 << 0 << 512 << 512;
    QTest::newRow("16x, p = 1000") << 1000 << 4 << 8192 << 8192;
    QTest::newRow("2x, p = 600: the paddings differ") << 600 << 1 << 1024 << 1024;
    QTest::newRow("8x, p = 100") << 100 << 3 << 512 << 512;
    QTest::newRow("2x, p = 3") << 3 << 1 << 4 << 4;
    QTest::newRow("1x, p = 3: forms differ") << 3 << 0 << 2 << 2;
}

void TestSpectrumPages::seriesLengths()
{
    QFETCH(int, p);
    QFETCH(int, item);
    QFETCH(int, arLength);
    QFETCH(int, fftLength);
    auto* page = OpenYuleLev(2000, p, item);
    {
        TSteppingTicks ticks;
        QTest::mouseClick(page->btnCalc, Qt::LeftButton);
    }
    QCOMPARE(page->ARSeries->Count(), arLength);
    QCOMPARE(page->FFTSeries->Count(), fftLength);
    QCOMPARE(page->lblTimeLYW->text(), QStringLiteral("Time needed for Levinson YW : 7 ms"));
    QCOMPARE(page->lblTimeFFT->text(), QStringLiteral("Time needed for FFT : 7 ms"));
}

void TestSpectrumPages::spectraAgainstScipy()
{
    for (const TSpectrumRow& row : kSpectrumRows) {
        const int item = int(std::log2(row.Factor));
        auto* page = OpenYuleLev(row.N, row.P, item);
        QCOMPARE(page->LPCCoef(), row.P);
        if (row.AR)
            page->EstimateAR();
        else
            page->EstimateFFT();
        const TVec& s = page->Spectrum();
        QCOMPARE(s.Length(), row.Length);
        double worst = 0;
        for (std::size_t k = 0; k < row.Values.size(); ++k)
            worst = std::max(worst, std::fabs(s.Values()[k * row.Stride] - row.Values[k]));
        QVERIFY2(worst <= row.Tolerance,
                 qPrintable(
                     QStringLiteral("%1: %2 > %3").arg(row.What).arg(worst, 0, 'g', 3).arg(row.Tolerance, 0, 'g', 3)));
    }
}

void TestSpectrumPages::spectraPeakAtTheSignalsFrequencies()
{
    // Bin k of a spectrum of L values lies at k / (2L) cycles per sample: the sines at 0.05 and 0.2 give the
    // highest value below 0.125 and the highest above it.
    struct TCase {
        int N, P, Item;
        bool AR;
    };
    for (const TCase c : {TCase{2000, 1000, 2, true}, TCase{2000, 1000, 2, false}, TCase{2000, 50, 2, true},
                          TCase{8000, 8000, 0, true}}) {
        auto* page = OpenYuleLev(c.N, c.P, c.Item);
        c.AR ? page->EstimateAR() : page->EstimateFFT();
        const TVec& s = page->Spectrum();
        const double* v = s.Values();
        const int L = s.Length(), split = L / 4;
        const int low = int(std::max_element(v, v + split) - v);
        const int high = int(std::max_element(v + split, v + L) - v);
        const double bin = 1.0 / (2.0 * L);
        QVERIFY2(std::fabs(low * bin - 0.05) <= 2 * bin, qPrintable(QString::number(low * bin)));
        QVERIFY2(std::fabs(high * bin - 0.2) <= 2 * bin, qPrintable(QString::number(high * bin)));
    }
}

void TestSpectrumPages::orderZeroModelIsFlat()
{
    // With one coefficient the model is A = (1): its spectrum is flat at 0, not 1/|FFT| of the raw signal.
    auto* page = OpenYuleLev(2000, 10, 2);
    page->EstimateAR();  // the working vector holds a real model now
    page->TrackBar2->setValue(1);
    page->EstimateAR();
    QCOMPARE(page->Coefficients().Length(), 4);  // (1) padded to LargestExp2(1 · 4)
    QCOMPARE(page->Spectrum().Length(), 2);
    QCOMPARE(page->Spectrum()[0], 0.0);
    QCOMPARE(page->Spectrum()[1], 0.0);
}

void TestSpectrumPages::shortFileIsExtendedWithZeros()
{
    // Two data folders: 100 samples of the signal, and the same samples followed by 900 zeros. N = 1000 fits the
    // capacity a pooled vector keeps, so stale values would stay in place.
    QTemporaryDir shortDir, paddedDir;
    TVec signal;
    signal.LoadFromFile(DataPath(QStringLiteral("FFTData.vec")).toStdString());
    signal.Resize(100);
    signal.SaveToFile(QDir(shortDir.path()).filePath("FFTData.vec").toStdString());
    signal.Resize(1000, true);
    signal.SaveToFile(QDir(paddedDir.path()).filePath("FFTData.vec").toStdString());

    auto* page = OpenYuleLev(1000, 40, 2);
    page->EstimateAR();  // the pooled signal vector now holds the whole signal
    SetDataFolder(shortDir.path());
    page->EstimateAR();
    const std::vector<double> extended(page->Spectrum().Values(),
                                       page->Spectrum().Values() + page->Spectrum().Length());
    SetDataFolder(paddedDir.path());
    page->EstimateAR();
    const std::vector<double> padded(page->Spectrum().Values(), page->Spectrum().Values() + page->Spectrum().Length());
    QCOMPARE(extended, padded);
    page->EstimateFFT();  // p = 40 < 100: a plain cut
    QCOMPARE(page->Spectrum().Length(), 128);
}

void TestSpectrumPages::missingFileShowsTheErrorAndLeavesTheSeriesEmpty()
{
    QTemporaryDir empty;
    auto* page = OpenYuleLev(2000, 50, 2);
    QTest::mouseClick(page->btnCalc, Qt::LeftButton);
    QVERIFY(page->ARSeries->Count() > 0);
    SetDataFolder(empty.path());
    QTest::mouseClick(page->btnCalc, Qt::LeftButton);
    QCOMPARE(gErrorBoxes.size(), 1);
    QVERIFY2(gErrorBoxes[0].contains("FFTData.vec"), qPrintable(gErrorBoxes[0]));
    QCOMPARE(page->ARSeries->Count(), 0);
    QCOMPARE(page->FFTSeries->Count(), 0);
    QVERIFY(!QApplication::overrideCursor());
    gErrorBoxes.clear();
}

void TestSpectrumPages::downSampledStep_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("width");
    QTest::addColumn<double>("step");
    QTest::newRow("shorter than the chart: a copy") << 128 << 300 << 1.0;
    QTest::newRow("group 2: still a copy") << 600 << 300 << 1.0;
    QTest::newRow("group 3") << 900 << 300 << 1.5;
    QTest::newRow("group 6") << 2048 << 300 << 3.0;
    QTest::newRow("no width") << 2048 << 0 << 1.0;
}

void TestSpectrumPages::downSampledStep()
{
    QFETCH(int, length);
    QFETCH(int, width);
    QFETCH(double, step);
    QCOMPARE(TYuleLev::DownSampledStep(length, width), step);
}

void TestSpectrumPages::downSampledPlotKeepsTheExtent()
{
    for (const int p : {1000, 50}) {
        auto* page = OpenYuleLev(2000, p, 2);
        page->CheckDownSample->setChecked(true);
        QVERIFY(page->DownSample());
        QTest::mouseClick(page->btnCalc, Qt::LeftButton);
        const int length = page->Spectrum().Length();  // the FFT spectrum, plotted last
        const int width = page->Chart1->width();
        const TChartSeries* s = page->FFTSeries;
        QVERIFY(s->Count() > 1);
        const double last = s->XValue(s->Count() - 1);
        if (length / width <= 2) {
            // A copy: one point per value at x = 0, 1, 2, ...
            QCOMPARE(s->Count(), length);
            QCOMPARE(last, double(length - 1));
        } else {
            const int group = length / width;
            QVERIFY(s->Count() < length);
            // The last pair sits half a group past the last value at most.
            QVERIFY2(last > length - 2 * group && last <= length + group, qPrintable(QString::number(last)));
        }
    }
}

void TestSpectrumPages::signalFileIsTheGeneratorsOutput()
{
    const QString committed = DataPath(QStringLiteral("FFTData.vec"));
    const QByteArray bytes = ReadAll(committed);
    QCOMPARE(bytes.size(), 44 + 4 + 8192 * 8);
    // The library reads it and writes the same bytes back.
    QTemporaryDir dir;
    TVec v;
    v.LoadFromFile(committed.toStdString());
    QCOMPARE(v.Length(), 8192);
    QVERIFY(!v.Complex());
    const QString resaved = QDir(dir.path()).filePath("resaved.vec");
    v.SaveToFile(resaved.toStdString());
    QCOMPARE(ReadAll(resaved), bytes);
    // The generator writes it byte for byte.
    const QString script = QDir(DataFolder()).filePath("../scripts/make-fftdata");
    if (!QFile::exists(script) || !QFile::exists("/usr/bin/python3")) QSKIP("no generator or python3 here");
    const QString out = QDir(dir.path()).filePath("generated.vec");
    QProcess python;
    python.start("/usr/bin/python3", {script, out});
    QVERIFY(python.waitForFinished(60000));
    QCOMPARE(python.exitCode(), 0);
    QCOMPARE(ReadAll(out), bytes);
}

// ---- TDownS --------------------------------------------------------------------------------------------------

void TestSpectrumPages::downSPageIsBuilt()
{
    auto* page = Open<TDownS>("Displaying large amounts of data");
    QVERIFY(page);
    QVERIFY(page->RichEdit1->toPlainText().contains("PixelDownSample"));
    QCOMPARE(page->TrackBar1->minimum(), 100000);
    QCOMPARE(page->TrackBar1->maximum(), 1000000);
    QCOMPARE(page->TrackBar1->value(), 600000);
    QCOMPARE(page->TrackBar1->tickInterval(), 100000);
    QCOMPARE(page->lblPoints->text(), QStringLiteral("600000"));
    for (QLabel* l : {page->lblNormalTime, page->lblDownTime}) {
        QCOMPARE(l->text(), QStringLiteral("0000"));
        QCOMPARE(l->alignment() & Qt::AlignRight, Qt::AlignRight);
    }
    QCOMPARE(page->ChartNormal->Title(), QStringLiteral("Normal"));
    QCOMPARE(page->ChartDown->Title(), QStringLiteral("Using PixelDownSample"));
    for (TChart* c : {page->ChartNormal, page->ChartDown}) QVERIFY(!c->legend->visible());
    QCOMPARE(page->SeriesNormal->SeriesColor(), QColor(Qt::red));
    QCOMPARE(page->SeriesDown->SeriesColor(), QColor(Qt::red));
    QCOMPARE(page->btnCompare->text(), QStringLiteral("Do comparison"));
    QTest::mouseClick(FWindow->btnHelp, Qt::LeftButton);
    QCOMPARE(gHelpContexts, QList<int>{10820});
}

void TestSpectrumPages::walkPlottedWholeAndDownSampled()
{
    auto* page = Open<TDownS>("Displaying large amounts of data");
    page->TrackBar1->setValue(100000);
    const TRandomClock previous = SetRandomizeClock(FixedClock);
    Randomize();
    {
        TSteppingTicks ticks;
        QTest::mouseClick(page->btnCompare, Qt::LeftButton);
    }
    SetRandomizeClock(previous);
    QCOMPARE(page->lblNormalTime->text(), QStringLiteral("7 ms"));
    QCOMPARE(page->lblDownTime->text(), QStringLiteral("7 ms"));

    // The walk: the first element already carries one step from a start in 0 .. 999.
    const TVec& walk = page->Walk();
    QCOMPARE(walk.Length(), 100000);
    QVERIFY(walk[0] >= -500 && walk[0] <= 999 + 499);
    for (int i = 1; i < walk.Length(); ++i) QVERIFY(walk[i] - walk[i - 1] >= -500 && walk[i] - walk[i - 1] <= 499);

    // Top: every point, the bottom axis fixed to 0 .. n.
    const TChartSeries* top = page->SeriesNormal;
    QCOMPARE(top->Count(), 100000);
    QCOMPARE(top->YValue(76543), walk[76543]);
    QCOMPARE(page->ChartNormal->xAxis->range().lower, 0.0);
    QCOMPARE(page->ChartNormal->xAxis->range().upper, 100000.0);
    // Bottom: reduced to a few values per pixel column, the same extremes, the axis 0 .. n - 1.
    const TChartSeries* down = page->SeriesDown;
    QVERIFY(down->Count() > 0);
    QVERIFY(down->Count() <= 2 * 3 * page->ChartDown->width() + 2);  // a pair per group of 3 × width groups
    QCOMPARE(page->ChartDown->xAxis->range().lower, 0.0);
    QCOMPARE(page->ChartDown->xAxis->range().upper, 99999.0);
    const std::vector<double> y = Ys(down);
    const double* w = walk.Values();
    QCOMPARE(*std::max_element(y.begin(), y.end()), *std::max_element(w, w + walk.Length()));
    QCOMPARE(*std::min_element(y.begin(), y.end()), *std::min_element(w, w + walk.Length()));
    QVERIFY(down->XValue(down->Count() - 1) <= 100000);
}

void TestSpectrumPages::topChartKeepsHalfThePanel()
{
    auto* page = Open<TDownS>("Displaying large amounts of data");
    for (const int height : {400, 700, 331}) {
        page->Panel3->resize(800, height);
        page->Panel3->layout()->setGeometry(QRect(0, 0, 800, height));
        const int inner = height - 8;  // the layout's margins
        QVERIFY2(std::abs(page->ChartNormal->height() - inner / 2) <= 1,
                 qPrintable(QString::number(page->ChartNormal->height())));
    }
}

QTEST_MAIN(TestSpectrumPages)
#include "test_spectrum_pages.moc"

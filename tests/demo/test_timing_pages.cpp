// The matrix product and copy timing pages, reached through the main window as a user reaches them: their
// controls, the sizes and repetition counts of a comparison, the presets, the results of the timed work, the
// charts, the help wiring and the matrix pool that the copy page empties.
#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <memory>

#include "demo/CopyCompare.h"
#include "demo/Main.h"
#include "demo/Multiply1.h"
#include "demo/Pages.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Help.h"
#include "platform/rtl/Random.h"
#include "platform/rtl/TickCount.h"

using namespace paxtor;
using namespace tarnel;
using namespace tarnel::gui;

namespace {

QList<int> gHelpContexts;
QStringList gErrorBoxes;

std::uint64_t FixedClock()
{
    return 0x1234ABCDull;
}

// A tick count that starts just below the wrap-around and advances 7 ms at every reading.
std::uint32_t gTick = 0;
std::uint32_t SteppingTicks()
{
    const std::uint32_t t = gTick;
    gTick += 7;
    return t;
}

// Installs a clock source for its lifetime.
struct TFixedRandomClock {
    TRandomClock Previous = SetRandomizeClock(FixedClock);
    ~TFixedRandomClock() { SetRandomizeClock(Previous); }
};
struct TSteppingTicks {
    TTickSource Previous;
    TSteppingTicks() : Previous(SetTickSource(SteppingTicks)) { gTick = 0xFFFFFFF0u; }
    ~TSteppingTicks() { SetTickSource(Previous); }
};

// The product of the page's operand arrays, computed here in integers.
std::vector<std::vector<long long>> IntProduct(const TSquareArray& A, const TSquareArray& B)
{
    const std::size_t n = A.size();
    std::vector<std::vector<long long>> C(n, std::vector<long long>(n, 0));
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t k = 0; k < n; ++k)
            for (std::size_t j = 0; j < n; ++j)
                C[i][j] += static_cast<long long>(A[i][k]) * static_cast<long long>(B[k][j]);
    return C;
}

// Whether the pool serves a matrix: a pooled one occupies a slot (and reserves MtxCacheElements² elements), an
// ordinary one made because the pool has none occupies nothing.
bool TakenFromPool()
{
    TMtx* m = nullptr;
    CreateIt(m);
    const bool pooled = MtxCount.load() > 0;
    FreeIt(m);
    return pooled;
}

std::vector<double> Xs(const TChartSeries* s)
{
    std::vector<double> x;
    for (int i = 0; i < s->Count(); ++i) x.push_back(s->XValue(i));
    return x;
}

std::vector<double> Ys(const TChartSeries* s)
{
    std::vector<double> y;
    for (int i = 0; i < s->Count(); ++i) y.push_back(s->YValue(i));
    return y;
}

}  // namespace

class TestTimingPages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void multPageIsBuiltAsSelected();
    void dimensionsRunBelowTheMaximum_data();
    void dimensionsRunBelowTheMaximum();
    void repetitionsDependOnTheMaximum();
    void presetsMoveTheTrackBar();
    void loopProductEqualsTheLibraryProduct();
    void comparisonChartsOnePointPerDimension();

    void copyPageEmptiesThePoolAndIsBuiltAsSelected();
    void copyRepetitionsAndAxisTitles_data();
    void copyRepetitionsAndAxisTitles();
    void copyAndTransposeResults();

private:
    std::unique_ptr<TfrmMain> FWindow;
    template <class TPage>
    TPage* Open(const char* caption)
    {
        const int index = FWindow->FindNode(QString::fromLatin1(caption));
        if (index < 0) qFatal("no node %s", caption);
        FWindow->SelectNode(index);
        return dynamic_cast<TPage*>(FWindow->ExampleForm());
    }
};

void TestTimingPages::initTestCase()
{
    RegisterPages();
    SetHelpViewer([](int c) { gHelpContexts << c; });
    SetErrorBox([](const QString& m) { gErrorBoxes << m; });
}

void TestTimingPages::init()
{
    gHelpContexts.clear();
    gErrorBoxes.clear();
    FWindow = std::make_unique<TfrmMain>();
    FWindow->resize(1000, 700);
}

void TestTimingPages::cleanup()
{
    FWindow.reset();
    QVERIFY2(gErrorBoxes.isEmpty(), qPrintable(gErrorBoxes.join("; ")));
    QVERIFY(!QApplication::overrideCursor());  // every run gave the cursor back
}

void TestTimingPages::multPageIsBuiltAsSelected()
{
    auto* page = Open<TMult1>("Multiplying large matrices");
    QVERIFY(page);
    QVERIFY(page->RichEdit1->toPlainText().contains("triple loop"));

    QCOMPARE(page->TrackBar1->minimum(), 1);
    QCOMPARE(page->TrackBar1->maximum(), 1000);
    QCOMPARE(page->TrackBar1->value(), 60);
    QCOMPARE(page->TrackBar1->tickInterval(), 50);
    QCOMPARE(page->MaxDim(), 60);
    QCOMPARE(page->lblDim->text(), QString("60"));
    QVERIFY(page->lblDim->alignment() & Qt::AlignRight);
    QCOMPARE(page->RadioGroup1->title(), QString("Matrix size"));
    const QStringList items = {"Small matrix (eval. 1000 x)", "Medium matrix (eval. 100 x)",
                               "Large matrix (eval. 1 x)"};
    for (int i = 0; i < 3; ++i) QCOMPARE(page->RadioItems->button(i)->text(), items[i]);
    QCOMPARE(page->RadioItems->checkedId(), 1);
    QCOMPARE(page->btnCompare->text(), QString("Do comparison"));

    QCOMPARE(page->Chart1->xAxis->label(), QString("Dim"));
    QCOMPARE(page->Chart1->yAxis->label(), QString("time [ms]"));
    QVERIFY(page->Chart1->LegendOnTop());
    QCOMPARE(page->Chart1->SeriesCount(), 2);
    QCOMPARE(page->LoopSeries->Title(), QString("C++"));
    QCOMPARE(page->LoopSeries->SeriesColor(), QColor(Qt::red));
    QCOMPARE(page->LoopSeries->Pointer(), TPointerStyle::psDiagCross);
    QCOMPARE(page->TarnelSeries->Title(), QString("Tarnel"));
    QCOMPARE(page->TarnelSeries->SeriesColor(), QColor(Qt::green));
    QCOMPARE(page->TarnelSeries->Pointer(), TPointerStyle::psDownTriangle);

    // Help context 5340 while the page is shown; the next page takes the handler back.
    QVERIFY(FWindow->btnHelp->isEnabled());
    FWindow->btnHelp->click();
    QCOMPARE(gHelpContexts, QList<int>{5340});
    Open<QWidget>("Matrix operations");
    QVERIFY(!FWindow->btnHelp->OnClick);
}

void TestTimingPages::dimensionsRunBelowTheMaximum_data()
{
    QTest::addColumn<int>("maxDim");
    QTest::addColumn<std::vector<int>>("dims");
    std::vector<int> to50, to375, to75;
    for (int n = 2; n <= 50; n += 2) to50.push_back(n);
    to75 = to50;
    to75.push_back(75);
    to375 = to50;
    for (int n = 75; n <= 375; n += 25) to375.push_back(n);
    QTest::newRow("1: none") << 1 << std::vector<int>{};
    QTest::newRow("2: none") << 2 << std::vector<int>{};
    QTest::newRow("3") << 3 << std::vector<int>{2};
    QTest::newRow("50: below 50") << 50 << std::vector<int>(to50.begin(), to50.end() - 1);
    QTest::newRow("51") << 51 << to50;
    QTest::newRow("76") << 76 << to75;
    QTest::newRow("400") << 400 << to375;
}

void TestTimingPages::dimensionsRunBelowTheMaximum()
{
    QFETCH(int, maxDim);
    QFETCH(std::vector<int>, dims);
    QCOMPARE(TMult1::Dimensions(maxDim), dims);
}

void TestTimingPages::repetitionsDependOnTheMaximum()
{
    const std::pair<int, int> cases[] = {{1, 1000}, {25, 1000}, {30, 1000}, {31, 100},
                                         {60, 100}, {61, 1},    {400, 1},   {1000, 1}};
    for (const auto& [maxDim, count] : cases) QCOMPARE(TMult1::Repetitions(maxDim), count);
}

void TestTimingPages::presetsMoveTheTrackBar()
{
    auto* page = Open<TMult1>("Multiplying large matrices");
    QVERIFY(page);
    const std::pair<int, int> presets[] = {{0, 25}, {2, 400}, {1, 60}};
    for (const auto& [item, dim] : presets) {
        page->RadioItems->button(item)->click();
        QCOMPARE(page->TrackBar1->value(), dim);
        QCOMPARE(page->MaxDim(), dim);
        QCOMPARE(page->lblDim->text(), QString::number(dim));
    }
    page->TrackBar1->setValue(123);  // the track bar itself
    QCOMPARE(page->MaxDim(), 123);
    QCOMPARE(page->lblDim->text(), QString("123"));
    page->RadioItems->button(1)->click();  // the checked item again still moves the bar
    QCOMPARE(page->MaxDim(), 60);
}

void TestTimingPages::loopProductEqualsTheLibraryProduct()
{
    auto* page = Open<TMult1>("Multiplying large matrices");
    QVERIFY(page);
    TFixedRandomClock clock;
    const int n = 37;
    page->PrepareDim(n);
    const TSquareArray a = page->OperandA(), b = page->OperandB();
    QCOMPARE(int(a.size()), n);
    QVERIFY(a != b);
    bool seen[10] = {};
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const double v = a[i][j];
            QVERIFY(v >= 0 && v <= 9 && v == std::floor(v));
            seen[static_cast<int>(v)] = true;
            QCOMPARE(page->MtxA().Values2D()[i][j], v);
            QCOMPARE(page->MtxB().Values2D()[i][j], b[i][j]);
        }
    for (bool s : seen) QVERIFY(s);
    page->PrepareDim(n);  // re-seeded from the same clock reading: the same operands
    QVERIFY(page->OperandA() == a && page->OperandB() == b);

    // Several repetitions leave one product, not their sum; both methods give it exactly.
    page->TimeLoopProduct(3);
    page->TimeLibraryProduct(2);
    const auto expected = IntProduct(a, b);
    const TMtx& c = page->MtxResult();
    QCOMPARE(c.Rows(), n);
    QCOMPARE(c.Cols(), n);
    QVERIFY(!c.Complex());
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            QCOMPARE(page->LoopResult()[i][j], double(expected[i][j]));
            QCOMPARE(c.Values2D()[i][j], double(expected[i][j]));
        }

    // A smaller dimension after a larger one: the arrays shrink with it.
    page->PrepareDim(4);
    page->TimeLoopProduct(1);
    page->TimeLibraryProduct(1);
    QCOMPARE(int(page->LoopResult().size()), 4);
    const auto small = IntProduct(page->OperandA(), page->OperandB());
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) QCOMPARE(page->MtxResult().Values2D()[i][j], double(small[i][j]));
}

void TestTimingPages::comparisonChartsOnePointPerDimension()
{
    auto* page = Open<TMult1>("Multiplying large matrices");
    QVERIFY(page);
    TSteppingTicks ticks;
    page->TrackBar1->setValue(9);
    QTest::mouseClick(page->btnCompare, Qt::LeftButton);
    const std::vector<double> dims{2, 4, 6, 8};
    for (const TChartSeries* s :
         {static_cast<TChartSeries*>(page->LoopSeries), static_cast<TChartSeries*>(page->TarnelSeries)}) {
        QCOMPARE(Xs(s), dims);
        // Every block reads the tick count twice, 7 ms apart, across the wrap-around included.
        QCOMPARE(Ys(s), std::vector<double>(4, 7.0));
    }
    QVERIFY(page->Chart1->xAxis->range().contains(2) && page->Chart1->xAxis->range().contains(8));
    QVERIFY(page->Chart1->yAxis->range().contains(7));

    page->TrackBar1->setValue(2);  // no dimension below 2: the run only clears the chart
    page->DoComparison();
    QCOMPARE(page->LoopSeries->Count(), 0);
    QCOMPARE(page->TarnelSeries->Count(), 0);
}

void TestTimingPages::copyPageEmptiesThePoolAndIsBuiltAsSelected()
{
    QCOMPARE(MtxCacheElements.load(), 32);  // the library's start-up pool
    QVERIFY(TakenFromPool());
    auto* page = Open<TCopyComp>("Copy and  transpose operation");
    QVERIFY(page);
    QCOMPARE(MtxCacheElements.load(), 0);
    QVERIFY(!TakenFromPool());
    QVERIFY(page->RichEdit1->toPlainText().contains("transpos"));
    QVERIFY(!page->Source().ConditionCheck());
    QVERIFY(!page->Destination().ConditionCheck());

    QCOMPARE(page->TrackBar1->minimum(), 2);
    QCOMPARE(page->TrackBar1->maximum(), 1300);
    QCOMPARE(page->TrackBar1->value(), 30);
    QCOMPARE(page->TrackBar1->tickInterval(), 100);
    QCOMPARE(page->Dim(), 30);
    QCOMPARE(page->lblDim->text(), QString("30"));
    QVERIFY(page->lblDim->alignment() & Qt::AlignRight);
    QVERIFY(page->findChildren<QLabel*>().size() >= 2);
    bool caption = false;
    for (QLabel* l : page->findChildren<QLabel*>()) caption |= l->text() == "Matrix dimension : ";
    QVERIFY(caption);
    QCOMPARE(page->btnCompare->text(), QString("Do comparison"));
    QVERIFY(page->Chart1->LegendOnTop());
    QCOMPARE(page->LoopSeries->Title(), QString("C++"));
    QCOMPARE(page->LoopSeries->SeriesColor(), QColor(Qt::red));
    QCOMPARE(page->TarnelSeries->Title(), QString("Tarnel"));
    QCOMPARE(page->TarnelSeries->SeriesColor(), QColor(Qt::green));
    QVERIFY(page->LoopSeries->MarksVisible() && page->TarnelSeries->MarksVisible());

    FWindow->btnHelp->click();
    QCOMPARE(gHelpContexts, QList<int>{4370});
    Open<QWidget>("Matrix operations");  // the page goes, the pool stays empty
    QVERIFY(!FWindow->btnHelp->OnClick);
    QCOMPARE(MtxCacheElements.load(), 0);
    QVERIFY(!TakenFromPool());
}

void TestTimingPages::copyRepetitionsAndAxisTitles_data()
{
    QTest::addColumn<int>("dim");
    QTest::addColumn<int>("count");
    QTest::newRow("2") << 2 << 50000;
    QTest::newRow("14") << 14 << 50000;
    QTest::newRow("15") << 15 << 5000;
    QTest::newRow("29") << 29 << 5000;
    QTest::newRow("30") << 30 << 2000;
    QTest::newRow("50") << 50 << 1000;
    QTest::newRow("80") << 80 << 500;
    QTest::newRow("199") << 199 << 500;
    QTest::newRow("200") << 200 << 50;
    QTest::newRow("499") << 499 << 50;
    QTest::newRow("500") << 500 << 1;
    QTest::newRow("1300") << 1300 << 1;
}

void TestTimingPages::copyRepetitionsAndAxisTitles()
{
    QFETCH(int, dim);
    QFETCH(int, count);
    QCOMPARE(TCopyComp::Repetitions(dim), count);
    QCOMPARE(TCopyComp::TimeAxisTitle(count), QString("time [ms] (%1 executions)").arg(count));
    if (dim != 14 && dim != 15 && dim != 500) return;

    // The whole run at the dimensions that matter: title, bars and labels.
    auto* page = Open<TCopyComp>("Copy and  transpose operation");
    QVERIFY(page);
    TSteppingTicks ticks;
    page->TrackBar1->setValue(dim);
    QTest::mouseClick(page->btnCompare, Qt::LeftButton);
    QCOMPARE(page->Chart1->yAxis->label(), QString("time [ms] (%1 executions)").arg(count));
    QCOMPARE(Xs(page->LoopSeries), (std::vector<double>{0, 1}));
    QCOMPARE(Xs(page->TarnelSeries), (std::vector<double>{0, 1}));
    QCOMPARE(Ys(page->LoopSeries), (std::vector<double>{7, 7}));
    QCOMPARE(Ys(page->TarnelSeries), (std::vector<double>{7, 7}));
    QCOMPARE(page->LoopSeries->XLabel(0), QString("Copy operation"));
    QCOMPARE(page->LoopSeries->XLabel(1), QString("Transp operation"));
    QCOMPARE(page->TarnelSeries->XLabel(0), QString());
    QCOMPARE(page->Source().Rows(), dim);
    // The last block transposed the source.
    QCOMPARE(page->Destination().Rows(), dim);
    QCOMPARE(page->Destination().Values2D()[0][dim - 1], page->Source().Values2D()[dim - 1][0]);
}

void TestTimingPages::copyAndTransposeResults()
{
    auto* page = Open<TCopyComp>("Copy and  transpose operation");
    QVERIFY(page);
    for (const int n : {1, 7, 64, 301}) {
        page->PrepareSource(n);
        const TMtx& src = page->Source();
        const TMtx& dst = page->Destination();
        QCOMPARE(src.Rows(), n);
        QCOMPARE(src.Cols(), n);
        // Distinct values: a transposition that is off anywhere shows.
        QCOMPARE(src.Values2D()[n - 1][n - 1], double(n * n - 1));

        const auto isCopy = [&] {
            if (dst.Rows() != n || dst.Cols() != n || dst.Complex()) return false;
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < n; ++j)
                    if (dst.Values2D()[i][j] != src.Values2D()[i][j]) return false;
            return true;
        };
        const auto isTranspose = [&] {
            if (dst.Rows() != n || dst.Cols() != n || dst.Complex()) return false;
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < n; ++j)
                    if (dst.Values2D()[j][i] != src.Values2D()[i][j]) return false;
            return true;
        };
        page->TimeLoopCopy(2);
        QVERIFY2(isCopy(), qPrintable(QString("loop copy, n = %1").arg(n)));
        page->TimeLoopTransp(1);
        QVERIFY2(n == 1 || !isCopy(), "the source is not symmetric");
        QVERIFY2(isTranspose(), qPrintable(QString("loop transposition, n = %1").arg(n)));
        page->TimeLibraryCopy(2);
        QVERIFY2(isCopy(), qPrintable(QString("Copy, n = %1").arg(n)));
        page->TimeLibraryTransp(1);
        QVERIFY2(isTranspose(), qPrintable(QString("Transp, n = %1").arg(n)));
    }
}

QTEST_MAIN(TestTimingPages)
#include "test_timing_pages.moc"

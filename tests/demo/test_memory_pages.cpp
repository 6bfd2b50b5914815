// The memory management pages, reached through the main window: their controls, the pool settings each leaves, the
// sequences and counts of a comparison, the sums they time, the charts (bar labels and colours, axis titles) and
// the pool counters, which every page gives back.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>

#include "demo/DefaultArray.h"
#include "demo/GetMemComp.h"
#include "demo/Main.h"
#include "demo/MemoryCompare1.h"
#include "demo/Pages.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Help.h"
#include "platform/rtl/TickCount.h"

using namespace paxtor;
using namespace tarnel;
using namespace tarnel::gui;

namespace {

QList<int> gHelpContexts;
QStringList gErrorBoxes;

// A tick count that starts just below the wrap-around and advances 7 ms at every reading: every timed block
// takes 7 ms.
std::uint32_t gTick = 0;
std::uint32_t SteppingTicks()
{
    const std::uint32_t t = gTick;
    gTick += 7;
    return t;
}
struct TSteppingTicks {
    TTickSource Previous;
    TSteppingTicks() : Previous(SetTickSource(SteppingTicks)) { gTick = 0xFFFFFFF0u; }
    ~TSteppingTicks() { SetTickSource(Previous); }
};

// The vector pool as seen from outside: how many vectors it lends before it creates ordinary ones, and the
// capacity of the first.
struct TPoolShape {
    int Slots;
    int Capacity;
};
TPoolShape VecPoolShape()
{
    std::vector<TVec*> taken;
    TPoolShape shape{0, -1};
    for (int i = 0; i < 40; ++i) {
        TVec* v = nullptr;
        CreateIt(v);
        taken.push_back(v);
        if (v->CacheIndex() < 0) break;
        if (shape.Slots++ == 0) shape.Capacity = v->ActualLength();
    }
    for (auto it = taken.rbegin(); it != taken.rend(); ++it) FreeIt(*it);
    return shape;
}

std::vector<double> Xs(const TChartSeries* s)
{
    std::vector<double> x;
    for (int i = 0; i < s->Count(); ++i) x.push_back(s->XValue(i));
    return x;
}

}  // namespace

class TestMemoryPages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void memCompPageIsBuilt();
    void memCompFullComparisonFillsColouredBarsAndEmptiesThePool();
    void memCompPassesGiveEveryVectorBack();

    void getMemPageSetsThePoolAndIsBuilt();
    void getMemLengths_data();
    void getMemLengths();
    void getMemComparisonAtTheSmallestMaximum();

    void defArrayPageIsBuiltForTheVectorTest();
    void defArrayPickingTheTests();
    void defArrayCounts_data();
    void defArrayCounts();
    void defArrayDimensions();
    void defArraySumsAgree_data();
    void defArraySumsAgree();
    void defArrayMatrixComparison();
    void defArrayVectorComparison();

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

void TestMemoryPages::initTestCase()
{
    RegisterPages();
    SetHelpViewer([](int c) { gHelpContexts << c; });
    SetErrorBox([](const QString& m) { gErrorBoxes << m; });
}

void TestMemoryPages::init()
{
    gHelpContexts.clear();
    gErrorBoxes.clear();
    SetVecCacheSize(32, 1024);  // the start-up pool; pages change it
    FWindow = std::make_unique<TfrmMain>();
    FWindow->resize(1000, 700);
}

void TestMemoryPages::cleanup()
{
    FWindow.reset();
    QVERIFY2(gErrorBoxes.isEmpty(), qPrintable(gErrorBoxes.join("; ")));
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(VecCacheUsed.load(), 0);  // every pooled object went back
    QCOMPARE(MtxCacheUsed.load(), 0);
}

// ---- TMemComp1 -----------------------------------------------------------------------------------------------

void TestMemoryPages::memCompPageIsBuilt()
{
    auto* page = Open<TMemComp1>("Comparing CreateIt/FreeIt with Create/Destroy");
    QVERIFY(page);
    QCOMPARE(page->windowTitle(), QStringLiteral("Object cache"));
    QVERIFY(page->RichEdit1->toPlainText().contains("SetVecCacheSize"));
    QCOMPARE(page->TrackBar1->minimum(), 1);
    QCOMPARE(page->TrackBar1->maximum(), 1500);
    QCOMPARE(page->TrackBar1->value(), 4);
    QCOMPARE(page->TrackBar1->tickInterval(), 50);
    QCOMPARE(page->lblLength->text(), QStringLiteral("4"));
    QCOMPARE(page->Memo1->document()->blockCount(), 11);
    QCOMPARE(page->btnCompare->text(), QStringLiteral("Do full comparison"));
    QCOMPARE(page->Chart1->xAxis->label(), QStringLiteral("SetVecCacheSize"));
    QCOMPARE(page->Chart1->yAxis->label(), QStringLiteral("Time [ms]"));
    QCOMPARE(page->Series1->Title(), QStringLiteral("CreateIt/FreeIt"));
    QCOMPARE(page->Series1->SeriesColor(), QColor(Qt::red));
    QCOMPARE(page->Series1->MarkColor(), QColor(Qt::blue));
    const QStringList labels{"(32,1024)", "(32,0)", "(0,0)", "(Create/Destroy)"};
    QCOMPARE(page->Series1->Count(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(page->Series1->XLabel(i), labels[i]);
        QCOMPARE(page->Series1->YValue(i), 0.0);
    }
    page->TrackBar1->setValue(300);
    QCOMPARE(page->VectorLength(), 300);
    QCOMPARE(page->lblLength->text(), QStringLiteral("300"));
    QTest::mouseClick(FWindow->btnHelp, Qt::LeftButton);
    QCOMPARE(gHelpContexts, QList<int>{7030});
}

void TestMemoryPages::memCompFullComparisonFillsColouredBarsAndEmptiesThePool()
{
    auto* page = Open<TMemComp1>("Comparing CreateIt/FreeIt with Create/Destroy");
    page->TrackBar1->setValue(1100);  // above the 1024 elements the first pool reserves
    {
        TSteppingTicks ticks;
        QTest::mouseClick(page->btnCompare, Qt::LeftButton);
    }
    // Yellow, green, blue and red as the framework's $BBGGRR values, each bar the 7 ms of its pass.
    const QColor colours[4] = {QColor(255, 255, 0), QColor(0, 128, 0), QColor(0, 0, 255), QColor(255, 0, 0)};
    QCOMPARE(page->Series1->Count(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(page->Series1->YValue(i), 7.0);
        QCOMPARE(page->Series1->BarColor(i), colours[i]);
    }
    QCOMPARE(page->Series1->XLabel(3), QStringLiteral("(Create/Destroy)"));
    // The bars are painted in their colours: the pixel in the middle of each bar.
    page->Chart1->resize(600, 400);
    page->Chart1->replot();
    const QImage image = page->Chart1->toPixmap(600, 400).toImage();
    for (int i = 0; i < 4; ++i) {
        const int x = int(page->Chart1->xAxis->coordToPixel(i));
        const int y = int(page->Chart1->yAxis->coordToPixel(2.0));  // low in the bar, below its mark
        QCOMPARE(QColor(image.pixel(x, y)), colours[i]);
    }
    // The pool stays empty: every vector is now an ordinary one.
    QCOMPARE(VecPoolShape().Slots, 0);
}

void TestMemoryPages::memCompPassesGiveEveryVectorBack()
{
    auto* page = Open<TMemComp1>("Comparing CreateIt/FreeIt with Create/Destroy");
    SetVecCacheSize(32, 1024);
    page->TrackBar1->setValue(10);
    page->TimePooledPass(3);
    QCOMPARE(VecCacheUsed.load(), 0);
    QCOMPARE(VecCount.load(), 0);
    // Twelve of 32 slots per pass: the pool never ran out.
    QCOMPARE(VecPoolShape().Slots, 32);
    page->TimePlainPass(3);
    QCOMPARE(VecCacheUsed.load(), 0);
}

// ---- TGetMemC ------------------------------------------------------------------------------------------------

void TestMemoryPages::getMemPageSetsThePoolAndIsBuilt()
{
    auto* page = Open<TGetMemC>("GetMem vs SliceIt");
    QVERIFY(page);
    const TPoolShape shape = VecPoolShape();
    QCOMPARE(shape.Slots, 1);
    QVERIFY(shape.Capacity >= 2000);
    QVERIFY(page->RichEdit1->toPlainText().contains("SliceIt"));
    QCOMPARE(page->TrackBar1->minimum(), 16);
    QCOMPARE(page->TrackBar1->maximum(), 2000);
    QCOMPARE(page->TrackBar1->value(), 500);
    QCOMPARE(page->TrackBar1->tickInterval(), 100);
    QCOMPARE(page->lblDim->text(), QStringLiteral("500"));
    QCOMPARE(page->Chart1->xAxis->label(), QStringLiteral("Length"));
    QCOMPARE(page->Chart1->yAxis->label(), QStringLiteral("time [ms] (50.000 executions)"));
    QCOMPARE(page->GetMemSeries->Title(), QStringLiteral("GetMem"));
    QCOMPARE(page->SliceItSeries->Title(), QStringLiteral("SliceIt"));
    QCOMPARE(page->SetLengthSeries->Title(), QStringLiteral("SetLength"));
    QCOMPARE(page->GetMemSeries->SeriesColor(), QColor(Qt::red));
    QCOMPARE(page->SliceItSeries->SeriesColor(), QColor(Qt::green));
    QCOMPARE(page->SetLengthSeries->SeriesColor(), QColor(Qt::yellow));
    QTest::mouseClick(FWindow->btnHelp, Qt::LeftButton);
    page->bthHelpClick();
    QCOMPARE(gHelpContexts, (QList<int>{10230, 10230}));
}

void TestMemoryPages::getMemLengths_data()
{
    QTest::addColumn<int>("maximum");
    QTest::addColumn<std::vector<int>>("lengths");
    QTest::newRow("16: only 4") << 16 << std::vector<int>{4};
    QTest::newRow("44 is reached") << 44 << std::vector<int>{4, 44};
    QTest::newRow("just below") << 123 << std::vector<int>{4, 44, 84};
    QTest::newRow("start") << 500
                           << std::vector<int>{4, 44, 84, 124, 164, 204, 244, 284, 324, 364, 404, 444, 484};
}

void TestMemoryPages::getMemLengths()
{
    QFETCH(int, maximum);
    QFETCH(std::vector<int>, lengths);
    QCOMPARE(TGetMemC::Lengths(maximum), lengths);
}

void TestMemoryPages::getMemComparisonAtTheSmallestMaximum()
{
    auto* page = Open<TGetMemC>("GetMem vs SliceIt");
    page->TrackBar1->setValue(16);
    {
        TSteppingTicks ticks;
        QTest::mouseClick(page->btnCompare, Qt::LeftButton);
    }
    for (TChartSeries* s : {static_cast<TChartSeries*>(page->GetMemSeries),
                            static_cast<TChartSeries*>(page->SliceItSeries),
                            static_cast<TChartSeries*>(page->SetLengthSeries)}) {
        QCOMPARE(s->Count(), 1);
        QCOMPARE(s->XValue(0), 4.0);
        QCOMPARE(s->YValue(0), 7.0);
    }
    // The left axis from 0 to the largest time.
    QCOMPARE(page->Chart1->yAxis->range().lower, 0.0);
    QCOMPARE(page->Chart1->yAxis->range().upper, 7.0);
    // The slices fit the one pooled vector, which went back after every pass.
    QCOMPARE(VecPoolShape().Slots, 1);
    // The largest slices of the track bar's end still fit it: 4 × 499 elements.
    TGetMemC::TimeSliceIt(2000 / 4 - 1, 2);
    QCOMPARE(VecCacheUsed.load(), 0);
}

// ---- TDefArray -----------------------------------------------------------------------------------------------

void TestMemoryPages::defArrayPageIsBuiltForTheVectorTest()
{
    auto* page = Open<TDefArray>("Using Default arrays");
    QVERIFY(page);
    QVERIFY(page->RichEdit1->toPlainText().contains("Values1D"));
    QVERIFY(!FWindow->btnHelp->isEnabled());
    QCOMPARE(page->Test(), TDefArray::ttVector);
    QCOMPARE(page->lblCaption->text(), QStringLiteral("Vector length"));
    QCOMPARE(page->TrackBar1->minimum(), 1);
    QCOMPARE(page->TrackBar1->maximum(), 10000);
    QCOMPARE(page->TrackBar1->value(), 2500);
    QCOMPARE(page->TrackBar1->tickInterval(), 500);
    QCOMPARE(page->lblDim->text(), QStringLiteral("2500"));
    QCOMPARE(page->lblDim->alignment() & Qt::AlignRight, Qt::AlignRight);
    QCOMPARE(page->RadioGroup1->title(), QStringLiteral("Pick your test"));
    QCOMPARE(page->RadioItems->button(0)->text(), QStringLiteral("test vector"));
    QCOMPARE(page->RadioItems->button(1)->text(), QStringLiteral("test matrix"));
    QCOMPARE(page->Chart1->xAxis->label(), QStringLiteral("dimension"));
    QCOMPARE(page->Chart1->yAxis->label(), QStringLiteral("time  [ms]"));
    QCOMPARE(page->DefaultSeries->Title(), QStringLiteral("Default Array"));
    QCOMPARE(page->ValuesSeries->Title(), QStringLiteral("Values Array"));
    QCOMPARE(page->Values1DSeries->Title(), QStringLiteral("Values1D array"));
    QCOMPARE(page->DefaultSeries->SeriesColor(), QColor(Qt::blue));
    QCOMPARE(page->ValuesSeries->SeriesColor(), QColor(Qt::red));
    QCOMPARE(page->Values1DSeries->SeriesColor(), QColor(255, 255, 128));  // $80FFFF
    QVERIFY(!page->Values1DSeries->visible());
}

void TestMemoryPages::defArrayPickingTheTests()
{
    auto* page = Open<TDefArray>("Using Default arrays");
    QTest::mouseClick(page->RadioItems->button(1), Qt::LeftButton);
    QCOMPARE(page->Test(), TDefArray::ttMatrix);
    QCOMPARE(page->lblCaption->text(), QStringLiteral("Sqared matrix rows"));
    QCOMPARE(page->TrackBar1->maximum(), 300);
    QCOMPARE(page->TrackBar1->tickInterval(), 10);
    QCOMPARE(page->TrackBar1->value(), 150);
    QCOMPARE(page->Dim(), 150);
    QCOMPARE(page->lblDim->text(), QStringLiteral("150"));
    QVERIFY(page->Values1DSeries->visible());
    // Back to the vector test: the position stays where the matrix test put it.
    QTest::mouseClick(page->RadioItems->button(0), Qt::LeftButton);
    QCOMPARE(page->lblCaption->text(), QStringLiteral("Vector length"));
    QCOMPARE(page->TrackBar1->maximum(), 10000);
    QCOMPARE(page->TrackBar1->tickInterval(), 500);
    QCOMPARE(page->Dim(), 150);
    QVERIFY(!page->Values1DSeries->visible());
}

void TestMemoryPages::defArrayCounts_data()
{
    QTest::addColumn<bool>("matrix");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("count");
    QTest::newRow("vector 499") << false << 499 << 2000;
    QTest::newRow("vector 500") << false << 500 << 1000;
    QTest::newRow("vector 1999") << false << 1999 << 1000;
    QTest::newRow("vector 2000") << false << 2000 << 500;
    QTest::newRow("vector 2500") << false << 2500 << 500;
    QTest::newRow("vector 4999") << false << 4999 << 500;
    QTest::newRow("vector 5000") << false << 5000 << 100;
    QTest::newRow("matrix 29") << true << 29 << 500;
    QTest::newRow("matrix 30") << true << 30 << 250;
    QTest::newRow("matrix 69") << true << 69 << 250;
    QTest::newRow("matrix 70") << true << 70 << 50;
    QTest::newRow("matrix 150") << true << 150 << 50;
}

void TestMemoryPages::defArrayCounts()
{
    QFETCH(bool, matrix);
    QFETCH(int, n);
    QFETCH(int, count);
    QCOMPARE(matrix ? TDefArray::MatrixCount(n) : TDefArray::VectorCount(n), count);
}

void TestMemoryPages::defArrayDimensions()
{
    std::vector<int> matrix{1, 3, 5, 7, 9, 11, 16, 21, 26, 31, 36, 41, 46, 51, 61, 71, 81, 91, 101, 116, 131, 146};
    QCOMPARE(TDefArray::MatrixDims(150), matrix);
    std::vector<int> vector{1, 3, 5, 7, 9, 11};
    for (int d = 61; d <= 461; d += 50) vector.push_back(d);
    for (int d : {511, 611, 711, 811, 911, 1011, 1261, 1511, 1761, 2011, 2261}) vector.push_back(d);
    QCOMPARE(TDefArray::VectorDims(2500), vector);
    // From 3000 on the step is 1000.
    const std::vector<int> large = TDefArray::VectorDims(10000);
    QCOMPARE(large.back(), 9011);
    QCOMPARE(*(large.end() - 2), 8011);
    QVERIFY(TDefArray::VectorDims(1).empty());
    QCOMPARE(TDefArray::TimeAxisTitle(500), QStringLiteral("time [ms] (500 iterations)"));
}

void TestMemoryPages::defArraySumsAgree_data()
{
    QTest::addColumn<int>("d");
    QTest::newRow("1: no window") << 1;
    QTest::newRow("3: no window") << 3;
    QTest::newRow("4: one window") << 4;
    QTest::newRow("7") << 7;
    QTest::newRow("46") << 46;
}

void TestMemoryPages::defArraySumsAgree()
{
    QFETCH(int, d);
    auto* page = Open<TDefArray>("Using Default arrays");
    page->PrepareVector(d);
    const double all = double(d) * (d + 1) / 2;
    QCOMPARE(page->VectorDefaultSum(), all);
    QCOMPARE(page->VectorValuesSum(), all);
    // The windows [i, j .. j+3] for j = 0 .. d-4 of the matrix holding k + 1 at flat index k, summed here.
    page->PrepareMatrix(d);
    double windows = 0;
    for (int i = 0; i < d; ++i)
        for (int j = 0; j + 3 < d; ++j)
            for (int k = 0; k < 4; ++k) windows += double(i) * d + j + k + 1;
    QCOMPARE(page->MatrixDefaultSum(), windows);
    QCOMPARE(page->MatrixValues2DSum(), windows);
    QCOMPARE(page->MatrixValues1DSum(), windows);
}

void TestMemoryPages::defArrayMatrixComparison()
{
    auto* page = Open<TDefArray>("Using Default arrays");
    page->PickTest(1);
    {
        TSteppingTicks ticks;
        QTest::mouseClick(page->btnCompare, Qt::LeftButton);
    }
    const std::vector<int> dims = TDefArray::MatrixDims(150);
    const std::vector<double> xs(dims.begin(), dims.end());
    for (TChartSeries* s : {static_cast<TChartSeries*>(page->DefaultSeries),
                            static_cast<TChartSeries*>(page->ValuesSeries),
                            static_cast<TChartSeries*>(page->Values1DSeries)}) {
        QCOMPARE(Xs(s), xs);
        for (int i = 0; i < s->Count(); ++i) QCOMPARE(s->YValue(i), 7.0);
    }
    QCOMPARE(page->Chart1->yAxis->label(), QStringLiteral("time [ms] (50 iterations)"));
    QCOMPARE(page->Matrix().Rows(), 146);
}

void TestMemoryPages::defArrayVectorComparison()
{
    auto* page = Open<TDefArray>("Using Default arrays");
    {
        TSteppingTicks ticks;
        QTest::mouseClick(page->btnCompare, Qt::LeftButton);
    }
    const std::vector<int> dims = TDefArray::VectorDims(2500);
    QCOMPARE(Xs(page->DefaultSeries), std::vector<double>(dims.begin(), dims.end()));
    QCOMPARE(page->ValuesSeries->Count(), int(dims.size()));
    QCOMPARE(page->Values1DSeries->Count(), 0);
    QCOMPARE(page->Chart1->yAxis->label(), QStringLiteral("time [ms] (500 iterations)"));
}

QTEST_MAIN(TestMemoryPages)
#include "test_memory_pages.moc"

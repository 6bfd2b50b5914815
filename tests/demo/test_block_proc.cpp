// The block processing page, reached through the main window: the three forms of the Maxwell density against each
// other and against scipy (tests/data/gen_block_proc_golden.py), across block boundaries; a run under a stepping
// tick count (the progress label at every step, the chart's points, labels and left axis); a run under a tick count
// that never moves (the left axis keeps a height); a second run.
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <cmath>
#include <memory>

#include "demo/BlockProcessing.h"
#include "demo/Main.h"
#include "demo/Pages.h"
#include "platform/gui/Guard.h"
#include "tests/demo/PageTests.h"

using namespace paxtor;
using namespace tarnel;
using namespace tarnel::gui;

namespace {

#include "../data/block_proc_golden.inc"

QStringList gErrorBoxes;

// The texts the label shows as it is painted, each once.
class TLabelWatch : public QObject {
public:
    QStringList Seen;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) {
            const QString t = static_cast<QLabel*>(o)->text();
            if (Seen.isEmpty() || Seen.last() != t) Seen << t;
        }
        return false;
    }
};

std::uint32_t StillTicks()
{
    return 12345;
}

}  // namespace

class TestBlockProc : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startState();
    void threeFormsAgreeWithScipy_data();
    void threeFormsAgreeWithScipy();
    void runShowsProgressAndChartsTheTimes();
    void zeroTimesKeepAPositiveAxis();

private:
    std::unique_ptr<TfrmMain> FWindow;
    TfrmBlockProc* FPage = nullptr;
};

void TestBlockProc::initTestCase()
{
    RegisterPages();
    SetErrorBox([](const QString& m) { gErrorBoxes << m; });
}

void TestBlockProc::init()
{
    gErrorBoxes.clear();
    FWindow = std::make_unique<TfrmMain>();
    FWindow->resize(1100, 750);
    FWindow->show();
    FPage = pagetest::Open<TfrmBlockProc>(*FWindow, "Block Processing");
    QVERIFY(FPage);
}

void TestBlockProc::cleanup()
{
    FPage = nullptr;
    FWindow.reset();
    QVERIFY2(gErrorBoxes.isEmpty(), qPrintable(gErrorBoxes.join("; ")));
}

void TestBlockProc::startState()
{
    QVERIFY(FPage->RichEdit1->toPlainText().contains("block"));
    QVERIFY(FPage->CheckDownSample->isHidden());
    QCOMPARE(FPage->Label1->text(), QString("Progress: 0%"));
    QCOMPARE(FPage->btnRun->text(), QString("Run test"));
    QCOMPARE(FPage->Help().Kind().Mode, THelpKind::Kept);
    QCOMPARE(FPage->Chart1->xAxis->label(), QString("Vector length"));
    QCOMPARE(FPage->Chart1->yAxis->label(), QString("Time [ms] for 10000000 elements"));
    const struct {
        TLineSeries* S;
        const char* Title;
        QColor Color;
    } series[] = {{FPage->Series1, "Plain function", Qt::red},
                  {FPage->Series2, "Vectorized", Qt::green},
                  {FPage->Series3, "Block vectorized", Qt::yellow}};
    for (const auto& s : series) {
        QCOMPARE(s.S->Title(), QString(s.Title));
        QCOMPARE(s.S->SeriesColor(), s.Color);
        QCOMPARE(s.S->Count(), 0);
    }
    QCOMPARE(TfrmBlockProc::ProgressText(16.5), QString("Progress: 17%"));  // half away from zero
}

void TestBlockProc::threeFormsAgreeWithScipy_data()
{
    QTest::addColumn<int>("Length");
    QTest::addColumn<bool>("Ramp");
    QTest::newRow("x = 2, ten elements") << 10 << false;
    QTest::newRow("x = 2, one element") << 1 << false;
    QTest::newRow("ramp 0..10 over 2000 (three blocks)") << 2000 << true;
    QTest::newRow("empty") << 0 << false;
}

void TestBlockProc::threeFormsAgreeWithScipy()
{
    QFETCH(int, Length);
    QFETCH(bool, Ramp);
    FPage->Prepare(Length);
    if (Ramp)
        for (int j = 0; j < Length; ++j) FPage->X().Values()[j] = kRampX[j];
    TVec plain;
    FPage->Evaluate(TfrmBlockProc::fmPlain);
    plain.Copy(FPage->Y());
    for (auto form : {TfrmBlockProc::fmVectorized, TfrmBlockProc::fmBlock}) {
        FPage->Prepare(Length);  // y and x anew, so no form reads another's result
        if (Ramp)
            for (int j = 0; j < Length; ++j) FPage->X().Values()[j] = kRampX[j];
        FPage->Evaluate(form);
        QCOMPARE(FPage->Y().Length(), Length);
        QCOMPARE(FPage->X().Length(), Length);
        QVERIFY(!FPage->X().IsSubRange() && FPage->X().BlockEnd());
        for (int j = 0; j < Length; ++j) {
            const double p = plain.Values()[j], v = FPage->Y().Values()[j];
            QVERIFY2(std::fabs(v - p) <= 1e-15 * std::fabs(p), qPrintable(QString("form %1, element %2: %3 against %4")
                                                                              .arg(form)
                                                                              .arg(j)
                                                                              .arg(v, 0, 'g', 17)
                                                                              .arg(p, 0, 'g', 17)));
        }
    }
    // scipy: 1e-15 relative at 2; over the ramp 4e-15 (exp differs by an ulp or two where the density is tiny).
    for (int j = 0; j < Length; ++j) {
        const double want = Ramp ? kRampPdf[j] : kMaxwellAt2;
        const double tol = Ramp ? 4e-15 : 1e-15;
        QVERIFY2(std::fabs(plain.Values()[j] - want) <= tol * std::fabs(want) + 1e-300, qPrintable(QString::number(j)));
    }
    // Each walk has ended: the next one runs over all of x.
    FPage->Prepare(10);
    FPage->Evaluate(TfrmBlockProc::fmBlock);
    QVERIFY(std::fabs(FPage->Y().Values()[9] - kMaxwellAt2) <= 1e-15 * kMaxwellAt2);
}

void TestBlockProc::runShowsProgressAndChartsTheTimes()
{
    pagetest::TSteppingTicks ticks;                        // every timed block: 7 ms
    QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));  // painted at once only where shown
    TLabelWatch watch;
    FPage->Label1->installEventFilter(&watch);
    const QStringList percents = {"6",  "11", "17", "22", "28", "33", "39", "44", "50",
                                  "56", "61", "67", "72", "78", "83", "89", "94", "100"};
    for (int run = 0; run < 2; ++run) {  // a second run goes the same way
        watch.Seen.clear();
        QTest::mouseClick(FPage->btnRun, Qt::LeftButton);
        QStringList want;
        for (const QString& p : percents) want << "Progress: " + p + "%";
        QCOMPARE(watch.Seen, want);
        QCOMPARE(FPage->Label1->text(), QString("Progress: 100%"));
        QCOMPARE(FPage->X().Length(), 1000000);
        QVERIFY(std::fabs(FPage->Y().Values()[999999] - kMaxwellAt2) <= 1e-15 * kMaxwellAt2);
        for (TLineSeries* s : {FPage->Series1, FPage->Series2, FPage->Series3}) {
            QCOMPARE(s->Count(), 6);
            for (int i = 0; i < 6; ++i) {
                QCOMPARE(s->XLabel(i), QString("1") + QString(i + 1, '0'));
                QCOMPARE(s->YValue(i), 7.0);
            }
        }
        auto* ticker = dynamic_cast<QCPAxisTickerText*>(FPage->Chart1->xAxis->ticker().data());
        QVERIFY(ticker);
        QCOMPARE(ticker->ticks().values(), QStringList({"10", "100", "1000", "10000", "100000", "1000000"}));
        QCOMPARE(FPage->Chart1->yAxis->range().lower, 0.0);
        QCOMPARE(FPage->Chart1->yAxis->range().upper, 1.1 * 7);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }
}

void TestBlockProc::zeroTimesKeepAPositiveAxis()
{
    const TTickSource previous = SetTickSource(StillTicks);
    FPage->RunTest();
    SetTickSource(previous);
    QCOMPARE(FPage->Series1->YValue(0), 0.0);
    QCOMPARE(FPage->Chart1->yAxis->range().lower, 0.0);
    QVERIFY(FPage->Chart1->yAxis->range().upper > 0);
}

QTEST_MAIN(TestBlockProc)
#include "test_block_proc.moc"

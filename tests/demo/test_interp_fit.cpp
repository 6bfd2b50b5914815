// The interpolation and least-squares pages, reached through the main window: their controls, the walks drawn
// through the run-time generator's seam (the committed integer walks of tests/data/gen_interp_fit_golden.py), the
// interpolated and fitted values against scipy and numpy, "DownSample" keeping the curves on the data, the button
// states, the pool and the cursor after a run that fails.
#include <QApplication>
#include <QTest>
#include <cmath>
#include <memory>

#include "core/pool.h"
#include "demo/Interp1.h"
#include "demo/Main.h"
#include "demo/Pages.h"
#include "demo/QRPoly1.h"
#include "demo/ValueViewerSeam.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Help.h"
#include "platform/rtl/Random.h"
#include "platform/rtl/TickCount.h"

using namespace paxtor;
using namespace tarnel;
using namespace tarnel::gui;

namespace {

struct GoldSample {
    int Index;
    double Value;
};
#include "../data/interp_fit_golden.inc"

QList<int> gHelpContexts;
QStringList gErrorBoxes;

std::uint64_t GoldenClock()
{
    return 0x1234ABCD;
}

struct TGoldenClock {
    TRandomClock Previous = SetRandomizeClock(GoldenClock);
    ~TGoldenClock() { SetRandomizeClock(Previous); }
};

std::uint32_t FailingTicks()
{
    throw Exception("injected");
}

std::vector<double> Ys(const TChartSeries* s)
{
    std::vector<double> y;
    for (int i = 0; i < s->Count(); ++i) y.push_back(s->YValue(i));
    return y;
}

}  // namespace

class TestInterpFit : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void interpPageIsBuiltAsSelected();
    void factorOneGivesTheData_data();
    void factorOneGivesTheData();
    void interpolatesLikeScipy_data();
    void interpolatesLikeScipy();
    void downSampleKeepsTheExtent();
    void failedRunGivesPoolAndCursorBack();

    void fitPageIsBuiltAsSelected();
    void fitsLikeNumpy_data();
    void fitsLikeNumpy();
    void buttonsWaitForAFit();
    void downSampledFitLiesOnTheData();
    void highOrderRuns();

private:
    std::unique_ptr<TfrmMain> FWindow;
    template <class TPage>
    TPage* Open(const char* caption)
    {
        FWindow->SelectNode(FWindow->FindNode(QString::fromLatin1(caption)));
        return dynamic_cast<TPage*>(FWindow->ExampleForm());
    }
};

void TestInterpFit::initTestCase()
{
    RegisterPages();
    SetHelpViewer([](int c) { gHelpContexts << c; });
    SetErrorBox([](const QString& m) { gErrorBoxes << m; });
}

void TestInterpFit::init()
{
    gHelpContexts.clear();
    gErrorBoxes.clear();
    FWindow = std::make_unique<TfrmMain>();
    FWindow->resize(1000, 700);
    FWindow->show();  // the charts get their real widths
    QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
}

void TestInterpFit::cleanup()
{
    FWindow.reset();
    SetValueViewer(nullptr);
    QVERIFY2(gErrorBoxes.isEmpty(), qPrintable(gErrorBoxes.join("; ")));
    QVERIFY(!QApplication::overrideCursor());
}

// ---- Interpolation --------------------------------------------------------------------------------------------

void TestInterpFit::interpPageIsBuiltAsSelected()
{
    auto* page = Open<TInterpolating1>("Linear and cubic interpolation");
    QVERIFY(page);
    QVERIFY(page->RichEdit1->toPlainText().contains("spline"));
    QCOMPARE(page->TrackBar1->minimum(), 60);
    QCOMPARE(page->TrackBar1->maximum(), 100000);
    QCOMPARE(page->TrackBar1->value(), 5000);
    QCOMPARE(page->TrackBar1->tickInterval(), 5000);
    QCOMPARE(page->lblPoints->text(), QString("5000"));
    QCOMPARE(page->TrackBar2->minimum(), 1);
    QCOMPARE(page->TrackBar2->maximum(), 10);
    QCOMPARE(page->TrackBar2->value(), 8);
    QCOMPARE(page->TrackBar2->tickInterval(), 1);
    QCOMPARE(page->lblFactor->text(), QString("8"));
    QCOMPARE(page->ComboBox1->count(), 2);
    QCOMPARE(page->ComboBox1->itemText(0), QString("Linear"));
    QCOMPARE(page->ComboBox1->itemText(1), QString("Cubic"));
    QCOMPARE(page->ComboBox1->currentIndex(), 1);
    QCOMPARE(page->InterpolationType(), IntCubic);
    QCOMPARE(page->lblTime->text(), QString("XXXXXXX"));
    QCOMPARE(page->btnRecreate->text(), QString("Recreate"));
    QStringList captions;
    for (QLabel* l : page->findChildren<QLabel*>()) captions << l->text();
    for (const char* c : {"Data points : ", "Factor : ", "Interpolation : ", "Time needed : "})
        QVERIFY2(captions.contains(c), c);
    QVERIFY(page->Chart1->LegendOnTop());
    QCOMPARE(page->Chart1->SeriesCount(), 2);
    QCOMPARE(page->Series1->Title(), QString("Original data"));
    QCOMPARE(page->Series1->SeriesColor(), QColor(Qt::red));
    QCOMPARE(page->Series2->Title(), QString("Fitted values"));
    QCOMPARE(page->Series2->SeriesColor(), QColor(Qt::green));
    QVERIFY(!page->DownSample());
    QVERIFY(page->Chart1->ZoomAllowed());

    page->ComboBox1->setCurrentIndex(0);
    QCOMPARE(page->InterpolationType(), IntLinear);
    page->TrackBar1->setValue(777);
    QCOMPARE(page->DataPoints(), 777);
    QCOMPARE(page->lblPoints->text(), QString("777"));

    FWindow->btnHelp->click();
    page->bthHelpClick();
    QCOMPARE(gHelpContexts, (QList<int>{1370, 1370}));
}

void TestInterpFit::factorOneGivesTheData_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("tolerance");  // relative
    QTest::newRow("linear: exactly") << 0 << 0.0;
    QTest::newRow("cubic") << 1 << 1e-12;
}

void TestInterpFit::factorOneGivesTheData()
{
    QFETCH(int, type);
    QFETCH(double, tolerance);
    auto* page = Open<TInterpolating1>("Linear and cubic interpolation");
    QVERIFY(page);
    TGoldenClock clock;
    page->ComboBox1->setCurrentIndex(type);
    page->TrackBar1->setValue(60);
    page->TrackBar2->setValue(1);
    QTest::mouseClick(page->btnRecreate, Qt::LeftButton);
    const std::vector<double> y = Ys(page->Series1), yi = Ys(page->Series2);
    QCOMPARE(int(y.size()), 60);
    QCOMPARE(int(yi.size()), 60);
    for (int i = 0; i < 60; ++i) {
        QCOMPARE(y[i], double(kInterpWalk[i]));  // the first 60 steps of the committed walk
        QCOMPARE(page->Series2->XValue(i), double(i));
        QVERIFY2(std::fabs(yi[i] - y[i]) <= tolerance * std::fabs(y[i]), qPrintable(QString::number(i)));
    }
    QVERIFY(page->lblTime->text().startsWith("Solved in ") && page->lblTime->text().endsWith(" ms"));
}

void TestInterpFit::interpolatesLikeScipy_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("linear, interp1d") << 0;
    QTest::newRow("cubic, CubicSpline") << 1;
}

void TestInterpFit::interpolatesLikeScipy()
{
    QFETCH(int, type);
    auto* page = Open<TInterpolating1>("Linear and cubic interpolation");
    QVERIFY(page);
    TGoldenClock clock;
    page->ComboBox1->setCurrentIndex(type);
    QCOMPARE(page->DataPoints(), 5000);
    QCOMPARE(page->Factor(), 8);
    page->Recreate();
    const std::vector<double> y = Ys(page->Series1);
    QCOMPARE(int(y.size()), 5000);
    for (int i = 0; i < 5000; ++i) QCOMPARE(y[i], double(kInterpWalk[i]));
    QCOMPARE(page->Series2->Count(), 5000 * 8);
    const double tol = 1e-9 * kInterpWalkMaxAbs;
    const auto check = [&](const auto& gold) {
        for (const GoldSample& g : gold) {
            QCOMPARE(page->Series2->XValue(g.Index), g.Index / 8.0);
            QVERIFY2(std::fabs(page->Series2->YValue(g.Index) - g.Value) <= tol,
                     qPrintable(QString("%1: %2 vs %3").arg(g.Index).arg(page->Series2->YValue(g.Index)).arg(g.Value)));
        }
    };
    if (type == 0)
        check(kInterpLinear);
    else
        check(kInterpCubic);
}

void TestInterpFit::downSampleKeepsTheExtent()
{
    auto* page = Open<TInterpolating1>("Linear and cubic interpolation");
    QVERIFY(page);
    page->CheckDownSample->click();
    QVERIFY(page->DownSample());
    QVERIFY(!page->Chart1->ZoomAllowed());
    page->TrackBar1->setValue(20000);
    page->Recreate();
    const int width = page->Chart1->width();
    QVERIFY(width > 0);
    // Both curves reduced to groups of about a third of a pixel (a maximum and a minimum each), spanning the walk's
    // abscissae.
    for (const TChartSeries* s : {page->Series1, page->Series2}) {
        const int len = s == page->Series1 ? 20000 : 20000 * 8;
        const int step = len / (3 * width);
        QCOMPARE(s->Count(), 2 * (len / step) + (len % step ? 2 : 0));
        QCOMPARE(s->XValue(0), 0.0);
        QVERIFY2(std::fabs(s->XValue(s->Count() - 1) - 20000) < 20000.0 / width,
                 qPrintable(QString::number(s->XValue(s->Count() - 1))));
    }
    page->CheckDownSample->click();
    QVERIFY(page->Chart1->ZoomAllowed());
}

void TestInterpFit::failedRunGivesPoolAndCursorBack()
{
    auto* page = Open<TInterpolating1>("Linear and cubic interpolation");
    QVERIFY(page);
    const int used = VecCacheUsed.load();
    const TTickSource previous = SetTickSource(FailingTicks);
    QTest::mouseClick(page->btnRecreate, Qt::LeftButton);
    SetTickSource(previous);
    QCOMPARE(gErrorBoxes, QStringList{"injected"});
    gErrorBoxes.clear();
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(VecCacheUsed.load(), used);
    // The next run works.
    page->TrackBar1->setValue(100);
    page->Recreate();
    QCOMPARE(page->Series2->Count(), 800);
    QCOMPARE(VecCacheUsed.load(), used);
}

// ---- Least squares --------------------------------------------------------------------------------------------

void TestInterpFit::fitPageIsBuiltAsSelected()
{
    TGoldenClock clock;
    const int used = VecCacheUsed.load(), mtxUsed = MtxCacheUsed.load();
    auto* page = Open<TLQRPoly>("Least-square fitting");
    QVERIFY(page);
    QVERIFY(page->RichEdit1->toPlainText().contains("least squares"));
    QCOMPARE(VecCacheUsed.load(), used + 6);
    QCOMPARE(MtxCacheUsed.load(), mtxUsed + 1);
    QCOMPARE(page->TrackBar1->minimum(), 1);
    QCOMPARE(page->TrackBar1->maximum(), 100);
    QCOMPARE(page->TrackBar1->value(), 20);
    QCOMPARE(page->TrackBar1->tickInterval(), 10);
    QCOMPARE(page->lblOrder->text(), QString("20"));
    QCOMPARE(page->TrackBar2->minimum(), 1);
    QCOMPARE(page->TrackBar2->maximum(), 20);
    QCOMPARE(page->TrackBar2->value(), 5);
    QCOMPARE(page->TrackBar2->tickInterval(), 1);
    QCOMPARE(page->lblFactor->text(), QString("5"));
    QCOMPARE(page->lblTime->text(), QString("XXXX"));
    QCOMPARE(page->btnFit->text(), QString("Fit"));
    QCOMPARE(page->btnCoeff->text(), QString("View coefficients"));
    QCOMPARE(page->btnDelta->text(), QString("Delta"));
    QStringList captions;
    for (QLabel* l : page->findChildren<QLabel*>()) captions << l->text();
    for (const char* c : {"Polynomial order", "Factor", "Time needed : "}) QVERIFY2(captions.contains(c), c);
    QVERIFY(page->Chart1->LegendOnTop());
    const struct {
        TChartSeries* s;
        const char* title;
        QColor color;
    } series[] = {{page->Series1, "Original data", Qt::red},
                  {page->Series2, "Fitted polynomial", Qt::green},
                  {page->Series3, "YCalc + Delta", Qt::black},
                  {page->Series4, "YCalc - Delta", Qt::black}};
    for (const auto& s : series) {
        QCOMPARE(s.s->Title(), QString(s.title));
        QCOMPARE(s.s->SeriesColor(), s.color);
    }
    QCOMPARE(dynamic_cast<QCPGraph*>(page->Series3)->pen().style(), Qt::DotLine);
    QCOMPARE(dynamic_cast<QCPGraph*>(page->Series4)->pen().style(), Qt::DotLine);

    // The data: the committed walk at 0 .. 999, drawn whole.
    QCOMPARE(page->X().Length(), 1000);
    QCOMPARE(page->Series1->Count(), 1000);
    for (int i = 0; i < 1000; ++i) {
        QCOMPARE(page->X()[i], double(i));
        QCOMPARE(page->Y()[i], double(kPolyWalk[i]));
        QCOMPARE(page->Series1->XValue(i), double(i));
    }
    FWindow->btnHelp->click();
    QCOMPARE(gHelpContexts, QList<int>{1422});
    Open<QWidget>("Introduction");  // everything back to the pool
    QCOMPARE(VecCacheUsed.load(), used);
    QCOMPARE(MtxCacheUsed.load(), mtxUsed);
}

void TestInterpFit::fitsLikeNumpy_data()
{
    QTest::addColumn<int>("order");
    QTest::newRow("3") << 3;
    QTest::newRow("8") << 8;
}

void TestInterpFit::fitsLikeNumpy()
{
    QFETCH(int, order);
    TGoldenClock clock;
    auto* page = Open<TLQRPoly>("Least-square fitting");
    QVERIFY(page);
    page->TrackBar1->setValue(order);
    QTest::mouseClick(page->btnFit, Qt::LeftButton);
    QVERIFY(page->lblTime->text().endsWith(" ms"));
    QCOMPARE(page->DegFreedom(), 1000 - order - 1);
    QVERIFY(std::fabs(page->L2R() - (order == 3 ? kPolyL2R3 : kPolyL2R8)) <= 1e-8 * page->L2R());
    QCOMPARE(page->XI().Length(), 5000);
    QCOMPARE(page->Delta().Length(), 5000);
    // YCalc holds YCalc + Delta after the drawing.
    const auto& fitted = order == 3 ? kPolyFitted3 : kPolyFitted8;
    const auto& delta = order == 3 ? kPolyDelta3 : kPolyDelta8;
    for (const GoldSample& g : fitted) {
        const double f = page->YCalc()[g.Index] - page->Delta()[g.Index];
        QVERIFY2(std::fabs(f - g.Value) <= 1e-8 * std::fabs(g.Value) + 1e-8,
                 qPrintable(QString("%1: %2 vs %3").arg(g.Index).arg(f).arg(g.Value)));
        // The three curves at x = k/M.
        QCOMPARE(page->Series2->XValue(g.Index), g.Index / 5.0);
        QVERIFY(std::fabs(page->Series2->YValue(g.Index) - g.Value) <= 1e-8 * std::fabs(g.Value) + 1e-8);
    }
    for (const GoldSample& g : delta) {
        QVERIFY2(std::fabs(page->Delta()[g.Index] - g.Value) <= 1e-8 * g.Value,
                 qPrintable(QString("%1: %2 vs %3").arg(g.Index).arg(page->Delta()[g.Index]).arg(g.Value)));
        QCOMPARE(page->Series3->YValue(g.Index), page->YCalc()[g.Index]);
        QCOMPARE(page->Series4->YValue(g.Index), page->YCalc()[g.Index] - 2 * page->Delta()[g.Index]);
    }
    QCOMPARE(page->Series2->Count(), 5000);
}

void TestInterpFit::buttonsWaitForAFit()
{
    auto* page = Open<TLQRPoly>("Least-square fitting");
    QVERIFY(page);
    QStringList shown;
    SetValueViewer([&](TMtx* m, TVec* v, const QString& caption) {
        QVERIFY(!m && v);
        shown << caption;
        QCOMPARE(v, caption == "Coefficients" ? &page->Coefficients() : &page->Delta());
    });
    const auto enabled = [&] { return page->btnCoeff->isEnabled() && page->btnDelta->isEnabled(); };
    const auto disabled = [&] { return !page->btnCoeff->isEnabled() && !page->btnDelta->isEnabled(); };
    QVERIFY(disabled());
    page->TrackBar1->setValue(4);
    page->Fit();
    QVERIFY(enabled());
    QCOMPARE(page->Coefficients().Length(), 5);
    QTest::mouseClick(page->btnCoeff, Qt::LeftButton);
    QTest::mouseClick(page->btnDelta, Qt::LeftButton);
    QCOMPARE(shown, (QStringList{"Coefficients", "Delta"}));
    // Every change of the settings takes them away until the next fit.
    page->TrackBar1->setValue(5);
    QVERIFY(disabled());
    page->Fit();
    page->TrackBar2->setValue(2);
    QVERIFY(disabled());
    page->Fit();
    QVERIFY(enabled());
    page->CheckDownSample->click();
    QVERIFY(disabled());
    QVERIFY(page->DownSample());
    QVERIFY(!page->Chart1->ZoomAllowed());
}

void TestInterpFit::downSampledFitLiesOnTheData()
{
    // The reduced curves use the reduction's spacing, so that they span the data's 0 .. 999 as the data do.
    auto* page = Open<TLQRPoly>("Least-square fitting");
    QVERIFY(page);
    page->CheckDownSample->click();
    const int width = page->Chart1->width();
    QVERIFY(width > 0);
    for (const int m : {20, 5, 1}) {
        page->TrackBar2->setValue(m);
        page->TrackBar1->setValue(6);
        page->Fit();
        const int n = 1000 * m;
        const int group = n / width;
        for (const TChartSeries* s : {page->Series2, page->Series3, page->Series4}) {
            const double last = s->XValue(s->Count() - 1);
            QCOMPARE(s->XValue(0), 0.0);
            if (group <= 2) {  // a copy: every value 1/M apart
                QCOMPARE(s->Count(), n);
                QCOMPARE(last, (n - 1) / double(m));
            } else {
                QVERIFY2(s->Count() <= 2 * (n / group) + 2, qPrintable(QString::number(s->Count())));
                // The pairs of a last, partial group stand half a group apart like the others.
                QVERIFY2(last <= 1000 + double(group) / m && last > 1000 - 2.0 * group / m,
                         qPrintable(QString("M = %1: last x %2").arg(m).arg(last)));
            }
        }
        // The band still encloses the fit: the maxima of the upper curve lie above those of the fit.
        QVERIFY(page->Series3->YValue(0) > page->Series2->YValue(0));
        QVERIFY(page->Series4->YValue(1) < page->Series2->YValue(1));
    }
}

void TestInterpFit::highOrderRuns()
{
    // Order 100 on abscissae up to 999: the fit ends with a result or with the library's error in the box.
    auto* page = Open<TLQRPoly>("Least-square fitting");
    QVERIFY(page);
    page->TrackBar1->setValue(100);
    QTest::mouseClick(page->btnFit, Qt::LeftButton);
    QVERIFY(!QApplication::overrideCursor());
    if (!gErrorBoxes.isEmpty()) {
        QCOMPARE(gErrorBoxes, QStringList{"PolyFit : Vandermonde matrix rank deficient"});
        gErrorBoxes.clear();
        QVERIFY(!page->btnCoeff->isEnabled());
    } else {
        QCOMPARE(page->Coefficients().Length(), 101);
        QVERIFY(page->btnCoeff->isEnabled());
    }
    page->TrackBar1->setValue(3);
    page->Fit();
    QVERIFY(page->btnCoeff->isEnabled());
}

QTEST_MAIN(TestInterpFit)
#include "test_interp_fit.moc"

// The chart routines: DrawValues of vectors and X-Y pairs (skipped NaNs and infinities, the messages before anything
// changes, down-sampling to three values per pixel against numpy) and DrawIt's shared window.
#include <QDialog>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <functional>

#include "components/TarnelTee.h"
#include "core/Dovi387.h"
#include "core/pool.h"
#include "platform/gui/Settings.h"

using namespace tarnel;

namespace {

// What one DrawIt showed, seen from inside its modal run.
struct TShown {
    QDialog* Window = nullptr;
    QString Caption, Title, BottomLabel, LeftLabel;
    bool Legend = false;
    int Series = 0;
    QCPRange Bottom, Left;
    bool BottomAutomatic = true, LeftAutomatic = true;
    QVector<double> X, Y;  // the first series' points, when it is a line series
};

// Runs Draw with the window's modal run replaced by a look at it.
TShown RunDrawIt(const std::function<void()>& Draw)
{
    TShown shown;
    SetDrawItExec([&shown](QDialog& window) {
        gui::TChart& chart = DrawItChart();
        shown.Window = &window;
        shown.Caption = window.windowTitle();
        shown.Title = chart.Title();
        shown.BottomLabel = chart.xAxis->label();
        shown.LeftLabel = chart.yAxis->label();
        shown.Legend = chart.legend->visible();
        shown.Series = chart.plottableCount();
        shown.Bottom = chart.xAxis->range();
        shown.Left = chart.yAxis->range();
        shown.BottomAutomatic = chart.AxisAutomatic(chart.xAxis);
        shown.LeftAutomatic = chart.AxisAutomatic(chart.yAxis);
        if (chart.SeriesCount() > 0) {
            shown.X = chart.Series(0)->XValues();
            shown.Y = chart.Series(0)->YValues();
        }
    });
    Draw();
    SetDrawItExec(nullptr);
    return shown;
}

QString Raised(const std::function<void()>& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

}  // namespace

class TestTarnelTee : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void drawValuesSkipsNanAndKeepsPositions();
    void drawValuesRaisesBeforeChanging();
    void drawValuesThinsLongVectors_data();
    void drawValuesThinsLongVectors();
    void drawValuesThinsPairsByPosition();
    void drawItVectorSharesOneWindow();

private:
    QTemporaryDir FSettings;
};

void TestTarnelTee::initTestCase()
{
    gui::SetSettingsFolder(FSettings.path());
}

void TestTarnelTee::init()
{
    QCOMPARE(VecCacheUsed.load(), 0);
    QCOMPARE(MtxCacheUsed.load(), 0);
}

// Every routine gives its pooled objects back, also when it raised.
void TestTarnelTee::cleanup()
{
    QCOMPARE(VecCacheUsed.load(), 0);
    QCOMPARE(MtxCacheUsed.load(), 0);
}

void TestTarnelTee::drawValuesSkipsNanAndKeepsPositions()
{
    gui::TChart chart(nullptr);
    gui::TLineSeries* s = chart.AddLineSeries("s", Qt::red, gui::TPointerStyle::psNone);
    TVec y;
    y.SetIt(false, {1, 2, 3, NAN, 5, INFINITY, -INFINITY, 8});
    DrawValues(y, *s, true, 0.5);  // 8 values on a wide chart: no thinning
    QCOMPARE(s->XValues(), (QVector<double>{0, 0.5, 1, 2, 3.5}));
    QCOMPARE(s->YValues(), (QVector<double>{1, 2, 3, 5, 8}));
    // The plottable holds the same points and the automatic axes span them.
    QCOMPARE(s->data()->size(), 5);
    QVERIFY(chart.xAxis->range().contains(0) && chart.xAxis->range().contains(3.5));

    TVec x;
    x.SetIt(false, {3, 1, NAN, 4, 5});
    y.SetIt(false, {10, 20, 30, INFINITY, 50});
    DrawValues(x, y, *s, false);
    QCOMPARE(s->XValues(), (QVector<double>{3, 1, 5}));  // the series keeps the pairs' order
    QCOMPARE(s->YValues(), (QVector<double>{10, 20, 50}));
    QCOMPARE(s->data()->at(0)->key, 1.0);  // the line joins them from left to right
}

void TestTarnelTee::drawValuesRaisesBeforeChanging()
{
    gui::TChart chart(nullptr);
    gui::TLineSeries* s = chart.AddLineSeries("s", Qt::red, gui::TPointerStyle::psNone);
    s->AddXY(7, 8);
    TVec real, cplx, four;
    real.SetIt(false, {1, 2, 3, 4, 5});
    cplx.SetIt(true, {1, 2, 3, 4});
    four.SetIt(false, {1, 2, 3, 4});
    const struct {
        const char* Text;
        std::function<void()> Call;
    } cases[] = {
        {"Y.Complex", [&] { DrawValues(cplx, *s, false, 1); }},
        {"X.Complex or Y.Complex", [&] { DrawValues(cplx, real, *s, false); }},
        {"X.Complex or Y.Complex", [&] { DrawValues(real, cplx, *s, true); }},
        {"X.Length or Y.Length", [&] { DrawValues(real, four, *s, false); }},
    };
    for (const auto& c : cases) {
        QCOMPARE(Raised(c.Call), QString::fromLatin1(c.Text));
        QCOMPARE(s->Count(), 1);
        QCOMPARE(s->XValue(0), 7.0);
    }
}

void TestTarnelTee::drawValuesThinsLongVectors_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("downSample");
    QTest::addColumn<int>("points");
    // A chart 100 pixels wide takes 300 values whole; 1000 become 334 groups of 3 (the last one alone): 668.
    QTest::newRow("1000 thinned") << 1000 << true << 668;
    QTest::newRow("1000 whole without DownSample") << 1000 << false << 1000;
    QTest::newRow("299 whole") << 299 << true << 299;
    QTest::newRow("300 whole") << 300 << true << 300;
    QTest::newRow("301 copied") << 301 << true << 301;  // thinned with step Trunc(301/300) = 1: a copy
}

void TestTarnelTee::drawValuesThinsLongVectors()
{
    QFETCH(int, length);
    QFETCH(bool, downSample);
    QFETCH(int, points);
    gui::TChart chart(nullptr);
    chart.resize(100, 80);
    gui::TLineSeries* s = chart.AddLineSeries("s", Qt::red, gui::TPointerStyle::psNone);
    TVec y;
    y.Size(length);
    for (int i = 0; i < length; ++i) y.Values()[i] = std::sin(i * 0.37) * (1 + i % 7);
    DrawValues(y, *s, downSample, 2);
    QCOMPARE(s->Count(), points);
    const double step = 2.0 * length / points;
    for (int k = 0; k < points; k += 97) QCOMPARE(s->XValue(k), k * step);
    if (points == length) {
        for (int k = 0; k < points; k += 31) QCOMPARE(s->YValue(k), y.Values()[k]);
    } else {
        // (maximum, minimum) of each group of three.
        for (int g = 0; g < points / 2; g += 13) {
            const int first = 3 * g, n = std::min(3, length - first);
            const double* v = y.Values() + first;
            QCOMPARE(s->YValue(2 * g), *std::max_element(v, v + n));
            QCOMPARE(s->YValue(2 * g + 1), *std::min_element(v, v + n));
        }
    }
}

void TestTarnelTee::drawValuesThinsPairsByPosition()
{
    gui::TChart chart(nullptr);
    chart.resize(100, 80);
    gui::TLineSeries* s = chart.AddLineSeries("s", Qt::red, gui::TPointerStyle::psNone);
    TVec x, y;
    x.Size(1000);
    y.Size(1000);
    for (int i = 0; i < 1000; ++i) {
        x.Values()[i] = 10 + i * 0.5;
        y.Values()[i] = i % 10;
    }
    DrawValues(x, y, *s, true);
    QCOMPARE(s->Count(), 668);
    QCOMPARE(s->XValue(0), 10.0);  // on X's own scale
    QVERIFY(s->XValue(667) < 10 + 999 * 0.5);
    DrawValues(x, y, *s, false);
    QCOMPARE(s->Count(), 1000);
}

void TestTarnelTee::drawItVectorSharesOneWindow()
{
    TVec v;
    v.SetIt(false, {4, 1, 3});
    const TShown first = RunDrawIt([&] { DrawIt(v, "", false); });
    QCOMPARE(first.Caption, QString("Vector values"));
    QCOMPARE(first.Title, QString());
    QCOMPARE(first.Series, 1);
    QVERIFY(!first.Legend);
    QCOMPARE(first.BottomLabel, QString("Index"));
    QCOMPARE(first.LeftLabel, QString("Value"));
    QVERIFY(!first.BottomAutomatic);
    QVERIFY(first.LeftAutomatic);
    QCOMPARE(first.Bottom.lower, 0.0);
    QCOMPARE(first.Bottom.upper, 2.0);
    QVERIFY(first.Left.contains(1) && first.Left.contains(4));
    QCOMPARE(first.Y, (QVector<double>{4, 1, 3}));
    // The series went with the window.
    QCOMPARE(DrawItChart().plottableCount(), 0);

    TVec z;
    z.SetIt(true, {3, 4, 0, -2});
    const TShown second = RunDrawIt([&] { DrawIt(z, "Spectrum", true); });
    QCOMPARE(second.Window, first.Window);
    QCOMPARE(second.Caption, QString("Spectrum"));
    QCOMPARE(second.Series, 1);
    QCOMPARE(second.LeftLabel, QString("Magnitude"));
    QCOMPARE(second.Y, (QVector<double>{5, 2}));
    QCOMPARE(second.Bottom.lower, 0.0);
    QCOMPARE(second.Bottom.upper, 1.0);

    // One element: half a unit on either side (an empty range would be refused).
    TVec one;
    one.SetIt(false, {9});
    const TShown single = RunDrawIt([&] { DrawIt(one, "", false); });
    QCOMPARE(single.Bottom.lower, -0.5);
    QCOMPARE(single.Bottom.upper, 0.5);
}

QTEST_MAIN(TestTarnelTee)
#include "test_tarnel_tee.moc"

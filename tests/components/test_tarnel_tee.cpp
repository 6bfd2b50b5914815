// The chart routines: DrawValues of vectors and X-Y pairs (skipped NaNs and infinities, the messages before anything
// changes, down-sampling to three values per pixel against numpy) and DrawIt's shared window; the matrix grid series
// (cell colours in every style against numpy, orientation, hit test, palette and legend).
#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cfenv>
#include <cmath>
#include <functional>

#include "components/TarnelTee.h"
#include "core/Dovi387.h"
#include "core/pool.h"
#include "platform/gui/SeriesEditor.h"
#include "platform/gui/Settings.h"

using namespace tarnel;
using gui::TColor;

namespace golden {
#include "grid_series_golden.inc"
}

namespace {

void SetMatrix(TMtx& A, int Rows, int Cols, const std::vector<double>& Values)
{
    A.Size(Rows, Cols);
    std::copy(Values.begin(), Values.end(), A.Values());
}

std::vector<QRgb> Pixels(const QImage& image)
{
    std::vector<QRgb> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) out.push_back(image.pixel(x, y));
    return out;
}

// A ramp from Bottom to Top: the bottom components c0 (red, green, blue) and their distances d to the top ones.
struct TRamp {
    int C0[3], D[3];
    TRamp(TColor Bottom, TColor Top)
    {
        for (int c = 0; c < 3; ++c) {
            C0[c] = int(Bottom >> 8 * c & 0xFF);
            D[c] = int(Top >> 8 * c & 0xFF) - C0[c];
        }
    }
    // The colour at a finite position t in the range, by definition: Round(t·d) + c0 per component (ties to even),
    // within 0 .. 255.
    QRgb At(double t) const
    {
        int rgb[3];
        for (int c = 0; c < 3; ++c)
            rgb[c] = D[c] == 0 ? C0[c]
                               : std::clamp(static_cast<int>(std::nearbyint(std::clamp(t * D[c], -512.0, 512.0))) + C0[c], 0, 255);
        return qRgb(rgb[0], rgb[1], rgb[2]);
    }
};

// Uniform numbers in [0, 1), the same sequence for a seed on every platform.
struct TUniform {
    std::uint64_t Seed;
    double operator()()
    {
        Seed = Seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(Seed >> 11) * 0x1p-53;
    }
};

// The rendered colour at the centre of cell (Row, Col) of a series' chart.
QRgb RenderedCell(gui::TChart& chart, TMtxGridSeries& series, int Row, int Col)
{
    chart.replot();
    const QImage shot = chart.toPixmap(chart.width(), chart.height()).toImage();
    const QPointF p = series.coordsToPixels(Col, series.Matrix()->Rows() - 1 - Row);
    return shot.pixel(p.toPoint()) & 0xFFFFFF;
}

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
    void drawValuesThinnedAgainstNumpy();
    void drawItVectorSharesOneWindow();
    void drawItMatrix();

    void gridColoursAgainstNumpy();
    void gridOrientationAndHitTest();
    void gridPaletteAndLegend();
    void gridConstantAndRefreshedMatrix();
    void gridStyleChangeEmptiesLegend();
    void gridPaletteEdges();
    void gridRampAtRoundingSteps();
    void gridRampSpecialsAtEveryPlace();
    void gridRangeOfTheFiniteElements();
    void viewerEntriesChartTheWorkingMatrix();
    void registration();
    void drawItPaints();

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

// Groups of three, a NaN spoiling its whole group and an infinity only its own point, positions k·1000·2/668.
void TestTarnelTee::drawValuesThinnedAgainstNumpy()
{
    gui::TChart chart(nullptr);
    chart.resize(100, 80);
    gui::TLineSeries* s = chart.AddLineSeries("s", Qt::red, gui::TPointerStyle::psNone);
    TVec y;
    y.SetIt(false, golden::kThinInput);
    DrawValues(y, *s, true, 2);
    QCOMPARE(s->XValues(), QVector<double>(golden::kThinX.begin(), golden::kThinX.end()));
    QCOMPARE(s->YValues(), QVector<double>(golden::kThinY.begin(), golden::kThinY.end()));
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

void TestTarnelTee::drawItMatrix()
{
    TMtx a;
    a.SetIt(2, 3, false, {1, 2, 3, 4, 5, 6});
    const TShown real = RunDrawIt([&] { DrawIt(a, ""); });
    QCOMPARE(real.Caption, QString("Matrix values"));
    QCOMPARE(real.Title, QString("Value"));
    QVERIFY(real.Legend);
    QCOMPARE(real.Series, 1);
    QCOMPARE(real.BottomLabel, QString("Index"));
    QCOMPARE(real.LeftLabel, QString("Index"));
    QVERIFY(!real.BottomAutomatic && !real.LeftAutomatic);
    QCOMPARE(real.Bottom.lower, 0.0);
    QCOMPARE(real.Bottom.upper, 2.0);
    QCOMPARE(real.Left.upper, 1.0);
    QCOMPARE(DrawItChart().plottableCount(), 0);

    // A complex matrix shows its magnitudes; a single row gets half a unit on either side of row 0.
    TMtx z;
    z.SetIt(1, 5, true, {3, 4, 0, 1, 6, 8, 0, 0, 5, 12});
    TMtx shownMatrix;
    SetDrawItExec([&](QDialog&) {
        auto* series = qobject_cast<TMtxGridSeries*>(DrawItChart().plottable(0));
        QVERIFY(series);
        shownMatrix.Copy(*series->Matrix());
        QCOMPARE(DrawItChart().Title(), QString("Magnitude"));
        QCOMPARE(DrawItChart().legend->itemCount(), series->LegendCount());
        QCOMPARE(DrawItChart().yAxis->range().lower, -0.5);
        QCOMPARE(DrawItChart().yAxis->range().upper, 0.5);
        QCOMPARE(DrawItChart().xAxis->range().upper, 4.0);
    });
    DrawIt(z, "Z");
    SetDrawItExec(nullptr);
    TMtx expected;
    expected.SetIt(1, 5, false, {5, 1, 10, 0, 13});
    QVERIFY(shownMatrix.Equal(expected, 0));
    QCOMPARE(DrawItWindow().windowTitle(), QString("Z"));
}

void TestTarnelTee::gridColoursAgainstNumpy()
{
    gui::TChart chart(nullptr);
    TMtx a;
    struct TCase {
        const char* Name;
        const std::vector<double>& Values;
        TGridPaletteStyle Style;
        TColor Bottom, Top;
        const TPaletteList* Palette;
        const std::vector<QRgb>& Expected;
    };
    const TCase cases[] = {
        {"ramp, default colours", golden::kRampMatrix, palRange, 0x800000, 0xFFFFFF, nullptr, golden::kRampDefault},
        {"ramp, ties both ways", golden::kRampMatrix, palRange, 0, 0x0A0604, nullptr, golden::kRampSmall},
        {"range custom", golden::kRangeCustomMatrix, palRangeCustom, 0x800000, 0xFFFFFF,
         &golden::kRangeCustomPalette, golden::kRangeCustom},
        {"custom", golden::kCustomMatrix, palCustom, 0x800000, 0xFFFFFF, &golden::kCustomPalette, golden::kCustom},
    };
    // Ties go to even whatever the unit's rounding mode.
    for (int mode : {FE_TONEAREST, FE_TOWARDZERO, FE_UPWARD})
    for (const TCase& c : cases) {
        std::fesetround(mode);
        auto* s = new TMtxGridSeries(chart.xAxis, chart.yAxis);
        s->SetPaletteStyle(c.Style);
        s->SetBottomColor(c.Bottom);
        s->SetTopColor(c.Top);
        SetMatrix(a, 4, 3, c.Values);
        DrawValues(a, *s);
        if (c.Palette) s->Palette() = *c.Palette;
        const QImage image = s->Image();
        std::fesetround(FE_TONEAREST);
        QCOMPARE(image.width(), 3);
        QCOMPARE(image.height(), 4);
        const std::vector<QRgb> got = Pixels(image);
        for (std::size_t k = 0; k < got.size(); ++k)
            if (got[k] != c.Expected[k])
                QFAIL(qPrintable(QString("%1 (mode %2): pixel %3 is %4, numpy %5")
                                     .arg(c.Name)
                                     .arg(mode)
                                     .arg(k)
                                     .arg(got[k], 8, 16, QChar('0'))
                                     .arg(c.Expected[k], 8, 16, QChar('0'))));
        chart.removePlottable(s);
    }
}

void TestTarnelTee::gridOrientationAndHitTest()
{
    gui::TChart chart(nullptr);
    chart.resize(300, 200);
    chart.legend->setVisible(false);  // it would cover cells
    auto* s = new TMtxGridSeries(chart.xAxis, chart.yAxis);
    QCOMPARE(s->CellAt(10, 10), -1);  // no matrix
    TMtx a;
    a.SetIt(2, 3, false, {0, 1, 2, 3, 4, 9});
    DrawValues(a, *s);
    chart.SetAxisAutomatic(chart.xAxis, false);
    chart.SetAxisAutomatic(chart.yAxis, false);
    chart.xAxis->setRange(-1, 3);
    chart.yAxis->setRange(-1, 2);
    chart.replot();
    QCOMPARE(s->MaxXValue(), 2.0);
    QCOMPARE(s->MaxYValue(), 1.0);

    // Row 0, column 2 is at the top right: key 2, value Rows − 1 − 0 = 1.
    const QPointF topRight = s->coordsToPixels(2, 1);
    QCOMPARE(s->CellAt(topRight.x(), topRight.y()), 2);
    QCOMPARE(s->CellAt(s->coordsToPixels(0, 0)), 3);
    QCOMPARE(s->CellAt(s->coordsToPixels(0.45, 0.45)), 3);
    // Half a cell beyond an edge is outside (no truncation towards the edge cell).
    QCOMPARE(s->CellAt(s->coordsToPixels(-0.6, 0)), -1);
    QCOMPARE(s->CellAt(s->coordsToPixels(0, 1.6)), -1);
    QCOMPARE(s->CellAt(s->coordsToPixels(2.6, 1)), -1);
    QVERIFY(s->selectTest(topRight, false) >= 0);
    QCOMPARE(s->selectTest(s->coordsToPixels(-0.8, 0), false), -1.0);
    // The rendering: row 0 on top, navy (0) top left, white (9) bottom right.
    QCOMPARE(RenderedCell(chart, *s, 1, 2), qRgb(255, 255, 255) & 0xFFFFFF);
    QCOMPARE(RenderedCell(chart, *s, 0, 0), qRgb(0, 0, 128) & 0xFFFFFF);

    // Reversed axes mirror the picture; the hit test follows.
    chart.xAxis->setRangeReversed(true);
    chart.yAxis->setRangeReversed(true);
    QCOMPARE(RenderedCell(chart, *s, 1, 2), qRgb(255, 255, 255) & 0xFFFFFF);
    QCOMPARE(RenderedCell(chart, *s, 0, 0), qRgb(0, 0, 128) & 0xFFFFFF);
    QCOMPARE(s->CellAt(s->coordsToPixels(2, 1)), 2);
    chart.xAxis->setRangeReversed(false);
    chart.yAxis->setRangeReversed(false);

    // Keys on the vertical axis: the columns run up the chart.
    chart.xAxis->setRange(-1, 3);
    chart.yAxis->setRange(-1, 3);
    auto* v = new TMtxGridSeries(chart.yAxis, chart.xAxis);
    DrawValues(a, *v);
    chart.removePlottable(s);
    QCOMPARE(v->CellAt(v->coordsToPixels(2, 1)), 2);
    QCOMPARE(RenderedCell(chart, *v, 1, 2), qRgb(255, 255, 255) & 0xFFFFFF);
    const QRgb navy = qRgb(0, 0, 128) & 0xFFFFFF;
    QCOMPARE(RenderedCell(chart, *v, 0, 0), navy);
}

void TestTarnelTee::gridPaletteAndLegend()
{
    gui::TChart chart(nullptr);
    auto* s = new TMtxGridSeries(chart.xAxis, chart.yAxis);
    QCOMPARE(s->TopColor(), TColor(0xFFFFFF));
    QCOMPARE(s->BottomColor(), TColor(0x800000));
    QCOMPARE(s->PaletteSteps(), 10);
    QCOMPARE(s->PaletteStyle(), palRange);
    QCOMPARE(s->EditorClassName(), QString("TMtxGridSeriesEditor"));
    s->SetValueFormat("0.00");
    TMtx a;
    a.SetIt(2, 5, false, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    DrawValues(a, *s);
    QCOMPARE(int(s->Palette().size()), 10);
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(s->Palette()[i].Value, golden::kPaletteValues[i]);
        QCOMPARE(s->Palette()[i].Color, golden::kPaletteColours[i]);
    }
    QCOMPARE(s->Palette().front().Color, TColor(0x800000));
    QCOMPARE(s->Palette().back().Color, TColor(0xFFFFFF));
    // The legend: our items in place of the plottable's own, the highest value first.
    QCOMPARE(chart.legend->itemCount(), 10);
    QVERIFY(!chart.legend->hasItemWithPlottable(s));
    QCOMPARE(s->LegendText(0), QString("9.00"));
    QCOMPARE(s->LegendText(9), QString("0.00"));
    QCOMPARE(s->LegendText(10), QString());
    QCOMPARE(s->LegendColor(0), TColor(0xFFFFFF));
    s->SetValueFormat("");
    QCOMPARE(s->LegendText(1), QString("8"));

    // Fewer than two steps are two (one step divided by zero).
    for (int steps : {1, 0, -4}) {
        s->SetPaletteSteps(5);
        s->SetPaletteSteps(steps);
        QCOMPARE(s->PaletteSteps(), 2);
        QCOMPARE(int(s->Palette().size()), 2);
        s->BuildPalette(0, 0xFFFFFF, 0, 9, steps);
        QCOMPARE(int(s->Palette().size()), 2);
        QCOMPARE(s->Palette()[1].Value, 9.0);
    }
    QCOMPARE(chart.legend->itemCount(), 2);
    // The colours' setters rebuild the palette (range style) and act only on a change.
    s->SetTopColor(0x0000FF);
    QCOMPARE(s->Palette().back().Color, TColor(0x0000FF));
    // The legend items go with the series.
    chart.removePlottable(s);
    QCOMPARE(chart.legend->itemCount(), 0);
}

void TestTarnelTee::gridConstantAndRefreshedMatrix()
{
    gui::TChart chart(nullptr);
    auto* s = new TMtxGridSeries(chart.xAxis, chart.yAxis);
    TMtx a;
    a.SetIt(2, 2, false, {0, 1, 2, 3});
    DrawValues(a, *s);
    const TPaletteList before = s->Palette();
    // A constant matrix: every cell TopColor, the palette as it was.
    a.SetIt(2, 2, false, {4, 4, 4, NAN});
    DrawValues(a, *s);
    QCOMPARE(int(s->Palette().size()), int(before.size()));
    QCOMPARE(s->Palette().back().Value, 3.0);
    QCOMPARE(Pixels(s->Image()), (std::vector<QRgb>{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0}));
    s->UpdatePalette();
    QCOMPARE(s->Palette().back().Value, 3.0);

    // The same matrix with new values is a refresh: range and palette follow (t stays within [0, 1]).
    a.SetIt(2, 2, false, {0, 100, 200, 400});
    DrawValues(a, *s);
    QCOMPARE(s->RangeMin(), 0.0);
    QCOMPARE(s->RangeMax(), 400.0);
    QCOMPARE(s->Palette().back().Value, 400.0);
    QCOMPARE(s->Image().pixel(1, 1), 0xFFFFFFFFu);
    QCOMPARE(s->Image().pixel(0, 0), 0xFF000080u);
    // A range set by hand that the values leave: the components saturate instead of wrapping around.
    s->SetRange(0, 100);
    QCOMPARE(s->Image().pixel(1, 1), 0xFFFFFFFFu);
    s->SetRange(300, 400);
    QCOMPARE(s->Image().pixel(0, 0), 0xFF000000u);  // blue 128 − 3·127 held at 0
    // A complex matrix is refused before anything changes.
    TMtx z;
    z.SetIt(1, 1, true, {1, 2});
    QCOMPARE(Raised([&] { DrawValues(z, *s); }), QString("A.Complex"));
    QCOMPARE(s->Matrix(), &a);
}

void TestTarnelTee::gridStyleChangeEmptiesLegend()
{
    gui::TChart chart(nullptr);
    auto* s = new TMtxGridSeries(chart.xAxis, chart.yAxis);
    TMtx a;
    a.SetIt(1, 4, false, {0, 10, 20, 30});
    DrawValues(a, *s);
    QCOMPARE(chart.legend->itemCount(), 10);
    s->SetPaletteStyle(palRangeCustom);
    QCOMPARE(int(s->Palette().size()), 0);
    QCOMPARE(chart.legend->itemCount(), 0);
    chart.replot();  // the next repaint builds it over the matrix range
    QCOMPARE(int(s->Palette().size()), 10);
    QCOMPARE(chart.legend->itemCount(), 10);
    // Under palRangeCustom the palette stays when steps, colours or the matrix change.
    s->SetPaletteSteps(4);
    s->SetTopColor(0x00FF00);
    a.SetIt(1, 4, false, {0, 1, 2, 3});
    DrawValues(a, *s);
    QCOMPARE(int(s->Palette().size()), 10);
    QCOMPARE(s->Palette().back().Value, 30.0);
    // A palette filled by hand reaches the legend with the next repaint.
    s->SetPaletteStyle(palCustom);
    s->Palette() = {{1, 0x0000FF}, {5, 0x008000}};
    chart.replot();
    QCOMPARE(chart.legend->itemCount(), 2);
    QCOMPARE(s->LegendText(0), QString("5"));
}

void TestTarnelTee::gridPaletteEdges()
{
    gui::TChart chart(nullptr);
    auto* s = new TMtxGridSeries(chart.xAxis, chart.yAxis);
    TMtx a;
    a.SetIt(1, 4, false, {0, NAN, INFINITY, -INFINITY});
    // An empty palette paints BottomColor (NaN stays transparent), in both palette styles.
    for (TGridPaletteStyle style : {palRangeCustom, palCustom}) {
        s->SetPaletteStyle(style);
        s->SetBottomColor(0x00FF00);
        DrawValues(a, *s);
        QCOMPARE(Pixels(s->Image()), (std::vector<QRgb>{0xFF00FF00, 0, 0xFF00FF00, 0xFF00FF00}));
    }
    // A single entry spans nothing: everything takes it.
    s->SetPaletteStyle(palRangeCustom);
    s->Palette() = {{7, 0xFF0000}};
    QCOMPARE(Pixels(s->Image()), (std::vector<QRgb>{0xFF0000FF, 0, 0xFF0000FF, 0xFF0000FF}));
    // No finite element at all: the range stays, NaN transparent, the infinities at the ends.
    s->SetPaletteStyle(palRange);
    a.SetIt(1, 3, false, {NAN, INFINITY, -INFINITY});
    DrawValues(a, *s);
    QCOMPARE(Pixels(s->Image()), (std::vector<QRgb>{0, 0xFFFFFFFF, 0xFF00FF00}));
    // An empty matrix shows nothing.
    a.Size(0, 0);
    DrawValues(a, *s);
    QVERIFY(s->Image().isNull());
    QCOMPARE(s->CellAt(0, 0), -1);
}

// The ramp's colours at and around every rounding step of every component (where a looked-up colour could differ
// from the rounded product), at random places, at the range's ends and outside it, against Round(t·d) + c0 computed
// here value by value; ramps rising, falling and nearly flat (ties), ranges from the data and set by hand.
// The range a matrix sets: its least and greatest finite element, a zero extreme with the sign of the first zero met
// from the front; compared with that definition over every length up to 11 (each leftover after whole steps of four),
// NaN and infinities at every place, extremes at every place, zeros of both signs.
void TestTarnelTee::gridRangeOfTheFiniteElements()
{
    gui::TChart chart(nullptr);
    auto* s = new TMtxGridSeries(chart.xAxis, chart.yAxis);
    TMtx a;
    const auto Check = [&](const std::vector<double>& v) {
        double lo = NAN, hi = NAN;
        for (double x : v) {
            if (!std::isfinite(x)) continue;
            if (std::isnan(lo) || x < lo) lo = x;
            if (std::isnan(hi) || x > hi) hi = x;
        }
        s->SetRange(-7, -3);  // stays where nothing is finite
        a.SetIt(1, static_cast<int>(v.size()), false, v);
        s->SetMatrix(&a);
        QString text;
        for (double x : v) text += QString::number(x) + ' ';
        if (std::isnan(lo)) lo = -7, hi = -3;
        QVERIFY2(s->RangeMin() == lo && std::signbit(s->RangeMin()) == std::signbit(lo), qPrintable(text));
        QVERIFY2(s->RangeMax() == hi && std::signbit(s->RangeMax()) == std::signbit(hi), qPrintable(text));
    };
    const double specials[] = {NAN, INFINITY, -INFINITY};
    for (int n = 1; n <= 11; ++n) {
        std::vector<double> v(n);
        for (int i = 0; i < n; ++i) v[i] = (i * 7 % 5) - 2.5;
        Check(v);
        for (int at = 0; at < n; ++at) {
            for (double x : specials) {
                std::vector<double> w = v;
                w[at] = x;
                Check(w);
                std::fill(w.begin(), w.end(), x);  // nothing finite but one element
                w[at] = 1.5;
                Check(w);
            }
            for (double x : {-1e300, 1e300}) {
                std::vector<double> w = v;
                w[at] = x;
                Check(w);
            }
            std::vector<double> zeros(n, 1.0);
            zeros[at] = -0.0;
            if (at + 1 < n) zeros[at + 1] = 0.0;
            Check(zeros);
            for (double& z : zeros) z = -z;  // every element negative but the zeros: the zero is the greatest
            Check(zeros);
        }
        Check(std::vector<double>(n, NAN));
    }
}

void TestTarnelTee::gridRampAtRoundingSteps()
{
    gui::TChart chart(nullptr);
    auto* s = new TMtxGridSeries(chart.xAxis, chart.yAxis);
    const std::pair<TColor, TColor> ramps[] = {{0x800000, 0xFFFFFF}, {0xFFFFFF, 0x000000}, {0x000000, 0x0A0604},
                                               {0x3C9F11, 0x17D2F0}};
    const std::pair<double, double> ranges[] = {{0, 1}, {-3.7, 12.9}, {1e-3, 1e-3 + 1e-9}};
    TUniform Random{12345};
    for (const auto& [bottom, top] : ramps)
    for (const auto& [lo, hi] : ranges) {
        const TRamp ramp(bottom, top);
        std::vector<double> values = {lo, hi};
        for (const int d : ramp.D)
            for (int k = 0; k < std::abs(d); ++k) {
                double v = lo + (k + 0.5) / std::abs(d) * (hi - lo);
                for (int step = 0; step < 3; ++step) v = std::nextafter(v, -INFINITY);
                for (int step = 0; step < 7; ++step, v = std::nextafter(v, INFINITY))
                    if (v >= lo && v <= hi) values.push_back(v);
            }
        for (int k = 0; k < 500; ++k) values.push_back(lo + Random() * (hi - lo));
        TMtx a;
        a.SetIt(1, static_cast<int>(values.size()), false, values);
        s->SetBottomColor(bottom);
        s->SetTopColor(top);
        // The range of the data, then a narrower one set by hand (values beyond it saturate).
        for (const double shrink : {0.0, 0.25}) {
            DrawValues(a, *s);
            const double l = lo + shrink * (hi - lo), h = hi - shrink * (hi - lo);
            if (shrink != 0) s->SetRange(l, h);
            const double inv = 1 / (h - l);
            const std::vector<QRgb> got = Pixels(s->Image());
            for (std::size_t j = 0; j < values.size(); ++j) {
                const QRgb expected = ramp.At((values[j] - l) * inv);
                if (got[j] != expected)
                    QFAIL(qPrintable(QString("ramp %1..%2, range %3..%4: %5 gives %6, expected %7")
                                         .arg(bottom, 6, 16, QChar('0')).arg(top, 6, 16, QChar('0'))
                                         .arg(l, 0, 'g', 17).arg(h, 0, 'g', 17).arg(values[j], 0, 'g', 17)
                                         .arg(got[j], 8, 16).arg(expected, 8, 16)));
            }
        }
    }
}

// The ramp's colours, four cells at a time with the rest one by one: a NaN, an infinity, a value whose position t
// overflows, or one beyond the range at every place of rows of 1 to 11 cells (every leftover), against the
// definition: NaN transparent, the infinities the end colours, else Round(t·d) + c0 per component within 0 .. 255.
void TestTarnelTee::gridRampSpecialsAtEveryPlace()
{
    gui::TChart chart(nullptr);
    auto* s = new TMtxGridSeries(chart.xAxis, chart.yAxis);
    const std::pair<TColor, TColor> ramps[] = {{0x800000, 0xFFFFFF}, {0xFFFFFF, 0x000000}, {0x3C9F11, 0x3C17F0}};
    const std::pair<double, double> ranges[] = {{-3.7, 12.9}, {-1e308, -5e307}};
    const double specials[] = {NAN, INFINITY, -INFINITY, 1e308, 20, -20};
    TUniform Random{777};
    TMtx a;  // the series keeps pointing at it between the rows
    for (const auto& [bottom, top] : ramps)
    for (const auto& [lo, hi] : ranges) {
        const TRamp ramp(bottom, top);
        const double inv = 1 / (hi - lo);
        const auto Expected = [&](double v) -> QRgb {
            if (std::isnan(v)) return 0;
            if (v == INFINITY) return ramp.At(1);
            if (v == -INFINITY) return ramp.At(0);
            return ramp.At((v - lo) * inv);
        };
        s->SetBottomColor(bottom);
        s->SetTopColor(top);
        for (int n = 1; n <= 11; ++n)
            for (int at = 0; at < n; ++at)
                for (const double special : specials) {
                    std::vector<double> values(n);
                    for (double& v : values) v = lo + Random() * (hi - lo);
                    values[at] = special;
                    a.SetIt(1, n, false, values);
                    DrawValues(a, *s);
                    s->SetRange(lo, hi);
                    const std::vector<QRgb> got = Pixels(s->Image());
                    for (int j = 0; j < n; ++j)
                        if (got[j] != Expected(values[j]))
                            QFAIL(qPrintable(QString("ramp %1..%2, range %3..%4, %5 cells: %6 gives %7, expected %8")
                                                 .arg(bottom, 6, 16, QChar('0')).arg(top, 6, 16, QChar('0'))
                                                 .arg(lo).arg(hi).arg(n).arg(values[j], 0, 'g', 17)
                                                 .arg(got[j], 8, 16).arg(Expected(values[j]), 8, 16)));
                }
    }
}

// The entries read the working matrix (edits included): one row or column as a vector, more as the matrix, columns
// transposed; each is enabled only where it has more than one series to show.
void TestTarnelTee::viewerEntriesChartTheWorkingMatrix()
{
    RegisterTarnelTee();
    struct TCase {
        int Rows, Cols;
        bool RowsEnabled, ColsEnabled;
    };
    const TCase cases[] = {{1, 3, true, false}, {3, 1, false, true}, {2, 3, true, true}, {1, 1, false, false}};
    for (const TCase& c : cases) {
        TTarnelEditForm f;
        f.Values().Size(c.Rows, c.Cols);
        for (int k = 0; k < c.Rows * c.Cols; ++k) f.Values().Values()[k] = k + 1;
        f.Values().Values()[0] = 42;  // a committed edit lives in the working matrix
        f.Setup("", false, false, nullptr, nullptr);
        const QList<QAction*> items = f.ChartMenu()->actions();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0]->text(), QString("Series in rows"));
        QCOMPARE(items[1]->text(), QString("Series in cols"));
        emit f.ChartMenu()->aboutToShow();
        QCOMPARE(items[0]->isEnabled(), c.RowsEnabled);
        QCOMPARE(items[1]->isEnabled(), c.ColsEnabled);
        for (int which = 0; which < 2; ++which) {
            if (!items[which]->isEnabled()) continue;
            QString caption, title;
            QVector<double> points;
            TMtx shown;
            SetDrawItExec([&](QDialog& w) {
                caption = w.windowTitle();
                gui::TChart& chart = DrawItChart();
                if (chart.SeriesCount() > 0) points = chart.Series(0)->YValues();
                if (auto* g = qobject_cast<TMtxGridSeries*>(chart.plottable(0))) shown.Copy(*g->Matrix());
            });
            items[which]->trigger();
            SetDrawItExec(nullptr);
            const bool single = which == 0 ? c.Rows == 1 : c.Cols == 1;
            if (single) {
                QCOMPARE(caption, QString("Vector values"));
                QCOMPARE(points.size(), c.Rows * c.Cols);
                QCOMPARE(points[0], 42.0);
                QCOMPARE(points.back(), double(c.Rows * c.Cols));
            } else {
                QCOMPARE(caption, QString("Matrix values"));
                TMtx expected;
                if (which == 0) {
                    expected.Copy(f.Values());
                } else {
                    expected.Transp(f.Values());
                }
                QVERIFY(shown.Equal(expected, 0));
            }
        }
    }
    UnregisterTarnelTee();
    QVERIFY(TMtxEditTeeItems().empty());
}

void TestTarnelTee::registration()
{
    RegisterTarnelTee();
    QCOMPARE(TMtxEditTeeItems().size(), std::size_t{2});
    QVERIFY(TMtxEditTeeItems()[0] == &TeeItemClass<TTeeItemDrawRows>);
    QVERIFY(TMtxEditTeeItems()[1] == &TeeItemClass<TTeeItemDrawCols>);
    QCOMPARE(gui::TeeSeriesGallery().size(), std::size_t{1});
    const gui::TGallerySeries& g = gui::TeeSeriesGallery()[0];
    QCOMPARE(g.ClassName, QString("TMtxGridSeries"));
    QCOMPARE(g.Description, QString("Mtx Grid"));
    QCOMPARE(g.Group, QString("Corvath"));
    QCOMPARE(g.Number, 1);
    UnregisterTarnelTee();
    QVERIFY(TMtxEditTeeItems().empty());
    QVERIFY(gui::TeeSeriesGallery().empty());
}

// The window as shown: a 20 × 30 matrix (a ramp over its cells) and 1000 values of a sine.
// With TARNEL_SHOT_DIR set the pictures are also written there (drawit_matrix.png, drawit_vector.png).
void TestTarnelTee::drawItPaints()
{
    TMtx a;
    a.Size(20, 30);
    for (int r = 0; r < 20; ++r)
        for (int c = 0; c < 30; ++c) a.Values()[r * 30 + c] = std::sin(r * 0.3) * std::cos(c * 0.2) * 10;
    TVec v;
    v.Size(1000);
    for (int i = 0; i < 1000; ++i) v.Values()[i] = std::sin(i * 0.02) + 0.1 * std::sin(i * 1.3);
    const auto Shot = [](const char* name, std::function<void(const QImage&)> check) {
        SetDrawItExec([name, check](QDialog& w) {
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            DrawItChart().replot();
            const QImage shot = w.grab().toImage();
            if (const QString dir = qEnvironmentVariable("TARNEL_SHOT_DIR"); !dir.isEmpty())
                QVERIFY(shot.save(QDir(dir).filePath(name)));
            check(shot);
            w.hide();
        });
    };
    Shot("drawit_matrix.png", [](const QImage& shot) {
        auto* s = qobject_cast<TMtxGridSeries*>(DrawItChart().plottable(0));
        QVERIFY(s);
        // The cells of the least and the greatest element show navy and white.
        int navy = 0, white = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QRgb p = shot.pixel(x, y) & 0xFFFFFF;
                navy += p == 0x000080;
                white += p == 0xFFFFFF;
            }
        QVERIFY(navy > 20);
        QVERIFY(white > 20);
    });
    DrawIt(a, "");
    Shot("drawit_vector.png", [](const QImage& shot) {
        int red = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) red += (shot.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
        QVERIFY(red > 100);
        // 1000 values fit three to a pixel of a chart this wide: plotted whole.
        QVERIFY(DrawItChart().width() * 3 >= 1000);
        QCOMPARE(DrawItChart().Series(0)->Count(), 1000);
    });
    DrawIt(v, "", true);
    SetDrawItExec(nullptr);
}

QTEST_MAIN(TestTarnelTee)
#include "test_tarnel_tee.moc"

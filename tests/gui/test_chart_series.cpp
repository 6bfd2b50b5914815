// The chart's series layer: line series with point styles, bar series that stand side by side and show their
// values, point labels on the bottom axis, the legend on top and axes that follow the data.
#include <QImage>
#include <QTest>
#include <cmath>

#include "platform/gui/Chart.h"

using namespace tarnel::gui;

namespace {

// The pixels of one colour in a rendering of the chart, and the mean x of those pixels.
struct TColourCount {
    int Count = 0;
    double MeanX = 0;
};

TColourCount CountColour(const QImage& image, QRgb colour)
{
    TColourCount c;
    double sumX = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) {
                ++c.Count;
                sumX += x;
            }
    if (c.Count) c.MeanX = sumX / c.Count;
    return c;
}

QImage Render(TChart& chart)
{
    chart.resize(480, 320);
    chart.replot();
    return chart.toPixmap(480, 320).toImage();
}

const QRgb kMarkBox = qRgb(255, 255, 225);

}  // namespace

class TestChartSeries : public QObject {
    Q_OBJECT
private slots:
    void lineSeriesKeepTheirPointsAndStyle();
    void lineAxesFollowTheData();
    void barSeriesStandSideBySideAndShowTheirValues();
    void pointLabelsBecomeBottomAxisTexts();
    void legendMovesAboveThePlot();
};

void TestChartSeries::lineSeriesKeepTheirPointsAndStyle()
{
    TChart chart(nullptr);
    struct TCase {
        TPointerStyle Pointer;
        QCPScatterStyle::ScatterShape Shape;
    };
    const TCase cases[] = {
        {TPointerStyle::psDiagCross, QCPScatterStyle::ssCross},
        {TPointerStyle::psDownTriangle, QCPScatterStyle::ssTriangleInverted},
        {TPointerStyle::psCross, QCPScatterStyle::ssPlus},
        {TPointerStyle::psNone, QCPScatterStyle::ssNone},
    };
    for (const TCase& c : cases) {
        TLineSeries* s = chart.AddLineSeries("s", Qt::red, c.Pointer);
        QCOMPARE(s->scatterStyle().shape(), c.Shape);
        QCOMPARE(s->Pointer(), c.Pointer);
    }
    QCOMPARE(chart.SeriesCount(), 4);

    TLineSeries* s = chart.AddLineSeries("C++", QColor(Qt::green), TPointerStyle::psDownTriangle);
    QCOMPARE(s->Title(), QString("C++"));
    QCOMPARE(s->SeriesColor(), QColor(Qt::green));
    QCOMPARE(s->AddXY(4, 7), 0);
    QCOMPARE(s->AddXY(2, 3), 1);  // points keep the order they were added in
    QCOMPARE(s->Count(), 2);
    QCOMPARE(s->XValue(1), 2.0);
    QCOMPARE(s->YValue(0), 7.0);
    QCOMPARE(s->dataCount(), 2);
    s->Clear();
    QCOMPARE(s->Count(), 0);
    QCOMPARE(s->dataCount(), 0);
    QCOMPARE(chart.Series(chart.SeriesCount() - 1), static_cast<TChartSeries*>(s));
}

void TestChartSeries::lineAxesFollowTheData()
{
    TChart chart(nullptr);
    TLineSeries* a = chart.AddLineSeries("a", Qt::red, TPointerStyle::psDiagCross);
    TLineSeries* b = chart.AddLineSeries("b", Qt::green, TPointerStyle::psDownTriangle);
    for (int n = 2; n <= 50; n += 2) {
        a->AddXY(n, n * 3.0);
        b->AddXY(n, 1.0);
    }
    b->AddXY(75, 0.0);
    const QCPRange x = chart.xAxis->range(), y = chart.yAxis->range();
    QVERIFY(x.lower < 2 && x.upper > 75);
    QVERIFY(y.lower < 0 && y.upper > 150);
    QVERIFY2(x.upper < 100 && y.upper < 200, "the range hugs the data");

    // Points that are all equal (timings of 0 ms) still give a usable range.
    TChart flat(nullptr);
    TLineSeries* f = flat.AddLineSeries("f", Qt::red, TPointerStyle::psCircle);
    f->AddXY(2, 0);
    f->AddXY(4, 0);
    QVERIFY(flat.yAxis->range().size() > 0.5);
    QVERIFY(flat.yAxis->range().contains(0));
}

void TestChartSeries::barSeriesStandSideBySideAndShowTheirValues()
{
    TChart chart(nullptr);
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0);
    TBarSeries* loop = chart.AddBarSeries("C++", QColor(red));
    TBarSeries* lib = chart.AddBarSeries("Tarnel", QColor(green));
    QVERIFY(loop->MarksVisible());
    QCOMPARE(loop->SeriesColor(), QColor(red));
    loop->AddXY(0, 40, "Copy operation");
    lib->AddXY(0, 10);
    QCOMPARE(loop->barsGroup(), lib->barsGroup());

    // The bars include their base and leave room for the marks above the highest.
    QVERIFY(chart.yAxis->range().lower <= 0);
    QVERIFY(chart.yAxis->range().upper > 44);

    QImage image = Render(chart);
    const TColourCount redBar = CountColour(image, red), greenBar = CountColour(image, green);
    QVERIFY(redBar.Count > 0 && greenBar.Count > 0);
    QVERIFY2(redBar.Count > 3 * greenBar.Count, "bar heights follow the values");
    QVERIFY2(redBar.MeanX < greenBar.MeanX, "the bars of one x value stand side by side, in series order");
    const double centre = chart.xAxis->coordToPixel(0);
    QVERIFY(std::abs((redBar.MeanX + greenBar.MeanX) / 2 - centre) < 10);
    QVERIFY2(CountColour(image, kMarkBox).Count > 50, "the marks are painted");

    QCOMPARE(TBarSeries::MarkText(40), QString("40"));
    QCOMPARE(TBarSeries::MarkText(2.5), QString("2.5"));
    QCOMPARE(TBarSeries::MarkText(1234567), QString("1234567"));

    loop->SetMarksVisible(false);
    lib->SetMarksVisible(false);
    image = Render(chart);
    QCOMPARE(CountColour(image, kMarkBox).Count, 0);
}

void TestChartSeries::pointLabelsBecomeBottomAxisTexts()
{
    TChart chart(nullptr);
    TBarSeries* loop = chart.AddBarSeries("C++", Qt::red);
    TBarSeries* lib = chart.AddBarSeries("Tarnel", Qt::green);
    const QSharedPointer<QCPAxisTicker> numbers = chart.xAxis->ticker();
    loop->AddXY(0, 5, "Copy operation");
    lib->AddXY(0, 3);
    loop->AddXY(1, 6, "Transp operation");
    lib->AddXY(1, 4);
    auto text = chart.xAxis->ticker().dynamicCast<QCPAxisTickerText>();
    QVERIFY(text);
    QCOMPARE(text->ticks().size(), 2);
    QCOMPARE(text->ticks().value(0), QString("Copy operation"));
    QCOMPARE(text->ticks().value(1), QString("Transp operation"));
    QVERIFY(chart.xAxis->range().contains(-0.5) && chart.xAxis->range().contains(1.5));

    loop->Clear();
    lib->Clear();
    QCOMPARE(chart.xAxis->ticker(), numbers);  // no labels left: numbers again
}

void TestChartSeries::legendMovesAboveThePlot()
{
    TChart chart(nullptr);
    chart.AddLineSeries("C++", Qt::red, TPointerStyle::psDiagCross);
    chart.AddLineSeries("Tarnel", Qt::green, TPointerStyle::psDownTriangle);
    QVERIFY(!chart.LegendOnTop());
    chart.SetLegendOnTop();
    chart.SetLegendOnTop();  // once is enough; a second call changes nothing
    QVERIFY(chart.LegendOnTop());
    QCOMPARE(chart.plotLayout()->rowCount(), 2);
    QCOMPARE(chart.plotLayout()->element(0, 0), static_cast<QCPLayoutElement*>(chart.legend));
    QCOMPARE(chart.plotLayout()->element(1, 0), static_cast<QCPLayoutElement*>(chart.axisRect()));
    QCOMPARE(chart.legend->fillOrder(), QCPLegend::foColumnsFirst);
    QCOMPARE(chart.legend->itemCount(), 2);
    auto* item = qobject_cast<QCPPlottableLegendItem*>(chart.legend->item(1));
    QVERIFY(item);
    QCOMPARE(item->plottable()->name(), QString("Tarnel"));
    const QImage image = Render(chart);
    QVERIFY(!image.isNull());
}

QTEST_MAIN(TestChartSeries)
#include "test_chart_series.moc"

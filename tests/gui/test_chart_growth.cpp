// The chart's whole-series fill, per-axis automatic scaling, title, fixed tick steps, removal of all series and the
// immediate repaint.
#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "platform/gui/Chart.h"

using namespace tarnel::gui;

class TestChartGrowth : public QObject {
    Q_OBJECT
private slots:
    void setPointsReplacesEverythingAtOnce();
    void fixedAxesKeepTheirRange();
    void titleComesAndGoes();
    void fixedTickStepThinsOut();
    void freeAllSeriesAndRepaint();
    void deferredRepaintPaintsOnceLater();
};

void TestChartGrowth::setPointsReplacesEverythingAtOnce()
{
    TChart chart(nullptr);
    TLineSeries* s = chart.AddLineSeries("s", Qt::red, TPointerStyle::psNone);
    QVERIFY(!s->adaptiveSampling());  // every point is drawn
    s->AddXY(1, 1, "one");
    QVERIFY(s->HasLabels());
    s->SetPoints({0, 1, 2, 3}, {5, 6, 7});  // the shorter length counts
    QCOMPARE(s->Count(), 3);
    QVERIFY(!s->HasLabels());
    QCOMPARE(s->XLabel(2), QString());
    QCOMPARE(s->data()->size(), 3);
    QVERIFY(!chart.xAxis->ticker().dynamicCast<QCPAxisTickerText>());  // the labels' ticker went with them
    // Labels after a fill: the earlier points have none.
    s->AddXY(9, 9, "nine");
    QCOMPARE(s->XLabel(0), QString());
    QCOMPARE(s->XLabel(3), QString("nine"));
    // Points out of order still make a line from left to right.
    s->SetPoints({3, 1, 2}, {30, 10, 20});
    QCOMPARE(s->data()->at(0)->key, 1.0);
    QCOMPARE(s->XValue(0), 3.0);
}

void TestChartGrowth::fixedAxesKeepTheirRange()
{
    TChart chart(nullptr);
    TLineSeries* s = chart.AddLineSeries("s", Qt::red, TPointerStyle::psNone);
    chart.SetAxisAutomatic(chart.xAxis, false);
    QVERIFY(!chart.AxisAutomatic(chart.xAxis));
    chart.xAxis->setRange(-10, 10);
    s->SetPoints({0, 100}, {1, 2});
    QCOMPARE(chart.xAxis->range(), QCPRange(-10, 10));
    QVERIFY(chart.yAxis->range().contains(1) && chart.yAxis->range().contains(2));
    chart.SetAxisAutomatic(chart.xAxis, true);
    QVERIFY(chart.xAxis->range().contains(100));
    // A series on the top and right axes scales those.
    auto* g = new QCPGraph(chart.yAxis2, chart.xAxis2);  // keys vertical
    g->setData({0, 50}, {0, 1});
    chart.SeriesChanged();
    QVERIFY(chart.yAxis->range().contains(2));
}

void TestChartGrowth::titleComesAndGoes()
{
    TChart chart(nullptr);
    const int rows = chart.plotLayout()->rowCount();
    chart.SetTitle("Value");
    QCOMPARE(chart.Title(), QString("Value"));
    QCOMPARE(chart.plotLayout()->rowCount(), rows + 1);
    chart.SetTitle("Magnitude");
    QCOMPARE(chart.Title(), QString("Magnitude"));
    QCOMPARE(chart.plotLayout()->rowCount(), rows + 1);
    chart.SetTitle(QString());
    QCOMPARE(chart.Title(), QString());
    QCOMPARE(chart.plotLayout()->rowCount(), rows);
    chart.SetLegendOnTop();
    chart.SetTitle("Again");
    chart.SetTitle(QString());
    QCOMPARE(chart.plotLayout()->rowCount(), rows + 1);  // the legend's row stays
}

void TestChartGrowth::fixedTickStepThinsOut()
{
    TChart chart(nullptr);
    chart.resize(200, 150);
    for (QCPAxis* axis : {chart.xAxis, chart.yAxis}) {
        chart.SetAxisIncrement(axis, 1);
        auto fixed = axis->ticker().dynamicCast<QCPAxisTickerFixed>();
        QVERIFY(fixed);
        QCOMPARE(fixed->tickStep(), 1.0);
        QCOMPARE(fixed->scaleStrategy(), QCPAxisTickerFixed::ssMultiples);
    }
    chart.SetAxisAutomatic(chart.xAxis, false);
    chart.xAxis->setRange(0, 999);
    chart.replot();
    // 1000 positions in 200 pixels: ticks at multiples of the step, far fewer than 1000.
    const QVector<double> ticks = chart.xAxis->tickVector();
    QVERIFY(ticks.size() > 1 && ticks.size() < 20);
    for (double t : ticks) QCOMPARE(t, std::round(t));
    // Point labels still win on the bottom axis; without them the fixed ticker comes back.
    TLineSeries* s = chart.AddLineSeries("s", Qt::red, TPointerStyle::psNone);
    s->AddXY(1, 1, "a");
    QVERIFY(chart.xAxis->ticker().dynamicCast<QCPAxisTickerText>());
    s->Clear();
    QVERIFY(chart.xAxis->ticker().dynamicCast<QCPAxisTickerFixed>());
    chart.SetAxisIncrement(chart.xAxis, 0);
    QVERIFY(!chart.xAxis->ticker().dynamicCast<QCPAxisTickerFixed>());
}

void TestChartGrowth::freeAllSeriesAndRepaint()
{
    TChart chart(nullptr);
    QPointer<TLineSeries> line = chart.AddLineSeries("s", Qt::red, TPointerStyle::psNone);
    QPointer<TBarSeries> bars = chart.AddBarSeries("b", Qt::blue);
    new QCPGraph(chart.xAxis, chart.yAxis);
    chart.FreeAllSeries();
    QVERIFY(line.isNull() && bars.isNull());
    QCOMPARE(chart.plottableCount(), 0);
    QCOMPARE(chart.SeriesCount(), 0);
    QCoreApplication::processEvents();  // what the chart queued before
    QSignalSpy painted(&chart, &QCustomPlot::afterReplot);
    chart.Repaint();
    QCOMPARE(painted.count(), 1);  // at once, not queued
    // A queued repaint still pending when an immediate one comes is dropped.
    chart.AddLineSeries("again", Qt::red, TPointerStyle::psNone)->AddXY(1, 2);
    chart.Repaint();
    QCoreApplication::processEvents();
    QCOMPARE(painted.count(), 2);
}

void TestChartGrowth::deferredRepaintPaintsOnceLater()
{
    TChart chart(nullptr);
    TLineSeries* s = chart.AddLineSeries("s", Qt::red, TPointerStyle::psNone);
    QCoreApplication::processEvents();
    QSignalSpy painted(&chart, &QCustomPlot::afterReplot);
    {
        const TChart::TDeferredRepaint outer(chart);
        {
            const TChart::TDeferredRepaint inner(chart);
            s->SetPoints({0, 1}, {2, 3});
            chart.Repaint();
        }
        chart.Repaint();  // the outer scope still defers
        QCOMPARE(painted.count(), 0);
    }
    QCoreApplication::processEvents();
    QCOMPARE(painted.count(), 1);  // both repaints and the fill's own one came to a single repaint
    chart.Repaint();
    QCOMPARE(painted.count(), 2);  // at once again after the scope
}

QTEST_MAIN(TestChartGrowth)
#include "test_chart_growth.moc"

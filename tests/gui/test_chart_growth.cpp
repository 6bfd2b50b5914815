// The chart's whole-series fill, per-axis automatic scaling, title, fixed tick steps, removal of all series and the
// immediate repaint.
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <random>

#include "platform/gui/Chart.h"

using namespace tarnel::gui;

class TestChartGrowth : public QObject {
    Q_OBJECT
private slots:
    void setPointsReplacesEverythingAtOnce();
    void extentOfThePoints_data();
    void extentOfThePoints();
    void refillsKeepThePlottableInStep();
    void fillsAgainstPointByPoint();
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

void TestChartGrowth::extentOfThePoints_data()
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN(), inf = INFINITY;
    QTest::addColumn<QVector<double>>("x");
    QTest::addColumn<QVector<double>>("y");
    QTest::newRow("none") << QVector<double>{} << QVector<double>{};
    QTest::newRow("one") << QVector<double>{2} << QVector<double>{-3};
    QTest::newRow("three, falling at the end") << QVector<double>{0, 2, 1} << QVector<double>{5, 4, 6};
    QTest::newRow("falling within a pair") << QVector<double>{0, 2, 1, 3} << QVector<double>{1, 2, 3, 4};
    QTest::newRow("falling between pairs") << QVector<double>{0, 2, 1.5, 3, 4} << QVector<double>{1, 2, 3, 4, 5};
    QTest::newRow("equal keys") << QVector<double>{1, 1, 1, 1, 1} << QVector<double>{0, -1, 1, 0, 0};
    QTest::newRow("non-finite at even places")
        << QVector<double>{nan, 1, inf, 2, 3, -inf, 4} << QVector<double>{100, 1, 2, -100, 3, 4, inf};
    QTest::newRow("non-finite at odd places")
        << QVector<double>{-50, nan, 1, 2, 3, 4} << QVector<double>{0, 9, 1, -inf, 3, nan};
    QTest::newRow("nothing finite") << QVector<double>{nan, inf, 1} << QVector<double>{0, 0, nan};
    QTest::newRow("a NaN key hides a fall") << QVector<double>{3, nan, 1} << QVector<double>{0, 0, 0};
    // Long runs with specials scattered over every place of a pair, and every leftover.
    std::mt19937_64 gen(42);
    std::uniform_real_distribution<double> u(-1e3, 1e3);
    for (int n : {64, 65, 66, 67}) {
        QVector<double> x(n), y(n);
        for (int i = 0; i < n; ++i) x[i] = i < n / 2 ? i : u(gen), y[i] = u(gen);
        for (int k = 0; k < 5; ++k) {
            const int at = static_cast<int>(gen() % static_cast<unsigned>(n));
            (gen() & 1 ? x : y)[at] = std::array<double, 3>{nan, inf, -inf}[gen() % 3];
        }
        QTest::newRow(qPrintable(QString("random %1").arg(n))) << x << y;
    }
}

// The extent against its definition: the extremes of the pairs whose coordinates are both finite, the keys in order
// as std::is_sorted has it; the same whether the points came in bulk or one by one.
void TestChartGrowth::extentOfThePoints()
{
    QFETCH(QVector<double>, x);
    QFETCH(QVector<double>, y);
    double xlo = INFINITY, xhi = -INFINITY, ylo = INFINITY, yhi = -INFINITY;
    for (qsizetype i = 0; i < x.size(); ++i) {
        if (!std::isfinite(x[i]) || !std::isfinite(y[i])) continue;
        xlo = std::min(xlo, x[i]), xhi = std::max(xhi, x[i]);
        ylo = std::min(ylo, y[i]), yhi = std::max(yhi, y[i]);
    }
    const bool sorted = std::is_sorted(x.cbegin(), x.cend());
    TChart chart(nullptr);
    TLineSeries* bulk = chart.AddLineSeries("bulk", Qt::red, TPointerStyle::psNone);
    TLineSeries* single = chart.AddLineSeries("single", Qt::blue, TPointerStyle::psNone);
    bulk->SetPoints(x, y);
    for (qsizetype i = 0; i < x.size(); ++i) single->AddXY(x[i], y[i]);
    for (const TChartSeries* s : {static_cast<TChartSeries*>(bulk), static_cast<TChartSeries*>(single)}) {
        const TPointExtent& e = s->Extent();
        QCOMPARE(e.XLo, xlo);
        QCOMPARE(e.XHi, xhi);
        QCOMPARE(e.YLo, ylo);
        QCOMPARE(e.YHi, yhi);
        QCOMPARE(e.Sorted, sorted);
    }
    // A point added after a bulk fill extends the extent as if it had been there.
    bulk->AddXY(-1e9, 1e9);
    single->AddXY(-1e9, 1e9);
    QCOMPARE(bulk->Extent().XLo, -1e9);
    QCOMPARE(bulk->Extent().YHi, 1e9);
    QCOMPARE(bulk->Extent().Sorted, single->Extent().Sorted);
    QCOMPARE(bulk->Extent().Sorted, x.isEmpty());
}

// The plottable shares the series' array of points, which refills rewrite in place: after every refill it draws
// exactly the series' points (sorted by key), and a copy taken of the points earlier keeps its values.
void TestChartGrowth::refillsKeepThePlottableInStep()
{
    TChart chart(nullptr);
    TLineSeries* s = chart.AddLineSeries("s", Qt::red, TPointerStyle::psNone);
    const auto Fill = [s](int n, double step) {
        s->FillPoints(n, [step](int i, double& x, double& y) {
            x = i * step, y = i % 7 == 3 ? NAN : i * 0.5;
            return std::isfinite(y);
        });
    };
    const auto Check = [s] {
        QVector<double> keys = s->XValues();
        std::vector<std::size_t> order(keys.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
        QCOMPARE(s->data()->size(), s->Count());
        auto it = s->data()->constBegin();
        for (std::size_t i : order) {
            QCOMPARE(it->key, s->XValue(static_cast<int>(i)));
            QCOMPARE(it->value, s->YValue(static_cast<int>(i)));
            ++it;
        }
    };
    Fill(1000, 1);
    QCOMPARE(s->Count(), 1000 - 143);  // the NaN values are left out
    Check();
    const auto Room = [s] { return &s->Points().constData()->key; };
    const double* first = Room();
    const QVector<TChartPoint> kept = s->Points();  // a copy: the next refill must not write into it
    Fill(500, -2);  // falling keys: the plottable sorts its own copy
    Check();
    QVERIFY(Room() != first);  // new room, as the copy holds the first array
    QCOMPARE(kept.size(), 1000 - 143);
    QCOMPARE(kept[1].key, 1.0);
    QCOMPARE(kept[1].value, 0.5);
    Fill(1000, 3);
    Check();
    const double* room = Room();
    for (auto [n, step] : {std::pair{400, 0.5}, std::pair{1000, 1.0}, std::pair{0, 1.0}, std::pair{999, 2.0}}) {
        Fill(n, step);
        Check();
        if (n > 0) QCOMPARE(Room(), room);  // rewritten in place
    }
    s->AddXY(-5, 1);
    Check();
    s->Clear();
    Check();
}

// The bulk fills (a vector against its index; any points, a block at a time) against the same points added one by
// one: NaN and infinities at every place of short vectors (every leftover of a group of four) and scattered over
// long ones that span several blocks, keys that rise, stay, fall, overflow or are NaN.
void TestChartGrowth::fillsAgainstPointByPoint()
{
    TChart chart(nullptr);
    TLineSeries* steps = chart.AddLineSeries("steps", Qt::red, TPointerStyle::psNone);
    TLineSeries* points = chart.AddLineSeries("points", Qt::green, TPointerStyle::psNone);
    TLineSeries* single = chart.AddLineSeries("single", Qt::blue, TPointerStyle::psNone);
    constexpr double nan = std::numeric_limits<double>::quiet_NaN(), inf = INFINITY;
    std::mt19937_64 gen(7);
    std::uniform_real_distribution<double> u(-1e3, 1e3);
    std::vector<std::vector<double>> vectors;
    for (int n = 0; n <= 11; ++n)
        for (int at = 0; at <= n; ++at)
            for (double special : {nan, inf, -inf}) {
                std::vector<double> y(n);
                for (double& v : y) v = u(gen);
                if (at < n) y[at] = special;
                vectors.push_back(y);
            }
    for (int n : {515, 1030, 1537}) {
        std::vector<double> y(n);
        for (double& v : y) v = u(gen);
        for (int k = 0; k < 40; ++k) y[gen() % n] = std::array<double, 3>{nan, inf, -inf}[gen() % 3];
        vectors.push_back(y);
    }
    for (const double step : {1.0, 0.5, 0.0, -0.0, -2.0, 1e308, nan})
        for (const std::vector<double>& y : vectors) {
            const int n = static_cast<int>(y.size());
            steps->FillSteps(y.data(), n, step);
            points->FillPoints(n, [&](int i, double& x, double& v) {
                x = i * step, v = y[i];
                return std::isfinite(x) && std::isfinite(v);
            });
            single->Clear();
            for (int i = 0; i < n; ++i)
                if (std::isfinite(i * step) && std::isfinite(y[i])) single->AddXY(i * step, y[i]);
            const TPointExtent& want = single->Extent();
            for (TLineSeries* s : {steps, points}) {
                const QString where = QString("%1, step %2, %3 values").arg(s->Title()).arg(step).arg(n);
                QVERIFY2(s->Count() == single->Count(), qPrintable(where));
                for (int i = 0; i < s->Count(); ++i)
                    QVERIFY2(s->XValue(i) == single->XValue(i) && s->YValue(i) == single->YValue(i), qPrintable(where));
                const TPointExtent& got = s->Extent();
                QVERIFY2(got.XLo == want.XLo && got.XHi == want.XHi && got.YLo == want.YLo && got.YHi == want.YHi,
                         qPrintable(where));
                QVERIFY2(got.Sorted == want.Sorted && (s->Count() == 0 || got.Last == want.Last), qPrintable(where));
            }
        }
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

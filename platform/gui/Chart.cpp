#include "platform/gui/Chart.h"

#include <algorithm>
#include <cmath>
#include <map>

#include <QTimer>
#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "platform/gui/Guard.h"

namespace tarnel::gui {

TColor BGRFromColor(const QColor& Color)
{
    const QRgb rgb = Color.rgb();
    return static_cast<TColor>(qRed(rgb)) | static_cast<TColor>(qGreen(rgb)) << 8 | static_cast<TColor>(qBlue(rgb)) << 16;
}

// ---- Series -----------------------------------------------------------------------------------------------

// A point's key and value lie side by side in one register: the extremes of both run together, two points a step
// in two running values each (independent chains). x - x is 0 for a finite x, NaN else.
void TPointExtent::Take(const TChartPoint* Points, qsizetype Count)
{
    TPointExtent& e = *this;
    if (Count <= 0) return;
#if defined(__SSE2__)
    const __m128d zero = _mm_setzero_pd();
    __m128d lo0 = _mm_set_pd(e.YLo, e.XLo), hi0 = _mm_set_pd(e.YHi, e.XHi);
    __m128d lo1 = _mm_set1_pd(INFINITY), hi1 = _mm_set1_pd(-INFINITY);
    bool sorted = e.Sorted;
    double last = e.Last;
    const auto Single = [&](__m128d p) {
        if (_mm_movemask_pd(_mm_cmpneq_pd(_mm_sub_pd(p, p), zero)) != 0) return;  // NaN or infinite
        lo0 = _mm_min_pd(p, lo0);
        hi0 = _mm_max_pd(p, hi0);
    };
    qsizetype i = 0;
    for (; i + 2 <= Count; i += 2) {
        const __m128d p = _mm_loadu_pd(&Points[i].key), q = _mm_loadu_pd(&Points[i + 1].key);
        const double x0 = Points[i].key, x1 = Points[i + 1].key;
        sorted &= !(x0 < last) & !(x1 < x0);  // as std::is_sorted: no point below the one before it
        last = x1;
        if (_mm_movemask_pd(_mm_cmpneq_pd(_mm_add_pd(_mm_sub_pd(p, p), _mm_sub_pd(q, q)), zero)) == 0) {
            lo0 = _mm_min_pd(p, lo0);
            hi0 = _mm_max_pd(p, hi0);
            lo1 = _mm_min_pd(q, lo1);
            hi1 = _mm_max_pd(q, hi1);
        } else {
            Single(p), Single(q);
        }
    }
    if (i < Count) {
        sorted &= !(Points[i].key < last);
        Single(_mm_loadu_pd(&Points[i].key));
    }
    const __m128d lo = _mm_min_pd(lo0, lo1), hi = _mm_max_pd(hi0, hi1);
    e.XLo = _mm_cvtsd_f64(lo), e.YLo = _mm_cvtsd_f64(_mm_unpackhi_pd(lo, lo));
    e.XHi = _mm_cvtsd_f64(hi), e.YHi = _mm_cvtsd_f64(_mm_unpackhi_pd(hi, hi));
    e.Sorted = sorted;
    e.Last = Points[Count - 1].key;
#else
    for (qsizetype i = 0; i < Count; ++i) e.Add(Points[i].key, Points[i].value);
#endif
}

void TChartSeries::Clear()
{
    ReleasePlotData();
    FPoints.clear();
    FLabels.clear();
    FExtent = TPointExtent();
    Changed();
}

int TChartSeries::AddXY(double X, double Y, const QString& Label)
{
    if (!Label.isEmpty() || !FLabels.isEmpty()) {
        FLabels.resize(FPoints.size());  // the points before the first label have none
        FLabels.append(Label);
    }
    ReleasePlotData();
    FPoints.append(TChartPoint(X, Y));
    FExtent.Add(X, Y);
    Changed();
    return Count() - 1;
}

void TChartSeries::SetPoints(const QVector<double>& X, const QVector<double>& Y)
{
    const int n = static_cast<int>(std::min(X.size(), Y.size()));
    FillPoints(n, [&](int i, double& x, double& y) {
        x = X[i], y = Y[i];
        return true;
    });
}

namespace {

#if defined(__SSE2__)
// The least and the greatest of four running extremes and one more.
[[gnu::target("avx2")]] double Least(__m256d v, double e)
{
    const __m128d h = _mm_min_pd(_mm256_castpd256_pd128(v), _mm256_extractf128_pd(v, 1));
    const double m = std::min(_mm_cvtsd_f64(h), _mm_cvtsd_f64(_mm_unpackhi_pd(h, h)));
    return m < e ? m : e;
}
[[gnu::target("avx2")]] double Greatest(__m256d v, double e)
{
    const __m128d h = _mm_max_pd(_mm256_castpd256_pd128(v), _mm256_extractf128_pd(v, 1));
    const double m = std::max(_mm_cvtsd_f64(h), _mm_cvtsd_f64(_mm_unpackhi_pd(h, h)));
    return m > e ? m : e;
}

// FillSteps four values at a time while both coordinates of all four are finite (points and extent as TPointExtent::Add
// takes them one by one), the rest of a group one by one. Returns the points written; I is where it stopped.
[[gnu::target("avx2")]] int FillStepsAvx2(const double* Y, int Count, double Step, TChartPoint* Out, TPointExtent& E,
                                          int& I)
{
    const __m256d step = _mm256_set1_pd(Step), zero = _mm256_setzero_pd(), four = _mm256_set1_pd(4);
    __m256d index = _mm256_set_pd(3, 2, 1, 0);  // exact: as i converted to a Double
    __m256d xlo = _mm256_set1_pd(E.XLo), xhi = _mm256_set1_pd(E.XHi), ylo = _mm256_set1_pd(E.YLo),
            yhi = _mm256_set1_pd(E.YHi);
    __m256d last = _mm256_set1_pd(E.Last), falls = zero;
    int n = 0, i = 0;
    for (; i + 4 <= Count; i += 4, index = _mm256_add_pd(index, four)) {
        const __m256d x = _mm256_mul_pd(index, step), y = _mm256_loadu_pd(Y + i);
        const __m256d both = _mm256_add_pd(_mm256_sub_pd(x, x), _mm256_sub_pd(y, y));  // 0 only where both are finite
        if (_mm256_movemask_pd(_mm256_cmp_pd(both, zero, _CMP_EQ_OQ)) != 0xF) {
            E.Last = _mm256_cvtsd_f64(_mm256_permute4x64_pd(last, 3));
            for (int k = i; k < i + 4; ++k) {
                const double xk = k * Step, yk = Y[k];
                if (!(std::isfinite(xk) && std::isfinite(yk))) continue;
                Out[n].key = xk, Out[n].value = yk, ++n;
                E.Add(xk, yk);
            }
            last = _mm256_set1_pd(E.Last);
            continue;
        }
        // Each X against the one before it (the last of the group before for the first).
        const __m256d before = _mm256_blend_pd(_mm256_permute4x64_pd(x, _MM_SHUFFLE(2, 1, 0, 0)),
                                               _mm256_permute4x64_pd(last, _MM_SHUFFLE(3, 3, 3, 3)), 1);
        falls = _mm256_or_pd(falls, _mm256_cmp_pd(x, before, _CMP_LT_OQ));
        last = x;
        xlo = _mm256_min_pd(x, xlo), xhi = _mm256_max_pd(x, xhi);
        ylo = _mm256_min_pd(y, ylo), yhi = _mm256_max_pd(y, yhi);
        const __m256d even = _mm256_unpacklo_pd(x, y), odd = _mm256_unpackhi_pd(x, y);  // (x0 y0 x2 y2), (x1 y1 x3 y3)
        _mm256_storeu_pd(&Out[n].key, _mm256_permute2f128_pd(even, odd, 0x20));
        _mm256_storeu_pd(&Out[n + 2].key, _mm256_permute2f128_pd(even, odd, 0x31));
        n += 4;
    }
    E.XLo = Least(xlo, E.XLo), E.XHi = Greatest(xhi, E.XHi), E.YLo = Least(ylo, E.YLo), E.YHi = Greatest(yhi, E.YHi);
    E.Sorted &= _mm256_movemask_pd(falls) == 0;
    E.Last = _mm256_cvtsd_f64(_mm256_permute4x64_pd(last, 3));
    I = i;
    return n;
}
#endif

}  // namespace

void TChartSeries::FillSteps(const double* Y, int Count, double Step)
{
    TChartPoint* out = MakeRoom(Count);
    TPointExtent extent;
    int n = 0, i = 0;
#if defined(__SSE2__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) n = FillStepsAvx2(Y, Count, Step, out, extent, i);
#endif
    for (; i < Count; ++i) {
        const double x = i * Step, y = Y[i];
        if (!(std::isfinite(x) && std::isfinite(y))) continue;
        out[n].key = x, out[n].value = y, ++n;
        extent.Add(x, y);
    }
    EndFill(n, extent);
}

QVector<double> TChartSeries::XValues() const
{
    QVector<double> x(FPoints.size());
    for (qsizetype i = 0; i < x.size(); ++i) x[i] = FPoints[i].key;
    return x;
}

QVector<double> TChartSeries::YValues() const
{
    QVector<double> y(FPoints.size());
    for (qsizetype i = 0; i < y.size(); ++i) y[i] = FPoints[i].value;
    return y;
}

TChartPoint* TChartSeries::MakeRoom(int Capacity)
{
    ReleasePlotData();
    if (!FPoints.isDetached()) FPoints = QVector<TChartPoint>();  // shared with a copy someone holds: fresh room
    FPoints.resize(std::max(Capacity, 0));
    return FPoints.data();
}

void TChartSeries::EndFill(int Count, const TPointExtent& Extent)
{
    FPoints.resize(Count);  // keeps the room
    FExtent = Extent;
    FLabels.clear();
    Changed();
}

void TChartSeries::Changed()
{
    SetPlotData(FPoints);
    FChart->SeriesChanged();
}

namespace {

QCPScatterStyle::ScatterShape Shape(TPointerStyle pointer)
{
    switch (pointer) {
        case TPointerStyle::psNone:
            return QCPScatterStyle::ssNone;
        case TPointerStyle::psRectangle:
            return QCPScatterStyle::ssSquare;
        case TPointerStyle::psCircle:
            return QCPScatterStyle::ssCircle;
        case TPointerStyle::psTriangle:
            return QCPScatterStyle::ssTriangle;
        case TPointerStyle::psDownTriangle:
            return QCPScatterStyle::ssTriangleInverted;
        case TPointerStyle::psCross:
            return QCPScatterStyle::ssPlus;
        case TPointerStyle::psDiagCross:
            return QCPScatterStyle::ssCross;
        case TPointerStyle::psDiamond:
            return QCPScatterStyle::ssDiamond;
    }
    return QCPScatterStyle::ssNone;
}

}  // namespace

TLineSeries::TLineSeries(TChart* Chart, const QString& Title, const QColor& Color, TPointerStyle Pointer)
    : QCPGraph(Chart->xAxis, Chart->yAxis), TChartSeries(Chart), FPointer(Pointer)
{
    setName(Title);
    setPen(QPen(Color, 2));
    // Filled shapes take the series colour; crosses are drawn with the pen alone.
    setScatterStyle(QCPScatterStyle(Shape(Pointer), QPen(Color, 1.5), QBrush(Color), 8));
    setAdaptiveSampling(false);
}

void TLineSeries::SetPlotData(const QVector<TChartPoint>& Points)
{
    // Sorted by x (a line joins the points from left to right): points that come in order are shared as they are,
    // others are sorted in a copy of the container's own.
    data()->set(Points, Extent().Sorted);
}

void TLineSeries::ReleasePlotData()
{
    data()->set(QVector<TChartPoint>());
}

TBarSeries::TBarSeries(TChart* Chart, const QString& Title, const QColor& Color)
    : QCPBars(Chart->xAxis, Chart->yAxis), TChartSeries(Chart)
{
    setName(Title);
    setPen(QPen(Color.darker(150)));
    setBrush(Color);
}

void TBarSeries::SetMarksVisible(bool Visible)
{
    FMarksVisible = Visible;
    if (parentPlot()) parentPlot()->replot(QCustomPlot::rpQueuedReplot);
}

QString TBarSeries::MarkText(double Value)
{
    return QString::number(Value, 'g', 10);
}

void TBarSeries::SetMarksShowLabels(bool Show)
{
    FMarksShowLabels = Show;
    if (parentPlot()) parentPlot()->replot(QCustomPlot::rpQueuedReplot);
}

QString TBarSeries::PointMarkText(int Index) const
{
    const QString value = MarkText(YValue(Index));
    const QString label = FMarksShowLabels ? XLabel(Index) : QString();
    return label.isEmpty() ? value : label + QLatin1Char('\n') + value;
}

void TBarSeries::SetBarColor(int Index, const QColor& Color)
{
    if (Index < 0) return;
    if (Index >= FBarColors.size()) FBarColors.resize(Index + 1);
    FBarColors[Index] = Color;
    if (parentPlot()) parentPlot()->replot(QCustomPlot::rpQueuedReplot);
}

QColor TBarSeries::BarColor(int Index) const
{
    return Index >= 0 && Index < FBarColors.size() && FBarColors[Index].isValid() ? FBarColors[Index] : SeriesColor();
}

void TBarSeries::SetMarkColor(const QColor& Color)
{
    FMarkColor = Color;
    if (parentPlot()) parentPlot()->replot(QCustomPlot::rpQueuedReplot);
}

void TBarSeries::SetPlotData(const QVector<TChartPoint>& Points)
{
    QVector<double> keys(Points.size()), values(Points.size());
    for (qsizetype i = 0; i < Points.size(); ++i) keys[i] = Points[i].key, values[i] = Points[i].value;
    setData(keys, values);
}

void TBarSeries::draw(QCPPainter* painter)
{
    if (FBarColors.isEmpty()) {
        QCPBars::draw(painter);
    } else if (keyAxis() && valueAxis()) {
        applyDefaultAntialiasingHint(painter);
        int index = 0;
        for (auto it = data()->constBegin(); it != data()->constEnd(); ++it, ++index) {
            const QColor color = BarColor(index);
            painter->setPen(QPen(color.darker(150)));
            painter->setBrush(color);
            painter->drawRect(getBarRect(it->key, it->value));
        }
    }
    if (!FMarksVisible || !keyAxis() || !valueAxis()) return;
    painter->save();
    QFont font = parentPlot()->font();
    font.setPointSizeF(std::max(7.0, font.pointSizeF() * 0.9));
    painter->setFont(font);
    const QFontMetrics metrics(font);
    const QVector<double> keys = XValues();
    for (auto it = data()->constBegin(); it != data()->constEnd(); ++it) {
        const QRectF bar = getBarRect(it->key, it->value);
        // The point this bar draws (the plottable keeps its data sorted by key).
        const int point = static_cast<int>(keys.indexOf(it->key));
        const QString text = point >= 0 ? PointMarkText(point) : MarkText(it->value);
        QRectF box = text.contains(QLatin1Char('\n'))
                         ? QRectF(metrics.boundingRect(QRect(0, 0, 10000, 10000), Qt::AlignCenter, text))
                         : QRectF(metrics.boundingRect(text));
        box.adjust(-3, -1, 3, 1);
        // Above a bar that grows upwards, below one that grows downwards.
        const bool up = it->value >= 0;
        box.moveCenter(QPointF(bar.center().x(), 0));
        if (up) {
            box.moveBottom(bar.top() - 3);
        } else {
            box.moveTop(bar.bottom() + 3);
        }
        painter->setPen(QPen(Qt::gray));
        painter->setBrush(FMarkColor);
        painter->drawRect(box);
        painter->setPen(FMarkColor.lightness() < 128 ? Qt::white : Qt::black);
        painter->drawText(box, Qt::AlignCenter, text);
    }
    painter->restore();
}

// ---- Chart ------------------------------------------------------------------------------------------------

TChart::TChart(QWidget* parent) : QCustomPlot(parent)
{
    axisRect()->setBackground(Qt::white);
    legend->setVisible(true);
    legend->setBrush(QColor(255, 255, 255, 220));
    xAxis2->setVisible(true);
    yAxis2->setVisible(true);
    xAxis2->setTickLabels(false);
    yAxis2->setTickLabels(false);
    connect(xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), xAxis2,
            qOverload<const QCPRange&>(&QCPAxis::setRange));
    connect(yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), yAxis2,
            qOverload<const QCPRange&>(&QCPAxis::setRange));
    FNumberTicker = xAxis->ticker();
    SetZoomAllowed(true);
    UpdateBackground();
}

void TChart::SetGradientEndColor(const QColor& color)
{
    FGradientEnd = color;
    UpdateBackground();
    replot(rpQueuedReplot);
}

void TChart::SetZoomAllowed(bool allowed)
{
    FZoomAllowed = allowed;
    setSelectionRectMode(allowed ? QCP::srmZoom : QCP::srmNone);
}

TLineSeries* TChart::AddLineSeries(const QString& title, const QColor& color, TPointerStyle pointer)
{
    // The plot takes ownership when the plottable registers itself in its constructor.
    auto* series = new TLineSeries(this, title, color, pointer);
    SeriesChanged();
    return series;
}

TLineSeries* TChart::AddFastLineSeries(const QString& title, const QColor& color)
{
    TLineSeries* series = AddLineSeries(title, color, TPointerStyle::psNone);
    series->setPen(QPen(color, 0));  // cosmetic: one pixel at any scale
    return series;
}

TBarSeries* TChart::AddBarSeries(const QString& title, const QColor& color)
{
    auto* series = new TBarSeries(this, title, color);
    if (!FBarsGroup) {
        FBarsGroup = new QCPBarsGroup(this);
        FBarsGroup->setSpacingType(QCPBarsGroup::stAbsolute);
        FBarsGroup->setSpacing(4);
    }
    series->setBarsGroup(FBarsGroup);
    // The bars of all series at one x value share 0.7 of the distance to the next x value.
    const QList<QCPBars*> bars = FBarsGroup->bars();
    for (QCPBars* b : bars) b->setWidth(0.7 / bars.size());
    SeriesChanged();
    return series;
}

int TChart::SeriesCount()
{
    int n = 0;
    for (int i = 0; i < plottableCount(); ++i)
        if (dynamic_cast<TChartSeries*>(plottable(i))) ++n;
    return n;
}

TChartSeries* TChart::Series(int index)
{
    for (int i = 0; i < plottableCount(); ++i) {
        auto* s = dynamic_cast<TChartSeries*>(plottable(i));
        if (s && index-- == 0) return s;
    }
    return nullptr;
}

void TChart::SetLegendOnTop()
{
    if (FLegendOnTop) return;
    FLegendOnTop = true;
    plotLayout()->insertRow(0);
    plotLayout()->addElement(0, 0, legend);  // takes the legend out of the plot area's inset layout
    plotLayout()->setRowStretchFactor(0, 0.001);
    legend->setFillOrder(QCPLegend::foColumnsFirst);
    legend->setMargins(QMargins(6, 3, 6, 3));
    replot(rpQueuedReplot);
}

void TChart::FreeAllSeries()
{
    clearPlottables();
    SeriesChanged();
}

void TChart::SetTitle(const QString& Text)
{
    if (Text.isEmpty()) {
        if (FTitle) {
            plotLayout()->remove(FTitle);
            plotLayout()->simplify();  // the title's row goes with it
        }
    } else if (FTitle) {
        FTitle->setText(Text);
    } else {
        plotLayout()->insertRow(0);
        plotLayout()->setRowStretchFactor(0, 0.001);
        FTitle = new QCPTextElement(this, Text, QFont(font().family(), font().pointSize() + 2, QFont::Bold));
        plotLayout()->addElement(0, 0, FTitle);
    }
    replot(rpQueuedReplot);
}

QString TChart::Title() const
{
    return FTitle ? FTitle->text() : QString();
}

void TChart::SetAxisAutomatic(QCPAxis* Axis, bool Automatic)
{
    if (Automatic) {
        FFixedAxes.remove(Axis);
        SeriesChanged();
    } else {
        FFixedAxes.insert(Axis);
    }
}

void TChart::SetAxisIncrement(QCPAxis* Axis, double Step)
{
    QSharedPointer<QCPAxisTicker> ticker;
    if (Step > 0) {
        auto fixed = QSharedPointer<QCPAxisTickerFixed>::create();
        fixed->setTickStep(Step);
        fixed->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
        ticker = fixed;
    } else {
        ticker = QSharedPointer<QCPAxisTicker>::create();
    }
    if (Axis == xAxis) {
        FNumberTicker = ticker;
        UpdateBottomLabels();
    } else {
        Axis->setTicker(ticker);
    }
    replot(rpQueuedReplot);
}

void TChart::SeriesChanged()
{
    UpdateBottomLabels();
    FitAxes();
    QueueReplot();
}

void TChart::Repaint()
{
    if (FRepaintDeferred) {
        QueueReplot();
        return;
    }
    FReplotQueued = false;
    replot(rpImmediateRefresh);
}

// One repaint for a burst of changes; dropped when an immediate one came first.
void TChart::QueueReplot()
{
    if (FReplotQueued) return;
    FReplotQueued = true;
    QTimer::singleShot(0, this, [this] {
        if (!FReplotQueued) return;
        FReplotQueued = false;
        replot();
    });
}

void TChart::UpdateBottomLabels()
{
    QMap<double, QString> labels;
    for (int i = 0, n = SeriesCount(); i < n; ++i) {
        const TChartSeries* s = Series(i);
        if (!s->HasLabels()) continue;
        for (int k = 0; k < s->Count(); ++k)
            if (!s->XLabel(k).isEmpty()) labels.insert(s->XValue(k), s->XLabel(k));
    }
    if (labels.isEmpty()) {
        if (xAxis->ticker() != FNumberTicker) xAxis->setTicker(FNumberTicker);
        return;
    }
    auto ticker = QSharedPointer<QCPAxisTickerText>::create();
    ticker->addTicks(labels);
    xAxis->setTicker(ticker);
}

// Each automatic axis spans the data of the series drawn on it: the keys of the series whose key axis it is, the
// values of those whose value axis it is. Plottables that are not series of this layer give their own ranges.
void TChart::FitAxes()
{
    struct TSpan {
        double Lo = 0, Hi = 0;
        bool Any = false;
        bool Key = false;   // the axis carries keys (else values)
        bool Bars = false;  // a bar series is drawn on it
        void Add(double v)
        {
            if (!std::isfinite(v)) return;
            if (!Any) Lo = Hi = v, Any = true;
            Lo = std::min(Lo, v), Hi = std::max(Hi, v);
        }
    };
    std::map<QCPAxis*, TSpan> spans;  // node based: the two references below stay valid
    for (int i = 0; i < plottableCount(); ++i) {
        QCPAbstractPlottable* p = plottable(i);
        QCPAxis* keyAxis = p->keyAxis();
        QCPAxis* valueAxis = p->valueAxis();
        if (!keyAxis || !valueAxis) continue;
        TSpan& keys = spans[keyAxis];
        TSpan& values = spans[valueAxis];
        keys.Key = true;
        const bool bars = dynamic_cast<QCPBars*>(p) != nullptr;
        keys.Bars |= bars;
        values.Bars |= bars;
        if (auto* s = dynamic_cast<TChartSeries*>(p)) {
            // The extremes of the points where both values are finite.
            const TPointExtent& e = s->Extent();
            if (e.XLo <= e.XHi) {
                keys.Add(e.XLo), keys.Add(e.XHi);
                values.Add(e.YLo), values.Add(e.YHi);
            }
        } else {
            bool found = false;
            const QCPRange kr = p->getKeyRange(found);
            if (found) keys.Add(kr.lower), keys.Add(kr.upper);
            const QCPRange vr = p->getValueRange(found);
            if (found) values.Add(vr.lower), values.Add(vr.upper);
        }
    }
    for (auto& [axis, span] : spans) {
        TSpan s = span;
        if (!s.Any || !AxisAutomatic(axis)) continue;
        if (s.Bars && s.Key) {
            // Whole bars.
            s.Lo -= 0.6, s.Hi += 0.6;
        } else if (s.Bars) {
            // Their base at zero and room for the marks above the highest.
            s.Lo = std::min(s.Lo, 0.0), s.Hi = std::max(s.Hi, 0.0);
            const double room = s.Hi > s.Lo ? 0.15 * (s.Hi - s.Lo) : 1;
            if (s.Hi > 0 || s.Lo == 0) s.Hi += room;
            if (s.Lo < 0) s.Lo -= room;
        } else if (s.Key) {
            // Markers at the ends stay whole.
            const double d = s.Hi > s.Lo ? 0.03 * (s.Hi - s.Lo) : 1;
            s.Lo -= d, s.Hi += d;
        } else {
            const double d = s.Hi > s.Lo ? 0.05 * (s.Hi - s.Lo) : std::max(1.0, 0.1 * std::fabs(s.Hi));
            s.Lo -= d, s.Hi += d;
        }
        axis->setRange(s.Lo, s.Hi);
    }
}

void TChart::UpdateBackground()
{
    QLinearGradient gradient(0, 0, 0, qMax(1, height()));
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, FGradientEnd);
    setBackground(QBrush(gradient));
}

void TChart::resizeEvent(QResizeEvent* event)
{
    Guarded([&] { UpdateBackground(); });
    QCustomPlot::resizeEvent(event);
}

void TChart::mouseDoubleClickEvent(QMouseEvent* event)
{
    QCustomPlot::mouseDoubleClickEvent(event);
    Guarded([&] {
        if (!FZoomAllowed) return;
        FitAxes();
        if (SeriesCount() == 0) rescaleAxes();
        replot();
    });
}

}  // namespace tarnel::gui

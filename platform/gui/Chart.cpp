#include "platform/gui/Chart.h"

#include <algorithm>
#include <cmath>
#include <map>

#include <QTimer>

#include "platform/gui/Guard.h"

namespace tarnel::gui {

TColor BGRFromColor(const QColor& Color)
{
    const QRgb rgb = Color.rgb();
    return static_cast<TColor>(qRed(rgb)) | static_cast<TColor>(qGreen(rgb)) << 8 | static_cast<TColor>(qBlue(rgb)) << 16;
}

// ---- Series -----------------------------------------------------------------------------------------------

void TChartSeries::Clear()
{
    FX.clear();
    FY.clear();
    FLabels.clear();
    Changed();
}

int TChartSeries::AddXY(double X, double Y, const QString& Label)
{
    if (!Label.isEmpty() || !FLabels.isEmpty()) {
        FLabels.resize(FX.size());  // the points before the first label have none
        FLabels.append(Label);
    }
    FX.append(X);
    FY.append(Y);
    Changed();
    return Count() - 1;
}

void TChartSeries::SetPoints(QVector<double> X, QVector<double> Y)
{
    const auto n = std::min(X.size(), Y.size());
    X.resize(n);
    Y.resize(n);
    FX = std::move(X);
    FY = std::move(Y);
    FLabels.clear();
    Changed();
}

void TChartSeries::MakeRoom(int Capacity)
{
    for (QVector<double>* v : {&FX, &FY}) {
        if (!v->isDetached()) *v = QVector<double>();  // shared with a copy someone holds: fresh room, no copy made
        v->resize(std::max(Capacity, 0));
    }
}

void TChartSeries::EndFill(int Count)
{
    FX.resize(Count);  // keeps the room
    FY.resize(Count);
    FLabels.clear();
    Changed();
}

namespace {

// One pass over the points (X[i], Y[i]), handing each to Put(i, x, y), for their extent. Each extreme runs in two
// values, one for the even points and one for the odd (independent chains: long series are scanned on every change).
template <class TPut>
TPointExtent ScanPoints(const double* X, const double* Y, qsizetype Count, TPut Put)
{
    double xlo0 = INFINITY, xhi0 = -INFINITY, ylo0 = INFINITY, yhi0 = -INFINITY;
    double xlo1 = INFINITY, xhi1 = -INFINITY, ylo1 = INFINITY, yhi1 = -INFINITY;
    bool sorted = true;
    double before = Count > 0 ? X[0] : 0;
    const auto Take = [&](qsizetype i, double& xlo, double& xhi, double& ylo, double& yhi) {
        const double a = X[i], b = Y[i];
        Put(i, a, b);
        sorted &= !(a < before);  // as std::is_sorted: no point below the one before it
        before = a;
        if (a - a != 0 || b - b != 0) return;  // NaN or infinite
        xlo = a < xlo ? a : xlo;
        xhi = a > xhi ? a : xhi;
        ylo = b < ylo ? b : ylo;
        yhi = b > yhi ? b : yhi;
    };
    qsizetype i = 0;
    for (; i + 2 <= Count; i += 2) {
        Take(i, xlo0, xhi0, ylo0, yhi0);
        Take(i + 1, xlo1, xhi1, ylo1, yhi1);
    }
    if (i < Count) Take(i, xlo0, xhi0, ylo0, yhi0);
    TPointExtent e;
    e.XLo = std::min(xlo0, xlo1), e.XHi = std::max(xhi0, xhi1);
    e.YLo = std::min(ylo0, ylo1), e.YHi = std::max(yhi0, yhi1);
    e.Sorted = sorted;
    return e;
}

}  // namespace

const TPointExtent& TChartSeries::Extent() const
{
    if (!FExtentKnown) SetExtent(ScanPoints(FX.constData(), FY.constData(), FX.size(), [](qsizetype, double, double) {}));
    return FExtent;
}

void TChartSeries::SetExtent(const TPointExtent& Extent) const
{
    FExtent = Extent;
    FExtentKnown = true;
}

void TChartSeries::Changed()
{
    FExtentKnown = false;
    SetPlotData(FX, FY);
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

void TLineSeries::SetPlotData(const QVector<double>& X, const QVector<double>& Y)
{
    // Sorted by x (a line joins the points from left to right); points that come in order are not sorted again.
    // The pairs are written into the series' own array, which the data container then shares: the container lets go
    // of it first, so it is rewritten in place rather than copied.
    const QSharedPointer<QCPGraphDataContainer> container = data();
    container->set(QVector<QCPGraphData>());
    const qsizetype n = std::min(X.size(), Y.size());
    if (!FPlotData.isDetached()) FPlotData = QVector<QCPGraphData>();
    FPlotData.resize(n);
    QCPGraphData* out = FPlotData.data();
    const TPointExtent extent = ScanPoints(X.constData(), Y.constData(), n, [out](qsizetype i, double x, double y) {
        out[i].key = x;
        out[i].value = y;
    });
    if (n == X.size() && n == Y.size()) SetExtent(extent);
    container->set(FPlotData, extent.Sorted);
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

void TBarSeries::SetPlotData(const QVector<double>& X, const QVector<double>& Y)
{
    setData(X, Y);
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
    for (auto it = data()->constBegin(); it != data()->constEnd(); ++it) {
        const QRectF bar = getBarRect(it->key, it->value);
        // The point this bar draws (the plottable keeps its data sorted by key).
        const int point = static_cast<int>(XValues().indexOf(it->key));
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

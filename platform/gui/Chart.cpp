#include "platform/gui/Chart.h"

#include <algorithm>
#include <cmath>

#include "platform/gui/Guard.h"

namespace tarnel::gui {

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
    FX.append(X);
    FY.append(Y);
    FLabels.append(Label);
    Changed();
    return Count() - 1;
}

void TChartSeries::Changed()
{
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
}

void TLineSeries::SetPlotData(const QVector<double>& X, const QVector<double>& Y)
{
    setData(X, Y);  // sorts by x: a line joins the points from left to right
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
        const QString text = MarkText(it->value);
        QRectF box = metrics.boundingRect(text);
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

void TChart::SeriesChanged()
{
    UpdateBottomLabels();
    FitAxes();
    replot(rpQueuedReplot);
}

void TChart::UpdateBottomLabels()
{
    QMap<double, QString> labels;
    for (int i = 0, n = SeriesCount(); i < n; ++i) {
        const TChartSeries* s = Series(i);
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

void TChart::FitAxes()
{
    bool any = false, bars = false;
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    for (int i = 0, n = SeriesCount(); i < n; ++i) {
        TChartSeries* s = Series(i);
        bars |= dynamic_cast<TBarSeries*>(s) != nullptr;
        for (int k = 0; k < s->Count(); ++k) {
            const double x = s->XValue(k), y = s->YValue(k);
            if (!std::isfinite(x) || !std::isfinite(y)) continue;
            if (!any) {
                x0 = x1 = x;
                y0 = y1 = y;
                any = true;
            }
            x0 = std::min(x0, x), x1 = std::max(x1, x);
            y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
    }
    if (!any) return;
    if (bars) {
        // Whole bars, their base at zero and room for the marks above the highest.
        x0 -= 0.6, x1 += 0.6;
        y0 = std::min(y0, 0.0), y1 = std::max(y1, 0.0);
        const double room = y1 > y0 ? 0.15 * (y1 - y0) : 1;
        if (y1 > 0 || y0 == 0) y1 += room;
        if (y0 < 0) y0 -= room;
    } else {
        // Markers at the ends stay whole.
        const double dx = x1 > x0 ? 0.03 * (x1 - x0) : 1;
        const double dy = y1 > y0 ? 0.05 * (y1 - y0) : std::max(1.0, 0.1 * std::fabs(y1));
        x0 -= dx, x1 += dx, y0 -= dy, y1 += dy;
    }
    xAxis->setRange(x0, x1);
    yAxis->setRange(y0, y1);
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

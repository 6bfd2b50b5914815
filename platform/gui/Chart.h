// The chart widget of the demonstration pages, on QCustomPlot: a gradient background around a white plot area,
// axes, a legend and rubber-band zoom (drag a rectangle to zoom in, double-click to show all data again) that a
// page may switch off.
//
// The series layer: a page adds its series to the chart (the chart owns them, as QCustomPlot owns its
// plottables) and feeds them points with AddXY. A point may carry a label; the labels of all series become the
// texts of the bottom axis at their x values. After every change the chart rescales its axes to the data and
// queues a repaint, so a burst of points costs one repaint. SetPoints and FillPoints replace all points of a series
// at once (the way long vectors reach a chart); an axis switched off automatic scaling keeps the range it was given.
#pragma once

#include <qcustomplot.h>

#include <QColor>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tarnel::gui {

class TChart;

// A framework colour: $00BBGGRR (red in the low byte), as the library's components keep colours. ColorFromBGR
// (platform/gui/Controls.h) makes a Qt colour of it, BGRFromColor the reverse.
using TColor = std::uint32_t;
TColor BGRFromColor(const QColor& Color);

// The point styles of a line series.
enum class TPointerStyle { psNone, psRectangle, psCircle, psTriangle, psDownTriangle, psCross, psDiagCross, psDiamond };

// A series' point: QCustomPlot's key-value pair, so that a line's plottable can share the series' own array.
using TChartPoint = QCPGraphData;

// Where a series' points lie: the extremes of the points whose coordinates are both finite (XLo > XHi when there is
// none) and whether X never falls from one point to the next (as std::is_sorted has it).
struct TPointExtent {
    double XLo = INFINITY, XHi = -INFINITY, YLo = INFINITY, YHi = -INFINITY;
    bool Sorted = true;
    double Last = -INFINITY;  // the X of the point taken last
    // Takes Count points that follow the ones taken so far, in one pass.
    void Take(const TChartPoint* Points, qsizetype Count);
    // Takes the point that follows the ones taken so far.
    void Add(double X, double Y)
    {
        Sorted &= !(X < Last);
        Last = X;
        if (X - X != 0 || Y - Y != 0) return;  // NaN or infinite
        XLo = X < XLo ? X : XLo;
        XHi = X > XHi ? X : XHi;
        YLo = Y < YLo ? Y : YLo;
        YHi = Y > YHi ? Y : YHi;
    }
};

// What every series of the chart offers, whatever it draws: its points in the order they were added.
class TChartSeries {
public:
    virtual ~TChartSeries() = default;
    TChartSeries(const TChartSeries&) = delete;
    TChartSeries& operator=(const TChartSeries&) = delete;

    virtual QString Title() const = 0;
    virtual QColor SeriesColor() const = 0;

    // Removes every point.
    void Clear();
    // Adds the point (X, Y) with an optional label for the bottom axis; returns its index.
    int AddXY(double X, double Y, const QString& Label = QString());
    // Replaces every point by the points (X[i], Y[i]), without labels, with one change notice. X goes to the
    // plottable's keys, Y to its values. Lengths that differ keep the shorter.
    void SetPoints(const QVector<double>& X, const QVector<double>& Y);
    // Replaces every point, as SetPoints does, by the points Point(i, X, Y) gives for i = 0 .. Count - 1, skipping
    // each i for which it returns false. They are written into the series' own array where it is, so a series
    // refilled again and again takes no fresh memory while its room suffices.
    template <class F>
    void FillPoints(int Count, F Point)
    {
        TChartPoint* out = MakeRoom(Count);
        TPointExtent extent;
        int n = 0;
        // A block of points at a time, measured for the extent while it is still in the nearest cache.
        constexpr int kBlock = 512;
        for (int b = 0; b < Count; b += kBlock) {
            const int start = n, end = std::min(Count, b + kBlock);
            for (int i = b; i < end; ++i) {
                double x = 0, y = 0;
                const bool kept = Point(i, x, y);
                out[n].key = x;  // n <= i: within the room; a point not kept is written over by the next
                out[n].value = y;
                n += kept;
            }
            extent.Take(out + start, n - start);
        }
        EndFill(n, extent);
    }
    // Replaces every point, as FillPoints does, by the points (i·Step, Y[i]), i = 0 .. Count - 1, where both are
    // finite (a vector drawn against its index).
    void FillSteps(const double* Y, int Count, double Step);
    int Count() const { return static_cast<int>(FPoints.size()); }
    double XValue(int Index) const { return FPoints.at(Index).key; }
    double YValue(int Index) const { return FPoints.at(Index).value; }
    QString XLabel(int Index) const { return FLabels.value(Index); }
    bool HasLabels() const { return !FLabels.isEmpty(); }
    QVector<double> XValues() const;
    QVector<double> YValues() const;
    const QVector<TChartPoint>& Points() const { return FPoints; }
    // Kept up to date with the points.
    const TPointExtent& Extent() const { return FExtent; }
    TChart* Chart() const { return FChart; }

protected:
    explicit TChartSeries(TChart* Chart) : FChart(Chart) {}
    // Hands the points over to the plottable.
    virtual void SetPlotData(const QVector<TChartPoint>& Points) = 0;
    // Lets go of the points handed over, where the plottable shares their array (it is about to be rewritten).
    virtual void ReleasePlotData() {}

private:
    void Changed();
    TChartPoint* MakeRoom(int Capacity);
    void EndFill(int Count, const TPointExtent& Extent);
    TChart* FChart;
    QVector<TChartPoint> FPoints;
    QVector<QString> FLabels;  // empty while no point has a label, else one per point
    TPointExtent FExtent;
};

// A line through the points, each point drawn in the series' point style. Every point is drawn: QCustomPlot's
// adaptive sampling is off (pages thin long data with the library's pixel down-sampling, which they show).
class TLineSeries : public QCPGraph, public TChartSeries {
    Q_OBJECT
public:
    TLineSeries(TChart* Chart, const QString& Title, const QColor& Color, TPointerStyle Pointer);
    QString Title() const override { return name(); }
    QColor SeriesColor() const override { return pen().color(); }
    TPointerStyle Pointer() const { return FPointer; }

protected:
    void SetPlotData(const QVector<TChartPoint>& Points) override;
    void ReleasePlotData() override;

private:
    TPointerStyle FPointer;
};

// Bars at the points' x values. With its marks visible (the default) every bar shows its value above it. The
// bar series of one chart stand side by side at a shared x value.
class TBarSeries : public QCPBars, public TChartSeries {
    Q_OBJECT
public:
    TBarSeries(TChart* Chart, const QString& Title, const QColor& Color);
    QString Title() const override { return name(); }
    QColor SeriesColor() const override { return brush().color(); }
    bool MarksVisible() const { return FMarksVisible; }
    void SetMarksVisible(bool Visible);
    // The text of the mark of a bar of this value.
    static QString MarkText(double Value);
    // Whether each mark shows the bar's label (one line per line feed) above its value (off until set): for a
    // chart whose bottom axis is hidden.
    bool MarksShowLabels() const { return FMarksShowLabels; }
    void SetMarksShowLabels(bool Show);
    // The text of the mark of the Index-th point.
    QString PointMarkText(int Index) const;
    // A colour of its own for the Index-th bar from the left (the series colour until set; kept through Clear).
    void SetBarColor(int Index, const QColor& Color);
    QColor BarColor(int Index) const;
    // The background of the marks (pale yellow until set); their text is black, or white on a dark background.
    void SetMarkColor(const QColor& Color);
    QColor MarkColor() const { return FMarkColor; }

protected:
    void SetPlotData(const QVector<TChartPoint>& Points) override;
    void draw(QCPPainter* painter) override;

private:
    bool FMarksVisible = true;
    bool FMarksShowLabels = false;
    QVector<QColor> FBarColors;  // invalid entries: the series colour
    QColor FMarkColor{255, 255, 225};
};

class TChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit TChart(QWidget* parent);

    // The background gradient runs from white at the top to this colour at the bottom.
    void SetGradientEndColor(const QColor& color);
    QColor GradientEndColor() const { return FGradientEnd; }

    void SetZoomAllowed(bool allowed);
    bool ZoomAllowed() const { return FZoomAllowed; }

    // The series: created here, owned by the chart.
    TLineSeries* AddLineSeries(const QString& title, const QColor& color, TPointerStyle pointer);
    TBarSeries* AddBarSeries(const QString& title, const QColor& color);
    // A fast line: a line series without points drawn with a one-pixel pen (a wide pen makes Qt stroke long lines
    // very slowly).
    TLineSeries* AddFastLineSeries(const QString& title, const QColor& color);
    int SeriesCount();
    TChartSeries* Series(int index);

    // Moves the legend out of the plot area into a row of its own above it, its entries side by side.
    void SetLegendOnTop();
    bool LegendOnTop() const { return FLegendOnTop; }

    // Removes every plottable (the series among them) and frees it.
    void FreeAllSeries();

    // The chart's title above the plot area; an empty text removes it. Lines are separated by "\n".
    void SetTitle(const QString& Text);
    QString Title() const;

    // Automatic scaling of one axis (on for every axis at creation). An axis switched off keeps its range until the
    // caller sets another.
    void SetAxisAutomatic(QCPAxis* Axis, bool Automatic);
    bool AxisAutomatic(QCPAxis* Axis) const { return !FFixedAxes.contains(Axis); }
    // A tick at every multiple of Step (labels thin out to multiples of it where they would crowd); Step <= 0
    // gives the automatic ticks back. On the bottom axis point labels still take precedence.
    void SetAxisIncrement(QCPAxis* Axis, double Step);

    // Rescales the axes to the data of all series, puts the point labels on the bottom axis and queues a
    // repaint. The series call it after every change.
    void SeriesChanged();
    // Repaints at once (a queued repaint still pending is dropped).
    void Repaint();
    // While a TDeferredRepaint of the chart lives, Repaint queues one repaint for the event loop instead: a handler
    // that plots and then writes its results returns without painting, and the chart is painted once afterwards.
    class TDeferredRepaint {
    public:
        explicit TDeferredRepaint(TChart& Chart) : FChart(Chart), FWas(Chart.FRepaintDeferred)
        {
            Chart.FRepaintDeferred = true;
        }
        ~TDeferredRepaint() { FChart.FRepaintDeferred = FWas; }
        TDeferredRepaint(const TDeferredRepaint&) = delete;
        TDeferredRepaint& operator=(const TDeferredRepaint&) = delete;

    private:
        TChart& FChart;
        bool FWas;
    };

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void UpdateBackground();
    void UpdateBottomLabels();
    void FitAxes();
    void QueueReplot();
    QColor FGradientEnd{Qt::blue};
    bool FZoomAllowed = true;
    bool FLegendOnTop = false;
    QCPBarsGroup* FBarsGroup = nullptr;  // owned by the chart (its QObject parent)
    QSharedPointer<QCPAxisTicker> FNumberTicker;  // the bottom axis's ticker while no point has a label
    QPointer<QCPTextElement> FTitle;              // owned by the plot layout
    QSet<QCPAxis*> FFixedAxes;
    bool FReplotQueued = false;
    bool FRepaintDeferred = false;
};

}  // namespace tarnel::gui

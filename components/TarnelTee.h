// Library values on charts: DrawValues puts a real vector, an X-Y pair of real vectors or a real matrix into a series
// the caller owns; DrawIt shows a vector or a matrix in one shared modal chart window.
//
// DrawValues of a vector plots the point (i·Step, Y[i]) for every element that is neither NaN nor infinite: the
// index goes to the series' keys (the vertical axis for a series whose key axis is vertical), the value to its
// values. With DownSample set and a vector longer than three times the chart's width in pixels, the vector is first
// reduced to (maximum, minimum) pairs with PixelDownSample at that width, so 1000 values on a chart 100 pixels wide
// become 668 (334 groups of 3) and the step grows to Length·Step / 668; 299 values are plotted whole. The series is
// filled at once and the chart repainted at once.
//
// TMtxGridSeries paints a real matrix as a grid of coloured cells, one per element: column j centred on key j and
// row i on value Rows − 1 − i, so row 0 is at the top. The colours come from a two-colour ramp over the matrix's
// range (palRange), from its palette of value-colour pairs indexed by position (palRangeCustom) or by value
// (palCustom). The legend lists the palette from the highest value down.
#pragma once

#include <QImage>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

#include "components/TarnelEdit.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"
#include "platform/gui/Chart.h"
#include "platform/gui/SeriesEditor.h"

class QDialog;

namespace tarnel {

namespace msg {
// The chart routines' own texts.
inline constexpr const char* kDrawYComplex = "Y.Complex";
inline constexpr const char* kDrawXYComplex = "X.Complex or Y.Complex";
inline constexpr const char* kDrawXYLength = "X.Length or Y.Length";
inline constexpr const char* kDrawAComplex = "A.Complex";
}  // namespace msg

enum TGridPaletteStyle { palRange, palRangeCustom, palCustom };

struct TPaletteEntry {
    double Value;
    gui::TColor Color;
};
using TPaletteList = std::vector<TPaletteEntry>;

class TPaletteLegendItem;

// The cells' colour by style, for a cell value v (the same rules paint the image and the tests' numpy script):
// - palRange: t = (v − RangeMin)·InvRange; each component Round(t·d) + c0 of the ramp from BottomColor (c0) to
//   TopColor (c0 + d), Round to the nearest with ties to even, saturated at 0 and 255. A constant matrix
//   (InvRange 0) is all TopColor.
// - palRangeCustom: with L entries, index = trunc((v − first)·L/span), span = last − first Value (L/span is L when
//   span is 0), limited to 0 .. L − 1; the colour of that entry.
// - palCustom: the colour of the first entry whose Value >= v, the last entry's when none is.
// NaN cells are transparent; +∞ takes TopColor (palRange) or the last entry's colour, −∞ BottomColor or the first
// entry's; an empty palette paints BottomColor.
class TMtxGridSeries : public QCPAbstractPlottable, public gui::TEditedSeries {
    Q_OBJECT
public:
    // On the plot of the two axes, which owns the series (the top axis may be its key axis). TopColor white,
    // BottomColor navy ($800000), 10 palette steps, palRange, the general number format in the legend.
    TMtxGridSeries(QCPAxis* KeyAxis, QCPAxis* ValueAxis);
    ~TMtxGridSeries() override;

    // ---- Properties: a setter acts only on a change and queues a repaint ------------------------------------
    gui::TColor TopColor() const { return FTopColor; }
    void SetTopColor(gui::TColor Value);
    gui::TColor BottomColor() const { return FBottomColor; }
    void SetBottomColor(gui::TColor Value);
    // Fewer than 2 steps are taken as 2.
    int PaletteSteps() const { return FPaletteSteps; }
    void SetPaletteSteps(int Value);
    // A change empties the palette (and the legend); the next repaint builds it over the matrix's range.
    TGridPaletteStyle PaletteStyle() const { return FPaletteStyle; }
    void SetPaletteStyle(TGridPaletteStyle Value);
    // The legend's number format (FormatSample); empty: the general format.
    QString ValueFormat() const { return FValueFormat; }
    void SetValueFormat(const QString& Value);

    // The matrix shown (not owned; it must outlive the series or be replaced). Every call recomputes the range
    // (least and greatest finite element), under palRange the palette, and the image: the same matrix with new
    // values is a refresh. A complex matrix raises "A.Complex"; nullptr shows nothing.
    TMtx* Matrix() const { return FMatrix; }
    void SetMatrix(TMtx* Value);

    // The palette itself: a caller fills it for palCustom (taking it this way marks image and legend for rebuilding
    // at the next repaint).
    TPaletteList& Palette();
    const TPaletteList& Palette() const { return FPalette; }

    // The ramp from Bottom to Top.
    void SetRamp(gui::TColor Bottom, gui::TColor Top);
    // With a matrix set: the range AMin .. AMax (InvRange 0 when it is empty).
    void SetRange(double AMin, double AMax);
    double RangeMin() const { return FRangeMin; }
    double RangeMax() const { return FRangeMax; }
    double InvRange() const { return FInvRange; }
    // SetRange and SetRamp; when the range is not empty, Steps (fewer than 2 taken as 2) entries from AMin to AMax
    // with the ramp's colours, which become PaletteSteps.
    void BuildPalette(gui::TColor Bottom, gui::TColor Top, double AMin, double AMax, int Steps);
    // With a matrix set: BuildPalette over its range with the series' colours and steps.
    void UpdatePalette();

    // The extents: 0 .. Cols − 1 and 0 .. Rows − 1 (0 .. 0 without a matrix).
    double MinXValue() const { return 0; }
    double MaxXValue() const;
    double MinYValue() const { return 0; }
    double MaxYValue() const;

    QString EditorClassName() const override { return QStringLiteral("TMtxGridSeriesEditor"); }

    // The element under the plot widget's pixel (X, Y), as the index Row·Cols + Col; −1 off the cells or without a
    // matrix.
    int CellAt(int X, int Y) const;
    int CellAt(const QPointF& Pixel) const;

    // The legend: one item per palette entry, the highest value first; an index beyond the count gives "".
    int LegendCount() const { return static_cast<int>(FPalette.size()); }
    QString LegendText(int Index) const;
    gui::TColor LegendColor(int Index) const;

    // The cells' image (Cols × Rows, row 0 on top), rebuilt when something changed.
    const QImage& Image();

    // ---- QCustomPlot's plottable --------------------------------------------------------------------------
    // Inside the cells: 0.99 of the plot's selection tolerance (QCustomPlot's contract for area plottables).
    double selectTest(const QPointF& pos, bool onlySelectable, QVariant* details = nullptr) const override;
    QCPRange getKeyRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth) const override;
    QCPRange getValueRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth,
                           const QCPRange& inKeyRange = QCPRange()) const override;

protected:
    void draw(QCPPainter* painter) override;
    void drawLegendIcon(QCPPainter* painter, const QRectF& rect) const override;

private:
    bool HasCells() const;
    void Changed();              // the image is stale: queue a repaint
    void PrepareForReplot();     // before every repaint: an empty palette is built
    void RebuildLegend();
    void RebuildImage();
    void ColourRow(const double* Values, int Count, QRgb* Line) const;

    gui::TColor FTopColor = 0xFFFFFF;
    gui::TColor FBottomColor = 0x800000;
    int FPaletteSteps = 10;
    TGridPaletteStyle FPaletteStyle = palRange;
    QString FValueFormat;
    TMtx* FMatrix = nullptr;
    TPaletteList FPalette;
    int FR0 = 0, FG0 = 0, FB0 = 0, FdR = 0, FdG = 0, FdB = 0;  // the ramp
    double FRangeMin = 0, FRangeMax = 0, FRange = 0, FInvRange = 0;
    QImage FImage;
    bool FImageValid = false;
    bool FPaletteTouched = false;  // Palette() was taken for writing
    QPointer<QCPLegend> FLegend;
    std::vector<QPointer<TPaletteLegendItem>> FLegendItems;
};

// Raises "A.Complex" for a complex A; otherwise the series shows A (SetMatrix).
void DrawValues(TMtx& A, TMtxGridSeries& Series);

// Raises "Y.Complex" for a complex Y, before the series changes.
void DrawValues(const TVec& Y, gui::TChartSeries& Series, bool DownSample, double Step);
// The points (X[i], Y[i]) where neither is NaN or infinite. Raises "X.Complex or Y.Complex", then
// "X.Length or Y.Length", before the series changes. Down-sampling (measured on X.Length) groups the pairs by
// their x positions (the unequally spaced form), which needs X's last element beyond its first.
void DrawValues(const TVec& X, const TVec& Y, gui::TChartSeries& Series, bool DownSample);

// The shared window: caption Caption ("Vector values" when empty), the index on the bottom axis (fixed to 0 ..
// Length − 1, a tick per index where they fit), the values (magnitudes of a complex V) on the automatic left axis,
// no legend; shown modally. The series goes when the window closes.
void DrawIt(const TVec& V, const QString& Caption, bool DownSample);

// The shared window: caption Caption ("Matrix values" when empty), columns on the bottom and rows on the left axis
// (fixed to 0 .. Cols − 1 and 0 .. Rows − 1, a tick per index where they fit, titled "Index"), the chart titled
// "Value" (a real A) or "Magnitude" (the magnitudes of a complex A), the palette in the legend; shown modally.
void DrawIt(TMtx& A, const QString& Caption);

// The shared window and its chart (made on first use, deleted when the application quits); for tests.
QDialog& DrawItWindow();
gui::TChart& DrawItChart();
// Shows the window modally. The standard procedure runs its exec(); tests install one that looks at the window
// and returns (an empty procedure restores the standard one).
using TDrawItExecProc = std::function<void(QDialog& Window)>;
void SetDrawItExec(TDrawItExecProc Proc);

// The value viewer's "Chart" entries: "Series in rows" (enabled for more than one column) and "Series in cols"
// (more than one row). They chart the viewer's working matrix, which holds every committed edit, with DrawIt: a
// single row or column as a vector, more of them as the matrix (transposed for columns).
class TTeeItemDrawRows : public TMtxEditTeeItem {
public:
    explicit TTeeItemDrawRows(TTarnelEditForm& Form);
    void Execute() override;
    void Update() override;
};

class TTeeItemDrawCols : public TMtxEditTeeItem {
public:
    explicit TTeeItemDrawCols(TTarnelEditForm& Form);
    void Execute() override;
    void Update() override;
};

// The module's start-up: the viewer's entries (rows, then columns) and TMtxGridSeries in the series gallery ("Mtx
// Grid", group "Corvath", number 1). Shut-down removes them in the reverse order.
void RegisterTarnelTee();
void UnregisterTarnelTee();

}  // namespace tarnel

// TMtxGridSeries (TarnelTee.h): the matrix as an image of Cols × Rows pixels, one per element, coloured a scan line
// at a time and drawn unsmoothed over the cells' rectangle, (−0.5, Rows − 0.5) to (Cols − 0.5, −0.5) in plot
// coordinates. The image is rebuilt only after a change (matrix, range, ramp, palette or style), on the next
// repaint. Rounding never depends on the floating-point unit's rounding mode: ties go to even by explicit tests.
#include <QPainter>
#include <algorithm>
#include <cmath>
#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "components/TarnelTee.h"
#include "core/Dovi387.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Guard.h"
#include "platform/wavrin/Parallel.h"

namespace tarnel {

// One palette entry in the legend: its colour in the icon's box, its value as text.
class TPaletteLegendItem : public QCPAbstractLegendItem {
public:
    TPaletteLegendItem(QCPLegend* Parent, const QColor& Colour, const QString& Text)
        : QCPAbstractLegendItem(Parent), FColour(Colour), FText(Text)
    {
    }

protected:
    void draw(QCPPainter* painter) override
    {
        painter->setFont(mSelected ? mSelectedFont : mFont);
        painter->setPen(mSelected ? mSelectedTextColor : mTextColor);
        const QSize icon = mParentLegend->iconSize();
        const QRect text = painter->fontMetrics().boundingRect(0, 0, 0, icon.height(), Qt::TextDontClip, FText);
        const int height = std::max(text.height(), icon.height());
        painter->drawText(mRect.x() + icon.width() + mParentLegend->iconTextPadding(), mRect.y(), text.width(), height,
                          Qt::TextDontClip, FText);
        const QRect box(mRect.topLeft(), icon);
        painter->fillRect(box, FColour);
        painter->setPen(mParentLegend->iconBorderPen());
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(box);
    }

    QSize minimumOuterSizeHint() const override
    {
        const QSize icon = mParentLegend->iconSize();
        const QRect text = QFontMetrics(mFont).boundingRect(0, 0, 0, icon.height(), Qt::TextDontClip, FText);
        return QSize(icon.width() + mParentLegend->iconTextPadding() + text.width() + mMargins.left() + mMargins.right(),
                     std::max(text.height(), icon.height()) + mMargins.top() + mMargins.bottom());
    }

private:
    QColor FColour;
    QString FText;
};

namespace {

constexpr QRgb kTransparent = 0;

// The nearest integer to x, ties to even; |x| <= 2^30. The conversion truncates whatever the rounding mode is.
int RoundEven(double x)
{
    const int i = static_cast<int>(x);
    const double f = x - i;  // exact
    if (f > 0.5 || (f == 0.5 && (i & 1))) return i + 1;
    if (f < -0.5 || (f == -0.5 && (i & 1))) return i - 1;
    return i;
}

// Round(x) + c0 saturated at 0 and 255, for x = t·d (d an integer other than 0), in any rounding mode.
inline int Saturated(double x, int c0)
{
    x = x > 512 ? 512 : (x < -512 ? -512 : x);  // beyond any byte either way (infinities too)
    const int r = RoundEven(x) + c0;
    return r < 0 ? 0 : (r > 255 ? 255 : r);
}

// A ramp component: Round(t·d) + c0, saturated.
int Component(double t, int d, int c0)
{
    return d == 0 ? c0 : Saturated(t * d, c0);
}

QRgb Rgb(gui::TColor c)
{
    return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

gui::TColor Bgr(int r, int g, int b)
{
    return static_cast<gui::TColor>(r) | static_cast<gui::TColor>(g) << 8 | static_cast<gui::TColor>(b) << 16;
}

#if defined(__SSE2__)
// The ramp's colours of Values[0 .. Count) four at a time, as Exact gives them one by one (inv not 0): the same
// t = (v - lo)·inv, each component Round(t·d) + c0 limited to 0 .. 255, rounded to nearest (ties to even) whatever
// the unit's mode. A group holding a value whose t is not finite (NaN, an infinity, an overflow) goes through Exact.
// Returns how many values it coloured (a multiple of four).
[[gnu::target("avx2")]] inline __m256d RampComponent(__m256d t, __m256d d, __m256d c0, __m256d zero, __m256d top)
{
    const __m256d x = _mm256_round_pd(_mm256_mul_pd(t, d), _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    return _mm256_min_pd(_mm256_max_pd(_mm256_add_pd(x, c0), zero), top);
}

template <class F>
[[gnu::target("avx2")]] int RampAvx2(const double* Values, int Count, QRgb* Line, double lo, double inv, const double d[3],
                                     const double c0[3], const F& Exact)
{
    const __m256d vlo = _mm256_set1_pd(lo), vinv = _mm256_set1_pd(inv), zero = _mm256_setzero_pd();
    const __m256d top = _mm256_set1_pd(255);
    const __m256d dr = _mm256_set1_pd(d[0]), dg = _mm256_set1_pd(d[1]), db = _mm256_set1_pd(d[2]);
    const __m256d cr = _mm256_set1_pd(c0[0]), cg = _mm256_set1_pd(c0[1]), cb = _mm256_set1_pd(c0[2]);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int j = 0;
    for (; j + 4 <= Count; j += 4) {
        const __m256d t = _mm256_mul_pd(_mm256_sub_pd(_mm256_loadu_pd(Values + j), vlo), vinv);
        if (_mm256_movemask_pd(_mm256_cmp_pd(_mm256_sub_pd(t, t), zero, _CMP_EQ_OQ)) != 0xF) {
            for (int k = j; k < j + 4; ++k) Line[k] = Exact(Values[k]);
            continue;
        }
        // r·2^16 + g·2^8 + b is exact in a Double and below 2^24.
        const __m256d rgb = _mm256_add_pd(
            _mm256_add_pd(_mm256_mul_pd(RampComponent(t, dr, cr, zero, top), _mm256_set1_pd(65536)),
                          _mm256_mul_pd(RampComponent(t, dg, cg, zero, top), _mm256_set1_pd(256))),
            RampComponent(t, db, cb, zero, top));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Line + j), _mm_or_si128(_mm256_cvttpd_epi32(rgb), alpha));
    }
    return j;
}

// The least and greatest of Values[0 .. N), NaN left out (a NaN operand first gives the other back), eight at a time
// in two running pairs; an infinity among the values shows as an infinite extreme.
[[gnu::target("avx2")]] void RangeIgnoringNanAvx2(const double* Values, std::int64_t N, double& Lo, double& Hi)
{
    __m256d lo0 = _mm256_set1_pd(INFINITY), lo1 = lo0, hi0 = _mm256_set1_pd(-INFINITY), hi1 = hi0;
    std::int64_t i = 0;
    for (; i + 8 <= N; i += 8) {
        const __m256d a = _mm256_loadu_pd(Values + i), b = _mm256_loadu_pd(Values + i + 4);
        lo0 = _mm256_min_pd(a, lo0), hi0 = _mm256_max_pd(a, hi0);
        lo1 = _mm256_min_pd(b, lo1), hi1 = _mm256_max_pd(b, hi1);
    }
    const __m256d lo = _mm256_min_pd(lo0, lo1), hi = _mm256_max_pd(hi0, hi1);
    double l[4], h[4];
    _mm256_storeu_pd(l, lo), _mm256_storeu_pd(h, hi);
    for (; i < N; ++i) l[0] = Values[i] < l[0] ? Values[i] : l[0], h[0] = Values[i] > h[0] ? Values[i] : h[0];
    Lo = std::min({l[0], l[1], l[2], l[3]}), Hi = std::max({h[0], h[1], h[2], h[3]});
}
#endif

// The least and greatest finite value of v[0 .. n) (+∞ and −∞ when there is none), in four running extremes side by
// side (independent chains).
void FiniteExtremes(const double* v, std::int64_t n, double& Lo, double& Hi)
{
    double l0 = INFINITY, l1 = INFINITY, l2 = INFINITY, l3 = INFINITY;
    double h0 = -INFINITY, h1 = -INFINITY, h2 = -INFINITY, h3 = -INFINITY;
    const auto Take = [](double x, double& l, double& h) {
        if (x - x != 0) return;  // NaN and the infinities
        l = x < l ? x : l;
        h = x > h ? x : h;
    };
    std::int64_t i = 0;
#if defined(__SSE2__)
    {
        // Four elements a step in two pairs of registers, without branches: a NaN or an infinity stands in as the
        // infinity that leaves the extreme alone (x - x is 0 only for a finite x).
        const __m128d zero = _mm_setzero_pd(), up = _mm_set1_pd(INFINITY), down = _mm_set1_pd(-INFINITY);
        __m128d lo0 = up, lo1 = up, hi0 = down, hi1 = down;
        const auto TakeTwo = [&](__m128d x, __m128d& lo, __m128d& hi) {
            const __m128d finite = _mm_cmpeq_pd(_mm_sub_pd(x, x), zero);
            const __m128d kept = _mm_and_pd(finite, x);
            lo = _mm_min_pd(_mm_or_pd(kept, _mm_andnot_pd(finite, up)), lo);
            hi = _mm_max_pd(_mm_or_pd(kept, _mm_andnot_pd(finite, down)), hi);
        };
        for (; i + 4 <= n; i += 4) {
            TakeTwo(_mm_loadu_pd(v + i), lo0, hi0);
            TakeTwo(_mm_loadu_pd(v + i + 2), lo1, hi1);
        }
        const __m128d lo = _mm_min_pd(lo0, lo1), hi = _mm_max_pd(hi0, hi1);
        Take(_mm_cvtsd_f64(lo), l0, h0), Take(_mm_cvtsd_f64(_mm_unpackhi_pd(lo, lo)), l1, h1);
        Take(_mm_cvtsd_f64(hi), l2, h2), Take(_mm_cvtsd_f64(_mm_unpackhi_pd(hi, hi)), l3, h3);
    }
#endif
    for (; i + 4 <= n; i += 4) {
        Take(v[i], l0, h0);
        Take(v[i + 1], l1, h1);
        Take(v[i + 2], l2, h2);
        Take(v[i + 3], l3, h3);
    }
    for (; i < n; ++i) Take(v[i], l0, h0);
    Take(l1, l0, h0), Take(l2, l0, h0), Take(l3, l0, h0);
    Take(h1, l0, h0), Take(h2, l0, h0), Take(h3, l0, h0);
    Lo = l0;
    Hi = h0;
}

// The least and greatest finite element; false when there is none. Equal values are the same number except zeros,
// so a zero extreme takes the sign of the first zero, as a single pass from the front keeps it.
bool FiniteRange(const TMtx& A, double& Min, double& Max)
{
    const double* v = A.Values();
    const std::int64_t n = std::int64_t{A.Rows()} * A.Cols();
    double lo = INFINITY, hi = -INFINITY;
    bool done = false;
#if defined(__SSE2__)
    // Most matrices hold no infinity: one plain pass then; the careful one only when an extreme came out infinite
    // (an infinity among the elements, or nothing but NaN).
    if (parallel::HasAvx2()) {
        RangeIgnoringNanAvx2(v, n, lo, hi);
        done = lo - lo == 0 && hi - hi == 0;
    }
#endif
    if (!done) FiniteExtremes(v, n, lo, hi);
    if (!(lo <= hi)) {
        Min = Max = 0;
        return false;
    }
    if (lo == 0 || hi == 0) {
        const double zero = *std::find(v, v + n, 0.0);
        if (lo == 0) lo = zero;
        if (hi == 0) hi = zero;
    }
    Min = lo;
    Max = hi;
    return true;
}

// QCustomPlot's rule for ranges asked for in one sign domain (as its colour map applies it).
QCPRange InDomain(QCPRange r, QCP::SignDomain domain, bool& found)
{
    found = true;
    if (domain == QCP::sdPositive) {
        if (r.lower <= 0 && r.upper > 0) {
            r.lower = r.upper * 1e-3;
        } else if (r.lower <= 0 && r.upper <= 0) {
            found = false;
        }
    } else if (domain == QCP::sdNegative) {
        if (r.upper >= 0 && r.lower < 0) {
            r.upper = r.lower * 1e-3;
        } else if (r.upper >= 0 && r.lower >= 0) {
            found = false;
        }
    }
    return r;
}

}  // namespace

TMtxGridSeries::TMtxGridSeries(QCPAxis* KeyAxis, QCPAxis* ValueAxis) : QCPAbstractPlottable(KeyAxis, ValueAxis)
{
    removeFromLegend();  // the palette's own items stand in for the plottable's single one
    SetRamp(FBottomColor, FTopColor);
    connect(mParentPlot, &QCustomPlot::beforeReplot, this, [this] { gui::Guarded([this] { PrepareForReplot(); }); });
}

TMtxGridSeries::~TMtxGridSeries()
{
    for (auto& item : FLegendItems)
        if (item && FLegend) FLegend->removeItem(item);
}

void TMtxGridSeries::SetTopColor(gui::TColor Value)
{
    if (Value == FTopColor) return;
    FTopColor = Value;
    SetRamp(FBottomColor, FTopColor);
    if (FPaletteStyle == palRange) UpdatePalette();
    Changed();
}

void TMtxGridSeries::SetBottomColor(gui::TColor Value)
{
    if (Value == FBottomColor) return;
    FBottomColor = Value;
    SetRamp(FBottomColor, FTopColor);
    if (FPaletteStyle == palRange) UpdatePalette();
    Changed();
}

void TMtxGridSeries::SetPaletteSteps(int Value)
{
    Value = std::max(Value, 2);
    if (Value == FPaletteSteps) return;
    FPaletteSteps = Value;
    if (FPaletteStyle == palRange) UpdatePalette();
    Changed();
}

void TMtxGridSeries::SetPaletteStyle(TGridPaletteStyle Value)
{
    if (Value == FPaletteStyle) return;
    FPaletteStyle = Value;
    FPalette.clear();
    RebuildLegend();
    Changed();
}

void TMtxGridSeries::SetValueFormat(const QString& Value)
{
    if (Value == FValueFormat) return;
    FValueFormat = Value;
    RebuildLegend();
    if (mParentPlot) mParentPlot->replot(QCustomPlot::rpQueuedReplot);
}

void TMtxGridSeries::SetMatrix(TMtx* Value)
{
    if (Value && Value->Complex()) ERaise(msg::kDrawAComplex);
    FMatrix = Value;
    double lo, hi;
    if (HasCells() && FiniteRange(*FMatrix, lo, hi)) {
        SetRange(lo, hi);
        if (FPaletteStyle == palRange) BuildPalette(FBottomColor, FTopColor, lo, hi, FPaletteSteps);
    }
    Changed();
}

TPaletteList& TMtxGridSeries::Palette()
{
    FPaletteTouched = true;
    FImageValid = false;
    return FPalette;
}

void TMtxGridSeries::SetRamp(gui::TColor Bottom, gui::TColor Top)
{
    FR0 = Bottom & 0xFF;
    FG0 = (Bottom >> 8) & 0xFF;
    FB0 = (Bottom >> 16) & 0xFF;
    FdR = static_cast<int>(Top & 0xFF) - FR0;
    FdG = static_cast<int>((Top >> 8) & 0xFF) - FG0;
    FdB = static_cast<int>((Top >> 16) & 0xFF) - FB0;
    FImageValid = false;
}

void TMtxGridSeries::SetRange(double AMin, double AMax)
{
    if (!FMatrix) return;
    FRangeMin = AMin;
    FRangeMax = AMax;
    FRange = AMax - AMin;
    FInvRange = FRange != 0 && std::isfinite(FRange) ? 1 / FRange : 0;
    FImageValid = false;
}

void TMtxGridSeries::BuildPalette(gui::TColor Bottom, gui::TColor Top, double AMin, double AMax, int Steps)
{
    SetRange(AMin, AMax);
    SetRamp(Bottom, Top);
    if (!(FRange > 0)) return;
    Steps = std::max(Steps, 2);
    FPaletteSteps = Steps;
    const double g = 1.0 / (Steps - 1);
    FPalette.resize(static_cast<std::size_t>(Steps));
    for (int i = 0; i < Steps; ++i) {
        const double t = i * g;
        FPalette[i].Value = i * (FRange * g) + FRangeMin;
        FPalette[i].Color = Bgr(Component(t, FdR, FR0), Component(t, FdG, FG0), Component(t, FdB, FB0));
    }
    RebuildLegend();
}

void TMtxGridSeries::UpdatePalette()
{
    double lo, hi;
    if (HasCells() && FiniteRange(*FMatrix, lo, hi)) BuildPalette(FBottomColor, FTopColor, lo, hi, FPaletteSteps);
}

double TMtxGridSeries::MaxXValue() const
{
    return HasCells() ? FMatrix->Cols() - 1 : 0;
}

double TMtxGridSeries::MaxYValue() const
{
    return HasCells() ? FMatrix->Rows() - 1 : 0;
}

int TMtxGridSeries::CellAt(int X, int Y) const
{
    return CellAt(QPointF(X, Y));
}

int TMtxGridSeries::CellAt(const QPointF& Pixel) const
{
    if (!HasCells() || !mKeyAxis || !mValueAxis) return -1;
    double key, value;
    pixelsToCoords(Pixel, key, value);
    const double c = std::floor(key + 0.5), r = std::floor(value + 0.5);
    const int rows = FMatrix->Rows(), cols = FMatrix->Cols();
    const double row = rows - r - 1;
    if (!(c >= 0 && c < cols && row >= 0 && row < rows)) return -1;  // NaN falls out here too
    return static_cast<int>(c) + cols * static_cast<int>(row);
}

QString TMtxGridSeries::LegendText(int Index) const
{
    const int n = LegendCount();
    if (Index < 0 || Index >= n) return QString();
    return QString::fromStdString(FormatSample(FValueFormat.toStdString(), FPalette[n - 1 - Index].Value));
}

gui::TColor TMtxGridSeries::LegendColor(int Index) const
{
    const int n = LegendCount();
    return Index >= 0 && Index < n ? FPalette[n - 1 - Index].Color : 0;
}

const QImage& TMtxGridSeries::Image()
{
    if (!HasCells()) {
        FImage = QImage();
    } else if (!FImageValid) {
        RebuildImage();
    }
    return FImage;
}

double TMtxGridSeries::selectTest(const QPointF& pos, bool onlySelectable, QVariant* details) const
{
    Q_UNUSED(details)
    if ((onlySelectable && mSelectable == QCP::stNone) || !mKeyAxis || !mValueAxis) return -1;
    const bool inside = mKeyAxis->axisRect()->rect().contains(pos.toPoint());
    if (!inside && !mParentPlot->interactions().testFlag(QCP::iSelectPlottablesBeyondAxisRect)) return -1;
    return CellAt(pos) >= 0 ? mParentPlot->selectionTolerance() * 0.99 : -1;
}

QCPRange TMtxGridSeries::getKeyRange(bool& foundRange, QCP::SignDomain inSignDomain) const
{
    if (!HasCells()) {
        foundRange = false;
        return QCPRange();
    }
    return InDomain(QCPRange(-0.5, FMatrix->Cols() - 0.5), inSignDomain, foundRange);
}

QCPRange TMtxGridSeries::getValueRange(bool& foundRange, QCP::SignDomain inSignDomain, const QCPRange& inKeyRange) const
{
    Q_UNUSED(inKeyRange)
    if (!HasCells()) {
        foundRange = false;
        return QCPRange();
    }
    return InDomain(QCPRange(-0.5, FMatrix->Rows() - 0.5), inSignDomain, foundRange);
}

void TMtxGridSeries::draw(QCPPainter* painter)
{
    if (!HasCells() || !mKeyAxis || !mValueAxis) return;
    if (!FImageValid) RebuildImage();
    const int rows = FMatrix->Rows(), cols = FMatrix->Cols();
    // The image's first pixel (row 0, column 0) and its last, in widget pixels.
    const QPointF first = coordsToPixels(-0.5, rows - 0.5), last = coordsToPixels(cols - 0.5, -0.5);
    QImage image = FImage;
    if (mKeyAxis->orientation() == Qt::Vertical) {
        // Keys run down or up the widget: the image's columns become its rows.
        QImage t(FImage.height(), FImage.width(), FImage.format());
        for (int y = 0; y < t.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(t.scanLine(y));
            for (int x = 0; x < t.width(); ++x) line[x] = FImage.pixel(y, x);
        }
        image = t;
    }
    const bool mirrorX = first.x() > last.x(), mirrorY = first.y() > last.y();
    if (mirrorX || mirrorY) image = image.mirrored(mirrorX, mirrorY);
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->drawImage(QRectF(first, last).normalized(), image);
    painter->restore();
}

void TMtxGridSeries::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const
{
    QLinearGradient ramp(rect.bottomLeft(), rect.topLeft());
    ramp.setColorAt(0, gui::ColorFromBGR(FBottomColor));
    ramp.setColorAt(1, gui::ColorFromBGR(FTopColor));
    painter->fillRect(rect, ramp);
}

bool TMtxGridSeries::HasCells() const
{
    return FMatrix && FMatrix->Rows() > 0 && FMatrix->Cols() > 0 && !FMatrix->Complex();
}

void TMtxGridSeries::Changed()
{
    FImageValid = false;
    if (mParentPlot) mParentPlot->replot(QCustomPlot::rpQueuedReplot);
}

void TMtxGridSeries::PrepareForReplot()
{
    if (FPaletteTouched) {
        FPaletteTouched = false;
        RebuildLegend();
    }
    if (HasCells() && FPalette.empty()) UpdatePalette();
}

void TMtxGridSeries::RebuildLegend()
{
    for (auto& item : FLegendItems)
        if (item && FLegend) FLegend->removeItem(item);
    FLegendItems.clear();
    FLegend = mParentPlot ? mParentPlot->legend : nullptr;
    if (!FLegend) return;
    for (int i = 0, n = LegendCount(); i < n; ++i) {
        auto* item = new TPaletteLegendItem(FLegend, gui::ColorFromBGR(LegendColor(i)), LegendText(i));
        FLegend->addItem(item);
        FLegendItems.emplace_back(item);
    }
    FImageValid = false;
}

void TMtxGridSeries::RebuildImage()
{
    const int rows = FMatrix->Rows(), cols = FMatrix->Cols();
    if (FImage.width() != cols || FImage.height() != rows || FImage.format() != QImage::Format_ARGB32_Premultiplied)
        FImage = QImage(cols, rows, QImage::Format_ARGB32_Premultiplied);
    const double* values = FMatrix->Values();
    uchar* bits = FImage.bits();  // detached once, here: the rows below are written in place
    const qsizetype stride = FImage.bytesPerLine();
    const auto RunRows = [&](int r0, int r1) {
        for (int r = r0; r < r1; ++r)
            ColourRow(values + std::int64_t{r} * cols, cols, reinterpret_cast<QRgb*>(bits + r * stride));
    };
    // Large images are shared out by rows among the library's worker threads (each row is one thread's).
    const int parts = static_cast<int>(std::min<std::int64_t>(
        {parallel::WorkerCount() + 1, rows, std::max<std::int64_t>(1, std::int64_t{rows} * cols / (4 * parallel::kMinPiece))}));
    const int per = (rows + parts - 1) / parts;
    if (parts <= 1 || !parallel::RunParts(parts, [&](int p) { RunRows(std::min(rows, p * per), std::min(rows, (p + 1) * per)); }))
        RunRows(0, rows);
    FImageValid = true;
}

void TMtxGridSeries::ColourRow(const double* Values, int Count, QRgb* Line) const
{
    const QRgb bottom = Rgb(FBottomColor), top = Rgb(FTopColor);
    const std::size_t L = FPalette.size();
    if (FPaletteStyle == palRange) {
        const double lo = FRangeMin, inv = FInvRange;
        // One value as the ramp gives it: NaN transparent, the infinities the end colours, a range of width 0 (inv
        // 0) the top colour; else Round(t·d) + c0 per component, saturated, t the value's position in the range.
        const auto Exact = [&](double v) -> QRgb {
            if (std::isnan(v)) return kTransparent;
            if (v == INFINITY || (inv == 0 && v != -INFINITY)) return top;
            if (v == -INFINITY) return bottom;
            const double t = (v - lo) * inv;
            const int r = FdR ? Saturated(t * FdR, FR0) : FR0;
            const int g = FdG ? Saturated(t * FdG, FG0) : FG0;
            const int b = FdB ? Saturated(t * FdB, FB0) : FB0;
            return 0xFF000000u | static_cast<QRgb>(r) << 16 | static_cast<QRgb>(g) << 8 | static_cast<QRgb>(b);
        };
        int j = 0;
#if defined(__SSE2__)
        if (inv != 0 && parallel::HasAvx2()) {
            const double d[3] = {double(FdR), double(FdG), double(FdB)}, c0[3] = {double(FR0), double(FG0), double(FB0)};
            j = RampAvx2(Values, Count, Line, lo, inv, d, c0, Exact);
        }
#endif
        for (; j < Count; ++j) Line[j] = Exact(Values[j]);
        return;
    }
    if (L == 0) {  // an empty palette
        for (int j = 0; j < Count; ++j) Line[j] = std::isnan(Values[j]) ? kTransparent : bottom;
        return;
    }
    QRgb lut[256];
    std::vector<QRgb> big;
    QRgb* colours = L <= 256 ? lut : (big.resize(L), big.data());
    for (std::size_t k = 0; k < L; ++k) colours[k] = Rgb(FPalette[k].Color);
    if (FPaletteStyle == palRangeCustom) {
        const double first = FPalette.front().Value, span = FPalette.back().Value - first;
        const double scale = span != 0 ? L / span : static_cast<double>(L);
        const double highest = static_cast<double>(L - 1);
        for (int j = 0; j < Count; ++j) {
            const double v = Values[j];
            if (std::isnan(v)) {
                Line[j] = kTransparent;
            } else if (v == INFINITY || v == -INFINITY) {
                Line[j] = v > 0 ? colours[L - 1] : colours[0];
            } else {
                double x = (v - first) * scale;
                // Limited in floating point before the conversion truncates toward zero.
                x = x >= 0 ? (x > highest ? highest : x) : 0;
                Line[j] = colours[static_cast<int>(x)];
            }
        }
        return;
    }
    // palCustom
    for (int j = 0; j < Count; ++j) {
        const double v = Values[j];
        if (std::isnan(v)) {
            Line[j] = kTransparent;
            continue;
        }
        std::size_t k = 0;
        while (k + 1 < L && !(FPalette[k].Value >= v)) ++k;
        Line[j] = colours[k];
    }
}

}  // namespace tarnel

#include "components/TarnelTee.h"

#include <QCoreApplication>
#include <QAction>
#include <QDialog>
#include <QPointer>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

#include "core/Dovi387.h"
#include "core/TempGuard.h"
#include "platform/gui/SeriesEditor.h"
#include "platform/gui/Settings.h"

namespace tarnel {

namespace {

// ---- Plotting -----------------------------------------------------------------------------------------------

// The series' points from Count values: (X(i), Y(i)) for every i where neither is NaN or infinite; one bulk fill,
// then an immediate repaint.
template <class FX, class FY>
void Plot(gui::TChartSeries& Series, int Count, FX X, FY Y)
{
    Series.FillPoints(Count, [&](int i, double& x, double& y) {
        x = X(i), y = Y(i);
        return std::isfinite(x) && std::isfinite(y);  // IsNanInf, inline
    });
    Series.Chart()->Repaint();
}

// The width a vector is reduced to before plotting on the series' chart (three values per pixel), or 0 when
// Length values are plotted whole.
int ReducedWidth(const gui::TChartSeries& Series, bool DownSample, int Length)
{
    if (!DownSample || !Series.Chart()) return 0;
    const std::int64_t width = 3 * std::int64_t{Series.Chart()->width()};
    return width > 0 && Length > width ? static_cast<int>(width) : 0;
}

void PlotVector(const TVecs& Y, gui::TChartSeries& Series, double Step)
{
    Series.FillSteps(Y.Values(), Y.Length(), Step);
    Series.Chart()->Repaint();
}

}  // namespace

void DrawValues(const TVec& Y, gui::TChartSeries& Series, bool DownSample, double Step)
{
    if (Y.Complex()) ERaise(msg::kDrawYComplex);
    ClearFPU();
    if (const int width = ReducedWidth(Series, DownSample, Y.Length())) {
        detail::TVecTemp reduced;
        reduced->PixelDownSample(width, Y, nullptr, nullptr, true);
        PlotVector(*reduced, Series, Y.Length() * Step / reduced->Length());
    } else {
        PlotVector(Y, Series, Step);
    }
}

void DrawValues(const TVec& X, const TVec& Y, gui::TChartSeries& Series, bool DownSample)
{
    if (X.Complex() || Y.Complex()) ERaise(msg::kDrawXYComplex);
    if (X.Length() != Y.Length()) ERaise(msg::kDrawXYLength);
    const auto PlotPairs = [&Series](const TVecs& A, const TVecs& B) {
        const double* x = A.Values();
        const double* y = B.Values();
        Plot(Series, A.Length(), [x](int i) { return x[i]; }, [y](int i) { return y[i]; });
    };
    if (const int width = ReducedWidth(Series, DownSample, X.Length())) {
        detail::TVecTemp rx, ry;
        ry->PixelDownSample1(width, Y, 0, Y.Length(), &X, rx.get());
        PlotPairs(*rx, *ry);
    } else {
        PlotPairs(X, Y);
    }
}

void DrawValues(TMtx& A, TMtxGridSeries& Series)
{
    if (A.Complex()) ERaise(msg::kDrawAComplex);
    ClearFPU();
    Series.SetMatrix(&A);
}

// ---- The shared window ----------------------------------------------------------------------------------------

namespace {

constexpr const char* kDrawItSection = "DrawIt";

struct TDrawItWindow {
    QPointer<QDialog> Window;
    gui::TChart* Chart = nullptr;  // owned by the window
};

TDrawItWindow& Shared()
{
    static TDrawItWindow shared;
    return shared;
}

TDrawItExecProc& ExecProc()
{
    static TDrawItExecProc proc;
    return proc;
}

// Makes the window on first use: no owner, a chart filling it, its place and size from the section "DrawIt" (the
// window's own where a value is missing). Nothing writes them.
TDrawItWindow& Window()
{
    TDrawItWindow& w = Shared();
    if (w.Window) return w;
    auto* window = new QDialog(nullptr);
    window->resize(640, 480);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    w.Chart = new gui::TChart(window);
    w.Chart->setObjectName(QStringLiteral("DrawItChart"));
    layout->addWidget(w.Chart);
    gui::TRegistry reg;
    if (reg.OpenKeyReadOnly(QString::fromLatin1(MtxRegistryKey) + '\\' + QString::fromLatin1(kDrawItSection))) {
        const QRect g = window->geometry();
        window->setGeometry(reg.ReadInteger(QStringLiteral("Left"), g.x()), reg.ReadInteger(QStringLiteral("Top"), g.y()),
                            reg.ReadInteger(QStringLiteral("Width"), g.width()),
                            reg.ReadInteger(QStringLiteral("Height"), g.height()));
    }
    // A window kept in a static must not outlive the application.
    if (QCoreApplication* app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, window, &QObject::deleteLater);
    w.Window = window;
    return w;
}

// Every use: the caption, no title, a white chart filling the window, no series.
gui::TChart& Prepare(const QString& Caption)
{
    TDrawItWindow& w = Window();
    w.Window->setWindowTitle(Caption);
    gui::TChart& chart = *w.Chart;
    chart.SetTitle(QString());
    chart.setGeometry(w.Window->rect());  // the layout's place already before the window shows
    chart.SetGradientEndColor(Qt::white);
    chart.FreeAllSeries();
    return chart;
}

// Shows the window modally; whatever happens, the series go with it (they may show pooled values).
void ShowModal(gui::TChart& Chart)
{
    struct TFree {
        gui::TChart& Chart;
        ~TFree() { Chart.FreeAllSeries(); }
    } free{Chart};
    QDialog& window = *Shared().Window;
    if (ExecProc()) {
        ExecProc()(window);
    } else {
        window.exec();
    }
}

// Fixed range Lo .. Hi on Axis; a single position gets half a unit on either side (QCustomPlot refuses an empty
// range and would keep the old one).
void FixAxis(gui::TChart& Chart, QCPAxis* Axis, double Lo, double Hi)
{
    Chart.SetAxisAutomatic(Axis, false);
    if (!(Hi > Lo)) Lo -= 0.5, Hi = Lo + 1;
    Axis->setRange(Lo, Hi);
}

}  // namespace

QDialog& DrawItWindow()
{
    return *Window().Window;
}

gui::TChart& DrawItChart()
{
    return *Window().Chart;
}

void SetDrawItExec(TDrawItExecProc Proc)
{
    ExecProc() = std::move(Proc);
}

void DrawIt(TMtx& A, const QString& Caption)
{
    gui::TChart& chart = Prepare(Caption.isEmpty() ? QStringLiteral("Matrix values") : Caption);
    for (auto [axis, count] : {std::pair{chart.xAxis, A.Cols()}, std::pair{chart.yAxis, A.Rows()}}) {
        axis->setLabel(QStringLiteral("Index"));
        chart.SetAxisIncrement(axis, 1);
        FixAxis(chart, axis, 0, count - 1);
    }
    chart.legend->setVisible(true);
    auto* series = new TMtxGridSeries(chart.xAxis, chart.yAxis);  // the chart owns it
    detail::TMtxTemp mag;
    if (A.Complex()) {
        chart.SetTitle(QStringLiteral("Magnitude"));
        mag->Mag(A);
        DrawValues(*mag, *series);
    } else {
        chart.SetTitle(QStringLiteral("Value"));
        DrawValues(A, *series);
    }
    ShowModal(chart);
}

void DrawIt(const TVec& V, const QString& Caption, bool DownSample)
{
    gui::TChart& chart = Prepare(Caption.isEmpty() ? QStringLiteral("Vector values") : Caption);
    chart.legend->setVisible(false);
    FixAxis(chart, chart.xAxis, 0, V.Length() - 1);
    chart.SetAxisIncrement(chart.xAxis, 1);
    chart.xAxis->setLabel(QStringLiteral("Index"));
    chart.SetAxisAutomatic(chart.yAxis, true);
    chart.SetAxisIncrement(chart.yAxis, 0);
    chart.yAxis->setLabel(V.Complex() ? QStringLiteral("Magnitude") : QStringLiteral("Value"));
    gui::TLineSeries* series = chart.AddFastLineSeries(QString(), Qt::red);
    detail::TVecTemp mag;
    if (V.Complex()) {
        mag->Mag(V);
        DrawValues(*mag, *series, DownSample, 1);
    } else {
        DrawValues(V, *series, DownSample, 1);
    }
    ShowModal(chart);
}

// ---- The viewer's entries --------------------------------------------------------------------------------------

namespace {

// One row or column of the working matrix as a vector (its kind kept), more of them as the matrix, transposed when
// Transpose: into DrawIt.
void DrawWorkingMatrix(const TMtx& Values, bool Single, bool Transpose)
{
    if (Single) {
        detail::TVecTemp v;
        v->CopyMtx(Values);
        DrawIt(*v, QString(), false);
        return;
    }
    detail::TMtxTemp a;
    if (Transpose) {
        a->Transp(Values);
    } else {
        a->Copy(Values);
    }
    DrawIt(*a, QString());
}

}  // namespace

TTeeItemDrawRows::TTeeItemDrawRows(TTarnelEditForm& Form) : TMtxEditTeeItem(Form)
{
    Action()->setText(QStringLiteral("Series in rows"));
}

void TTeeItemDrawRows::Update()
{
    Action()->setEnabled(Form().Values().Cols() > 1);
}

void TTeeItemDrawRows::Execute()
{
    DrawWorkingMatrix(Form().Values(), Form().Values().Rows() == 1, false);
}

TTeeItemDrawCols::TTeeItemDrawCols(TTarnelEditForm& Form) : TMtxEditTeeItem(Form)
{
    Action()->setText(QStringLiteral("Series in cols"));
}

void TTeeItemDrawCols::Update()
{
    Action()->setEnabled(Form().Values().Rows() > 1);
}

void TTeeItemDrawCols::Execute()
{
    DrawWorkingMatrix(Form().Values(), Form().Values().Cols() == 1, true);
}

// ---- Start-up and shut-down ---------------------------------------------------------------------------------

namespace {
const QString kGridSeriesClass = QStringLiteral("TMtxGridSeries");
}

void RegisterTarnelTee()
{
    RegisterTeeItem(&TeeItemClass<TTeeItemDrawRows>);
    RegisterTeeItem(&TeeItemClass<TTeeItemDrawCols>);
    gui::RegisterTeeSeries({kGridSeriesClass, QStringLiteral("Mtx Grid"), QStringLiteral("Corvath"), 1});
}

void UnregisterTarnelTee()
{
    gui::UnRegisterTeeSeries(kGridSeriesClass);
    UnregisterTeeItem(&TeeItemClass<TTeeItemDrawCols>);
    UnregisterTeeItem(&TeeItemClass<TTeeItemDrawRows>);
}

}  // namespace tarnel

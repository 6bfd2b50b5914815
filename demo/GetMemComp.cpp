#include "demo/GetMemComp.h"

#include <QHBoxLayout>
#include <algorithm>
#include <cstdlib>
#include <new>

#include "core/TempGuard.h"
#include "demo/DemoFiles.h"
#include "demo/TimingLoops.h"
#include "demo/TimingRun.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/TickCount.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

TGetMemC::TGetMemC(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    // The page times SliceIt on the one pooled vector it leaves (not restored).
    SetVecCacheSize(1, 2000);
    LoadPageText(RichEdit1, QStringLiteral("Texts/GetMemTXT.rtf"));

    auto* middle = new QHBoxLayout(Panel3);
    middle->setContentsMargins(4, 4, 4, 4);
    Chart1 = new TChart(Panel3);
    Chart1->setObjectName("Chart1");
    Chart1->SetGradientEndColor(ColorFromBGR(0xC08000));
    Chart1->SetLegendOnTop();
    Chart1->xAxis->setLabel(QStringLiteral("Length"));
    Chart1->yAxis->setLabel(QStringLiteral("time [ms] (50.000 executions)"));
    GetMemSeries = Chart1->AddLineSeries(QStringLiteral("GetMem"), Qt::red, TPointerStyle::psNone);
    SliceItSeries = Chart1->AddLineSeries(QStringLiteral("SliceIt"), Qt::green, TPointerStyle::psNone);
    SetLengthSeries = Chart1->AddLineSeries(QStringLiteral("SetLength"), Qt::yellow, TPointerStyle::psNone);
    middle->addWidget(Chart1, 1);

    const TDimensionPanel dim = BuildDimensionPanel(Panel2, QStringLiteral("Length : "), {16, 2000, 500, 100});
    lblDim = dim.lblDim;
    TrackBar1 = dim.TrackBar1;
    btnCompare = dim.btnCompare;

    connect(TrackBar1, &QSlider::valueChanged, this, Guard([this] { TrackBarChange(); }));
    connect(btnCompare, &QPushButton::clicked, this, Guard([this] { DoComparison(); }));
    TrackBarChange();
    FHelp.Apply(HelpNumber(10230));
}

void TGetMemC::bthHelpClick()
{
    FHelp.HelpClick();
}

void TGetMemC::TrackBarChange()
{
    FMaxLength = TrackBar1->value();
    lblDim->setText(QString::number(FMaxLength));
}

std::vector<int> TGetMemC::Lengths(int MaxLength)
{
    std::vector<int> x;
    for (int v = 4; v <= MaxLength; v += 40) x.push_back(v);
    return x;
}

std::uint32_t TGetMemC::TimeGetMem(int m, int Passes)
{
    const std::size_t bytes = static_cast<std::size_t>(std::max(m, 0)) * sizeof(double);
    const std::uint32_t start = GetTickCount();
    for (int r = 0; r < Passes; ++r) {
        void* p[4];
        for (void*& b : p) {
            b = std::malloc(bytes);
            if (!b && bytes) throw std::bad_alloc();
            KeepObservable(b);  // the allocation is seen, so the compiler keeps the malloc/free pair
        }
        for (void* b : p) std::free(b);
    }
    return TickDiff(start, GetTickCount());
}

std::uint32_t TGetMemC::TimeSliceIt(int m, int Passes)
{
    m = std::max(m, 0);
    const std::uint32_t start = GetTickCount();
    for (int r = 0; r < Passes; ++r) {
        detail::TVecTemp v;
        double *p1, *p2, *p3, *p4;
        v->SliceIt(m, m, m, m, p1, p2, p3, p4);
        KeepObservable(p1);
        KeepObservable(p4);
    }
    return TickDiff(start, GetTickCount());
}

std::uint32_t TGetMemC::TimeSetLength(int m, int Passes)
{
    const std::size_t n = static_cast<std::size_t>(std::max(m, 0));
    std::vector<double> a[4];
    const std::uint32_t start = GetTickCount();
    for (int r = 0; r < Passes; ++r) {
        for (auto& v : a) {
            v.resize(n);
            KeepObservable(v.data());
        }
        for (auto& v : a) std::vector<double>().swap(v);
    }
    return TickDiff(start, GetTickCount());
}

void TGetMemC::DoComparison()
{
    if (FRunning) return;
    GetMemSeries->Clear();
    SliceItSeries->Clear();
    SetLengthSeries->Clear();
    TTimingRun run(this, FRunning);
    double top = 0;
    for (const int x : Lengths(FMaxLength)) {
        const int m = x / 4;
        const double t[3] = {double(TimeGetMem(m)), double(TimeSliceIt(m)), double(TimeSetLength(m))};
        GetMemSeries->AddXY(x, t[0]);
        SliceItSeries->AddXY(x, t[1]);
        SetLengthSeries->AddXY(x, t[2]);
        // The left axis runs from 0 to the largest time so far (its minimum is not fitted to the data).
        top = std::max({top, t[0], t[1], t[2]});
        Chart1->yAxis->setRange(0, std::max(top, 1.0));
        if (!run.ShowProgress()) return;  // the page is gone
    }
}

}  // namespace paxtor

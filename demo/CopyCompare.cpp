#include "demo/CopyCompare.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "demo/DemoFiles.h"
#include "demo/TimingLoops.h"
#include "demo/TimingRun.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/TickCount.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

TCopyComp::TCopyComp(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    // The page times the library without its matrix pool, and leaves the pool so.
    SetMtxCacheSize(0, 0);
    LoadPageText(RichEdit1, QStringLiteral("Texts/CopyCompTXT.rtf"));
    FSource.SetConditionCheck(false);
    FDest.SetConditionCheck(false);

    auto* middle = new QHBoxLayout(Panel3);
    middle->setContentsMargins(4, 4, 4, 4);
    Chart1 = new TChart(Panel3);
    Chart1->setObjectName("Chart1");
    Chart1->SetGradientEndColor(ColorFromBGR(0xC08000));
    Chart1->SetLegendOnTop();
    LoopSeries = Chart1->AddBarSeries(QStringLiteral("C++"), Qt::red);
    TarnelSeries = Chart1->AddBarSeries(QStringLiteral("Tarnel"), Qt::green);
    middle->addWidget(Chart1, 1);

    const TDimensionPanel dim = BuildDimensionPanel(Panel2, QStringLiteral("Matrix dimension : "), {2, 1300, 30, 100});
    lblDim = dim.lblDim;
    TrackBar1 = dim.TrackBar1;
    btnCompare = dim.btnCompare;

    connect(TrackBar1, &QSlider::valueChanged, this, Guard([this] { TrackBarChange(); }));
    connect(btnCompare, &QPushButton::clicked, this, Guard([this] { DoComparison(); }));
    TrackBarChange();
    FHelp.Apply(HelpNumber(4370));  // help last (demo/PageContract.h)
}

void TCopyComp::TrackBarChange()
{
    FDim = TrackBar1->value();
    lblDim->setText(QString::number(FDim));
}

int TCopyComp::Repetitions(int n)
{
    if (n < 15) return 50000;
    if (n < 30) return 5000;
    if (n < 50) return 2000;
    if (n < 80) return 1000;
    if (n < 200) return 500;
    if (n < 500) return 50;
    return 1;
}

QString TCopyComp::TimeAxisTitle(int Count)
{
    return QStringLiteral("time [ms] (") + QString::number(Count) + QStringLiteral(" executions)");
}

void TCopyComp::PrepareSource(int n)
{
    n = std::max(n, 0);
    FSource.Size(n, n, false);
    const TRowsView<double> s = FSource.Values2D();
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) s[i][j] = static_cast<double>(i) * n + j;
}

std::uint32_t TCopyComp::TimeLoopCopy(int Repeat)
{
    const std::uint32_t start = GetTickCount();
    for (int r = 0; r < Repeat; ++r) {
        LoopCopy(FSource, FDest);
        KeepObservable(FDest.Values());
    }
    return TickDiff(start, GetTickCount());
}

std::uint32_t TCopyComp::TimeLibraryCopy(int Repeat)
{
    const std::uint32_t start = GetTickCount();
    for (int r = 0; r < Repeat; ++r) FDest.Copy(FSource);
    return TickDiff(start, GetTickCount());
}

std::uint32_t TCopyComp::TimeLoopTransp(int Repeat)
{
    const std::uint32_t start = GetTickCount();
    for (int r = 0; r < Repeat; ++r) {
        LoopTransp(FSource, FDest);
        KeepObservable(FDest.Values());
    }
    return TickDiff(start, GetTickCount());
}

std::uint32_t TCopyComp::TimeLibraryTransp(int Repeat)
{
    const std::uint32_t start = GetTickCount();
    for (int r = 0; r < Repeat; ++r) FDest.Transp(FSource);
    return TickDiff(start, GetTickCount());
}

void TCopyComp::DoComparison()
{
    if (FRunning) return;
    LoopSeries->Clear();
    TarnelSeries->Clear();
    const int n = FDim;
    PrepareSource(n);
    const int repeat = Repetitions(n);
    Chart1->yAxis->setLabel(TimeAxisTitle(repeat));

    TTimingRun run(this, FRunning);
    LoopSeries->AddXY(0, TimeLoopCopy(repeat), QStringLiteral("Copy operation"));
    TarnelSeries->AddXY(0, TimeLibraryCopy(repeat));
    if (!run.ShowProgress()) return;
    LoopSeries->AddXY(1, TimeLoopTransp(repeat), QStringLiteral("Transp operation"));
    TarnelSeries->AddXY(1, TimeLibraryTransp(repeat));
}

}  // namespace paxtor

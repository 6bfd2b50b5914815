#include "demo/PixelDownS.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "components/TarnelTee.h"
#include "demo/DemoFiles.h"
#include "demo/TimingRun.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/Random.h"
#include "platform/rtl/TickCount.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

namespace {

// A 2-D chart without legend, titled, with one red fast-line series.
TChart* WalkChart(QWidget* parent, const QString& title, const char* name, TLineSeries*& series)
{
    auto* chart = new TChart(parent);
    chart->setObjectName(QString::fromLatin1(name));
    chart->SetGradientEndColor(ColorFromBGR(0xC08000));
    chart->legend->setVisible(false);
    chart->SetTitle(title);
    chart->SetAxisAutomatic(chart->xAxis, false);  // each plot fixes the bottom axis's limits
    series = chart->AddLineSeries(QStringLiteral("Series1"), Qt::red, TPointerStyle::psNone);
    series->setPen(QPen(Qt::red, 1));
    return chart;
}

QLabel* TimeLabel(QWidget* parent, QGridLayout* grid, int row, const QString& caption, const char* name)
{
    grid->addWidget(new QLabel(caption, parent), row, 0);
    auto* value = new QLabel(QStringLiteral("0000"), parent);
    value->setObjectName(QString::fromLatin1(name));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setMinimumWidth(70);
    grid->addWidget(value, row, 1);
    return value;
}

}  // namespace

TDownS::TDownS(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/DownS.rtf"));

    // The two charts share the panel's height equally, so the top one keeps half of it on every resize.
    auto* middle = new QVBoxLayout(Panel3);
    middle->setContentsMargins(4, 4, 4, 4);
    middle->setSpacing(0);
    ChartNormal = WalkChart(Panel3, QStringLiteral("Normal"), "ChartNormal", SeriesNormal);
    ChartDown = WalkChart(Panel3, QStringLiteral("Using PixelDownSample"), "ChartDown", SeriesDown);
    middle->addWidget(ChartNormal, 1);
    middle->addWidget(ChartDown, 1);

    const TDimensionPanel dim =
        BuildDimensionPanel(Panel2, QStringLiteral("Number of points : "), {100000, 1000000, 600000, 100000});
    lblPoints = dim.lblDim;
    TrackBar1 = dim.TrackBar1;
    btnCompare = dim.btnCompare;
    TrackBar1->setSingleStep(10000);
    TrackBar1->setPageStep(100000);
    // The two times between the track bar and the button.
    auto* times = new QGridLayout;
    lblNormalTime =
        TimeLabel(Panel2, times, 0, QStringLiteral("Time needed for \"normal\" plotting : "), "lblNormalTime");
    lblDownTime = TimeLabel(Panel2, times, 1, QStringLiteral("Time needed for optimized plotting : "), "lblDownTime");
    auto* bottom = static_cast<QBoxLayout*>(Panel2->layout());
    bottom->insertLayout(bottom->indexOf(btnCompare), times);
    bottom->insertSpacing(bottom->indexOf(btnCompare), 16);

    connect(TrackBar1, &QSlider::valueChanged, this, Guard([this] { TrackBarChange(); }));
    connect(btnCompare, &QPushButton::clicked, this, Guard([this] { DoComparison(); }));
    TrackBarChange();
    FHelp.Apply(HelpNumber(10820));
}

void TDownS::TrackBarChange()
{
    FPoints = TrackBar1->value();
    lblPoints->setText(QString::number(FPoints));
}

void TDownS::BuildWalk(int n)
{
    FWalk.Size(n, false);
    double* v = FWalk.Values();
    int x = Random(1000);
    for (int i = 0; i < n; ++i) {
        x += Random(1000) - 500;
        v[i] = x;
    }
}

std::uint32_t TDownS::PlotNormal()
{
    const std::uint32_t start = GetTickCount();
    ChartNormal->xAxis->setRange(0, FWalk.Length());
    SeriesNormal->Clear();
    DrawValues(FWalk, *SeriesNormal, false, 1);
    return TickDiff(start, GetTickCount());
}

std::uint32_t TDownS::PlotDownSampled()
{
    const std::uint32_t start = GetTickCount();
    ChartDown->xAxis->setRange(0, FWalk.Length() - 1);
    SeriesDown->Clear();
    DrawValues(FWalk, *SeriesDown, true, 1);
    return TickDiff(start, GetTickCount());
}

void TDownS::DoComparison()
{
    if (FRunning) return;
    BuildWalk(FPoints);
    TTimingRun run(this, FRunning);
    lblNormalTime->setText(QString::number(PlotNormal()) + QStringLiteral(" ms"));
    if (!run.ShowProgress()) return;  // the page is gone
    lblDownTime->setText(QString::number(PlotDownSampled()) + QStringLiteral(" ms"));
}

}  // namespace paxtor

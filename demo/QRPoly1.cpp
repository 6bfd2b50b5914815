#include "demo/QRPoly1.h"

#include "components/TarnelTee.h"
#include "demo/ChartPagePanel.h"
#include "demo/DemoFiles.h"
#include "demo/TimingRun.h"
#include "demo/ValueViewerSeam.h"
#include "numerics/Polynoms.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/Random.h"
#include "platform/rtl/TickCount.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

namespace {

constexpr int kPoints = 1000;

}  // namespace

TLQRPoly::TLQRPoly(QWidget* owner) : TBasicForm1(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/PolyFit.rtf"));

    Chart1->SetLegendOnTop();
    auto* original = Chart1->AddLineSeries(QStringLiteral("Original data"), Qt::red, TPointerStyle::psCircle);
    original->setLineStyle(QCPGraph::lsNone);
    original->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, Qt::red, Qt::red, 4));
    Series1 = original;
    Series2 = Chart1->AddLineSeries(QStringLiteral("Fitted polynomial"), Qt::green, TPointerStyle::psNone);
    auto* upper = Chart1->AddLineSeries(QStringLiteral("YCalc + Delta"), Qt::black, TPointerStyle::psNone);
    auto* lower = Chart1->AddLineSeries(QStringLiteral("YCalc - Delta"), Qt::black, TPointerStyle::psNone);
    upper->setPen(QPen(Qt::black, 1, Qt::DotLine));
    lower->setPen(QPen(Qt::black, 1, Qt::DotLine));
    Series3 = upper;
    Series4 = lower;

    TChartPagePanel bottom(this);
    TrackBar1 =
        bottom.AddTrackBar(QStringLiteral("Polynomial order"), lblOrder, 1, 100, 20, 10, "TrackBar1", "lblOrder");
    TrackBar2 = bottom.AddTrackBar(QStringLiteral("Factor"), lblFactor, 1, 20, 5, 1, "TrackBar2", "lblFactor");
    lblTime = bottom.AddCaptioned(QStringLiteral("Time needed : "), new QLabel(QStringLiteral("XXXX"), Panel2));
    lblTime->setObjectName("lblTime");
    btnFit = bottom.AddButton(QStringLiteral("Fit"), "btnFit");
    btnCoeff = bottom.AddButton(QStringLiteral("View coefficients"), "btnCoeff");
    btnDelta = bottom.AddButton(QStringLiteral("Delta"), "btnDelta");
    // Nothing to show before the first fit.
    DisableViews();

    TrackBarChange();
    connect(TrackBar1, &QSlider::valueChanged, this, Guard([this] { TrackBarChange(); }));
    connect(TrackBar2, &QSlider::valueChanged, this, Guard([this] { TrackBarChange(); }));
    connect(btnFit, &QPushButton::clicked, this, Guard([this] { Fit(); }));
    connect(btnCoeff, &QPushButton::clicked, this, Guard([this] { ViewCoefficients(); }));
    connect(btnDelta, &QPushButton::clicked, this, Guard([this] { ViewDelta(); }));

    // The data: abscissae 0 .. 999 and a walk from a random start, each step -500 .. 499.
    FX->Size(kPoints, false);
    FY->Size(*FX);
    FX->Ramp(0, 1);
    Randomize();
    double x = Random(1000);
    double* walk = FY->Values();
    for (int i = 0; i < kPoints; ++i) {
        x = x + Random(1000) - 500;
        walk[i] = x;
    }
    DrawValues(*FY, *Series1, false, 1);
    FHelp.Apply(HelpNumber(1422));
}

void TLQRPoly::DisableViews()
{
    btnCoeff->setEnabled(false);
    btnDelta->setEnabled(false);
}

void TLQRPoly::TrackBarChange()
{
    FOrder = TrackBar1->value();
    FM = TrackBar2->value();
    lblOrder->setText(QString::number(FOrder));
    lblFactor->setText(QString::number(FM));
    DisableViews();
}

void TLQRPoly::CheckDownSampleClick()
{
    TBasicForm1::CheckDownSampleClick();
    DisableViews();
}

void TLQRPoly::DrawFitted(TChartSeries& Series, const TVec& Values)
{
    if (!FDownSample) {
        DrawValues(Values, Series, false, 1.0 / FM);
        return;
    }
    // Pairs (maximum, minimum) of groups of Trunc(Length/width) samples: each point stands for half a group, so the
    // reduced curve lies on the data (1/M apart when the reduction kept every sample).
    const int width = std::max(1, Chart1->width());
    detail::TVecTemp reduced;
    reduced->PixelDownSample(width, Values, nullptr, nullptr, true);
    const int group = Trunc(static_cast<double>(Values.Length()) / width);
    const double spacing = group <= 2 ? 1.0 / FM : group / (2.0 * FM);
    DrawValues(*reduced, Series, false, spacing);
}

void TLQRPoly::FitAndEvaluate()
{
    PolyFit(*FX, *FY, FOrder, *FCoeff, *FR, FDegFreedom, FL2R);
    FXI->Size(kPoints * FM, false);
    FXI->Ramp(0, 1.0 / FM);
    PolyEval(*FXI, *FCoeff, *FR, FDegFreedom, FL2R, *FYCalc, *FDelta);
}

void TLQRPoly::Fit()
{
    bool running = false;
    TTimingRun run(this, running);  // the hourglass until the fit is drawn
    // A fit that fails leaves nothing to view: the buttons come back with the next fit that succeeds.
    DisableViews();
    const std::uint32_t start = GetTickCount();
    FitAndEvaluate();
    lblTime->setText(QStringLiteral("%1 ms").arg(TickDiff(start, GetTickCount())));

    TVec& yCalc = *FYCalc;
    DrawFitted(*Series2, yCalc);
    yCalc.Sub(*FDelta);
    DrawFitted(*Series4, yCalc);
    yCalc.Add(*FDelta, 2);
    DrawFitted(*Series3, yCalc);

    btnCoeff->setEnabled(true);
    btnDelta->setEnabled(true);
}

void TLQRPoly::ViewCoefficients()
{
    ShowValuesModal(*FCoeff, QStringLiteral("Coefficients"));
}

void TLQRPoly::ViewDelta()
{
    ShowValuesModal(*FDelta, QStringLiteral("Delta"));
}

}  // namespace paxtor

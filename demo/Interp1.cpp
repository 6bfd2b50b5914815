#include "demo/Interp1.h"

#include "components/TarnelTee.h"
#include "core/TempGuard.h"
#include "demo/ChartPagePanel.h"
#include "demo/DemoFiles.h"
#include "demo/TimingRun.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/Random.h"
#include "platform/rtl/TickCount.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

TInterpolating1::TInterpolating1(QWidget* owner) : TBasicForm1(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/InterPTXT.rtf"));

    Chart1->SetLegendOnTop();
    auto* original = Chart1->AddLineSeries(QStringLiteral("Original data"), Qt::red, TPointerStyle::psCircle);
    original->setLineStyle(QCPGraph::lsNone);  // points only
    original->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, Qt::red, Qt::red, 4));
    Series1 = original;
    auto* fitted = Chart1->AddLineSeries(QStringLiteral("Fitted values"), Qt::green, TPointerStyle::psNone);
    fitted->setPen(QPen(Qt::green, 1));  // a fast line: thin, no points
    Series2 = fitted;

    // The bottom panel: "DownSample" first, then the page's controls.
    TChartPagePanel bottom(this);
    TrackBar1 = bottom.AddTrackBar(QStringLiteral("Data points : "), lblPoints, 60, 100000, 5000, 5000, "TrackBar1",
                                   "lblPoints");
    TrackBar2 = bottom.AddTrackBar(QStringLiteral("Factor : "), lblFactor, 1, 10, 8, 1, "TrackBar2", "lblFactor");
    ComboBox1 = bottom.AddCaptioned(QStringLiteral("Interpolation : "), new QComboBox(Panel2));
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->addItems({QStringLiteral("Linear"), QStringLiteral("Cubic")});
    lblTime = bottom.AddCaptioned(QStringLiteral("Time needed : "), new QLabel(QStringLiteral("XXXXXXX"), Panel2));
    lblTime->setObjectName("lblTime");
    btnRecreate = bottom.AddButton(QStringLiteral("Recreate"), "btnRecreate");

    // Creating the page: "Cubic", both track bars, the "DownSample" box as it stands, help 1370.
    ComboBox1->setCurrentIndex(1);
    ComboChange(1);
    TrackBarChange();
    TBasicForm1::CheckDownSampleClick();
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, Guard([this](int i) { ComboChange(i); }));
    connect(TrackBar1, &QSlider::valueChanged, this, Guard([this] { TrackBarChange(); }));
    connect(TrackBar2, &QSlider::valueChanged, this, Guard([this] { TrackBarChange(); }));
    connect(btnRecreate, &QPushButton::clicked, this, Guard([this] { Recreate(); }));
    FHelp.Apply(HelpNumber(1370));
}

void TInterpolating1::TrackBarChange()
{
    FN = TrackBar1->value();
    FM = TrackBar2->value();
    lblPoints->setText(QString::number(FN));
    lblFactor->setText(QString::number(FM));
}

void TInterpolating1::ComboChange(int Item)
{
    if (Item == 0) FType = IntLinear;
    if (Item == 1) FType = IntCubic;
}

void TInterpolating1::InterpolateFiner(const TVec& X, const TVec& Y, int M, TInterpolationType Type, TVec& XI, TVec& YI)
{
    XI.Size(Y.Length() * M, false);
    XI.Ramp(0, 1.0 / M);
    Interpolate(X, Y, XI, YI, Type, true);
}

void TInterpolating1::Recreate()
{
    if (FRunning) return;
    detail::TVecTemp x, y, xi, yi;  // back to the pool on every way out
    const int n = FN, m = FM;
    Chart1->SetAxisAutomatic(Chart1->xAxis, true);
    Chart1->SetAxisAutomatic(Chart1->yAxis, true);
    x->Size(n, false);
    y->Size(n, false);
    TTimingRun run(this, FRunning);  // the hourglass until the run ends

    // The walk: from 1000, each step 250 - (0 .. 499).
    Randomize();
    double* walk = y->Values();
    walk[0] = 1000;
    for (int i = 1; i < n; ++i) walk[i] = walk[i - 1] + 250 - Random(500);
    x->Ramp(0, 1);
    DrawValues(*y, *Series1, FDownSample, 1);

    const std::uint32_t start = GetTickCount();
    InterpolateFiner(*x, *y, m, FType, *xi, *yi);
    const std::uint32_t elapsed = TickDiff(start, GetTickCount());
    lblTime->setText(QStringLiteral("Solved in %1 ms").arg(elapsed));

    DrawValues(*yi, *Series2, FDownSample, 1.0 / m);
}

}  // namespace paxtor

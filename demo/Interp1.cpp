#include "demo/Interp1.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "core/TempGuard.h"
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

// A track bar under its caption and the value it shows.
QSlider* AddTrackBar(QWidget* panel, QHBoxLayout* row, const QString& caption, QLabel*& value, int Min, int Max,
                     int Start, int Tick)
{
    auto* box = new QVBoxLayout;
    auto* captions = new QHBoxLayout;
    captions->addWidget(new QLabel(caption, panel));
    value = new QLabel(panel);
    captions->addWidget(value, 1);
    box->addLayout(captions);
    auto* bar = new QSlider(Qt::Horizontal, panel);
    bar->setRange(Min, Max);
    bar->setValue(Start);
    bar->setTickInterval(Tick);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setMinimumWidth(170);
    box->addWidget(bar);
    row->addLayout(box);
    return bar;
}

}  // namespace

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
    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(8, 2, 8, 2);
    bottom->addWidget(CheckDownSample, 0, Qt::AlignTop);
    bottom->addSpacing(12);
    TrackBar1 = AddTrackBar(Panel2, bottom, QStringLiteral("Data points : "), lblPoints, 60, 100000, 5000, 5000);
    TrackBar1->setObjectName("TrackBar1");
    lblPoints->setObjectName("lblPoints");
    bottom->addSpacing(12);
    TrackBar2 = AddTrackBar(Panel2, bottom, QStringLiteral("Factor : "), lblFactor, 1, 10, 8, 1);
    TrackBar2->setObjectName("TrackBar2");
    lblFactor->setObjectName("lblFactor");
    bottom->addSpacing(12);
    auto* typeBox = new QVBoxLayout;
    typeBox->addWidget(new QLabel(QStringLiteral("Interpolation : "), Panel2));
    ComboBox1 = new QComboBox(Panel2);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->addItems({QStringLiteral("Linear"), QStringLiteral("Cubic")});
    typeBox->addWidget(ComboBox1);
    bottom->addLayout(typeBox);
    bottom->addSpacing(12);
    auto* timeBox = new QVBoxLayout;
    timeBox->addWidget(new QLabel(QStringLiteral("Time needed : "), Panel2));
    lblTime = new QLabel(QStringLiteral("XXXXXXX"), Panel2);
    lblTime->setObjectName("lblTime");
    timeBox->addWidget(lblTime);
    bottom->addLayout(timeBox);
    bottom->addStretch(1);
    btnRecreate = new QPushButton(QStringLiteral("Recreate"), Panel2);
    btnRecreate->setObjectName("btnRecreate");
    bottom->addWidget(btnRecreate);

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

void TInterpolating1::InterpolateFiner(const TVec& X, const TVec& Y, int M, TInterpolationType Type, TVec& XI,
                                       TVec& YI)
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

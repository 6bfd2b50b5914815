#include "demo/YuleLevinson.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "components/TarnelTee.h"
#include "demo/DemoFiles.h"
#include "demo/TimingRun.h"
#include "numerics/Toeplitz.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/TickCount.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

namespace {

constexpr int kFactors[5] = {1, 2, 4, 8, 16};

// A caption and a value label over a track bar.
QSlider* TrackBar(QWidget* parent, QBoxLayout* into, const QString& caption, QLabel*& value, const char* name)
{
    auto* box = new QVBoxLayout;
    auto* captions = new QHBoxLayout;
    captions->addWidget(new QLabel(caption, parent));
    value = new QLabel(parent);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    captions->addWidget(value, 1);
    box->addLayout(captions);
    auto* bar = new QSlider(Qt::Horizontal, parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setMinimumWidth(120);
    box->addWidget(bar);
    into->addLayout(box);
    return bar;
}

}  // namespace

TYuleLev::TYuleLev(QWidget* owner) : TBasicForm1(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/Levinson.rtf"));

    // The chart: no title, the legend on top, no right or top axis.
    Chart1->SetLegendOnTop();
    Chart1->xAxis2->setVisible(false);
    Chart1->yAxis2->setVisible(false);
    ARSeries = Chart1->AddLineSeries(QStringLiteral("Yule Walker AR"), QColor(128, 128, 0), TPointerStyle::psNone);
    FFTSeries = Chart1->AddLineSeries(QStringLiteral("FFT"), Qt::red, TPointerStyle::psNone);
    ARSeries->setPen(QPen(QColor(128, 128, 0), 1));
    FFTSeries->setPen(QPen(Qt::red, 1));

    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(8, 2, 8, 2);
    bottom->addWidget(CheckDownSample);
    TrackBar1 = TrackBar(Panel2, bottom, QStringLiteral("CorrLength : "), lblCorrLength, "TrackBar1");
    TrackBar1->setRange(50, 8000);
    TrackBar1->setValue(2000);
    TrackBar1->setTickInterval(500);
    TrackBar2 = TrackBar(Panel2, bottom, QStringLiteral("LPCCoef : "), lblLPCCoef, "TrackBar2");
    TrackBar2->setMinimum(1);

    RadioGroup1 = new QGroupBox(QStringLiteral("Zero padding"), Panel2);
    RadioGroup1->setObjectName("RadioGroup1");
    auto* items = new QGridLayout(RadioGroup1);
    items->setContentsMargins(4, 0, 4, 0);
    items->setVerticalSpacing(0);
    RadioItems = new QButtonGroup(RadioGroup1);
    for (int i = 0; i < 5; ++i) {
        auto* item = new QRadioButton(QString::number(kFactors[i]) + QStringLiteral("x"), RadioGroup1);
        RadioItems->addButton(item, i);
        items->addWidget(item, i % 3, i / 3);  // two columns, filled top to bottom
    }
    bottom->addWidget(RadioGroup1);

    auto* times = new QVBoxLayout;
    lblTimeLYW = new QLabel(QStringLiteral("Time for LYW"), Panel2);
    lblTimeLYW->setObjectName("lblTimeLYW");
    lblTimeFFT = new QLabel(QStringLiteral("Time for FFT"), Panel2);
    lblTimeFFT->setObjectName("lblTimeFFT");
    for (QLabel* l : {lblTimeLYW, lblTimeFFT}) {
        l->setMinimumWidth(150);
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // a long time never widens the window
    }
    times->addWidget(lblTimeLYW);
    times->addWidget(lblTimeFFT);
    bottom->addLayout(times, 1);
    btnCalc = new QPushButton(QStringLiteral("Calculate spectrum"), Panel2);
    btnCalc->setObjectName("btnCalc");
    bottom->addWidget(btnCalc, 0, Qt::AlignVCenter);

    connect(TrackBar1, &QSlider::valueChanged, this, Guard([this] { CorrLengthChange(); }));
    connect(TrackBar2, &QSlider::valueChanged, this, Guard([this] { LPCCoefChange(); }));
    connect(RadioItems, &QButtonGroup::idClicked, this, Guard([this](int id) { SelectPadding(id); }));
    connect(btnCalc, &QPushButton::clicked, this, Guard([this] { CalculateSpectrum(); }));

    SelectPadding(2);
    CorrLengthChange();
    FHelp.Apply(HelpNumber(1700));
}

void TYuleLev::SelectPadding(int Item)
{
    if (Item < 0 || Item > 4) return;
    if (RadioItems->checkedId() != Item) RadioItems->button(Item)->setChecked(true);
    FFactor = kFactors[Item];
}

void TYuleLev::CorrLengthChange()
{
    FCorrLength = TrackBar1->value();
    lblCorrLength->setText(QString::number(FCorrLength));
    const QSignalBlocker quiet(TrackBar2);  // step 3 follows once, below
    TrackBar2->setMaximum(FCorrLength);
    TrackBar2->setTickInterval(FCorrLength / 20);
    TrackBar2->setValue(FCorrLength / 2);
    LPCCoefChange();
}

void TYuleLev::LPCCoefChange()
{
    FLPCCoef = TrackBar2->value();
    lblLPCCoef->setText(QString::number(FLPCCoef));
}

void TYuleLev::LoadSignal(int Len)
{
    FSignal->LoadFromFile(DataPath(QStringLiteral("FFTData.vec")).toStdString());
    // A file shorter than Len is extended with zeros: the pooled vector's old values must not enter the estimate.
    FSignal->Resize(Len, true);
}

std::uint32_t TYuleLev::EstimateAR()
{
    const std::uint32_t start = GetTickCount();
    LoadSignal(FCorrLength);
    FAutoCorr->AutoCorrBiased(*FSignal, FLPCCoef);
    if (FLPCCoef > 1) {
        Levinson(*FAutoCorr, *FSignal);
    } else {
        FSignal->SetIt(false, {1.0});  // order 0: the model A = (1), a flat spectrum
    }
    FSignal->Resize(LargestExp2(FSignal->Length() * FFactor), true);
    FFFT->FFT(*FSignal);
    FSpectrum->Mag(*FFFT);
    FSpectrum->Inv(std::ldexp(1.0, -52));
    FSpectrum->Log10();
    return TickDiff(start, GetTickCount());
}

std::uint32_t TYuleLev::EstimateFFT()
{
    const std::uint32_t start = GetTickCount();
    LoadSignal(FLPCCoef);
    FSignal->Resize(LargestExp2(FLPCCoef) * FFactor, true);
    FFFT->FFT(*FSignal);
    FSpectrum->Mag(*FFFT);
    FSpectrum->ThreshBottom(1e-5);
    FSpectrum->Log10();
    return TickDiff(start, GetTickCount());
}

double TYuleLev::DownSampledStep(int Length, int Width)
{
    if (Width <= 0) return 1;
    const int group = Length / Width;
    return group <= 2 ? 1.0 : group / 2.0;
}

void TYuleLev::PlotSpectrum(TLineSeries& Series)
{
    if (!FDownSample) {
        DrawValues(*FSpectrum, Series, false, 1);
        return;
    }
    const int width = Chart1->width();
    detail::TVecTemp reduced;
    reduced->PixelDownSample(width, *FSpectrum, nullptr, nullptr, true);
    DrawValues(*reduced, Series, false, DownSampledStep(FSpectrum->Length(), width));
}

void TYuleLev::CalculateSpectrum()
{
    if (FRunning) return;
    ARSeries->Clear();
    FFTSeries->Clear();
    TTimingRun run(this, FRunning);
    lblTimeLYW->setText(QStringLiteral("Time needed for Levinson YW : ") + QString::number(EstimateAR()) +
                        QStringLiteral(" ms"));
    PlotSpectrum(*ARSeries);
    lblTimeFFT->setText(QStringLiteral("Time needed for FFT : ") + QString::number(EstimateFFT()) +
                        QStringLiteral(" ms"));
    PlotSpectrum(*FFTSeries);
    Chart1->Repaint();
}

}  // namespace paxtor

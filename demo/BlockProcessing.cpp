#include "demo/BlockProcessing.h"

#include <QHBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/Dovi387.h"
#include "demo/DemoFiles.h"
#include "demo/TimingLoops.h"
#include "demo/TimingRun.h"
#include "numerics/Probabilities.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/NumText.h"
#include "platform/rtl/TickCount.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

namespace {

// The evaluated elements per length: Len · Repeat for every pass.
constexpr int kFirstLength = 10;
constexpr int kFirstRepeat = 1000000;

// The whole-vector form on the vectors as they stand (whole or the current blocks): t := x², y := t,
// y := y·(−0.5), y := exp(y), y := y·t, y := y·√(4/(2π)) = y·√(2/π).
void MaxwellSteps(const TVec& X, TVec& Y, TVec& T)
{
    T.Sqr(X);
    Y.Copy(T);
    Y.Scale(-0.5);
    Y.Exp();
    Y.Mul(T);
    Y.Scale(std::sqrt(4 * INVTWOPI));
}

}  // namespace

TfrmBlockProc::TfrmBlockProc(QWidget* owner) : TBasicForm1(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/BlockProcessing.rtf"));

    CreateIt(FX, FY, FT);

    CheckDownSample->hide();
    Chart1->SetLegendOnTop();
    Chart1->xAxis->setLabel(QStringLiteral("Vector length"));
    Chart1->yAxis->setLabel(QStringLiteral("Time [ms] for 10000000 elements"));
    Series1 = Chart1->AddLineSeries(QStringLiteral("Plain function"), Qt::red, TPointerStyle::psCircle);
    Series2 = Chart1->AddLineSeries(QStringLiteral("Vectorized"), Qt::green, TPointerStyle::psCircle);
    Series3 = Chart1->AddLineSeries(QStringLiteral("Block vectorized"), Qt::yellow, TPointerStyle::psCircle);

    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(8, 4, 8, 4);
    Label1 = new QLabel(QStringLiteral("Progress: 0%"), Panel2);
    Label1->setObjectName("Label1");
    Label1->setMinimumWidth(140);
    btnRun = new QPushButton(QStringLiteral("Run test"), Panel2);
    btnRun->setObjectName("btnRun");
    bottom->addWidget(Label1);
    bottom->addStretch(1);
    bottom->addWidget(btnRun);
    connect(btnRun, &QPushButton::clicked, this, Guard([this] { RunTest(); }));

    FHelp.Apply(HelpKept);
}

TfrmBlockProc::~TfrmBlockProc()
{
    // A walk that an error ended early leaves views; the pool takes only whole vectors back.
    for (TVec* v : {FX, FY, FT}) v->SetFullRange();
    FreeIt(FX, FY, FT);
}

void TfrmBlockProc::Prepare(int Len)
{
    FX->Size(std::max(Len, 0));
    FX->SetVal(2);
    FY->Size(*FX);
}

void TfrmBlockProc::Evaluate(TEvalForm Form)
{
    switch (Form) {
        case fmPlain: {
            const int n = FX->Length();
            const double* x = FX->Values();
            double* y = FY->Values();
            for (int j = 0; j < n; ++j) y[j] = MaxwellPDF(x[j], 1);
            KeepObservable(y);
            break;
        }
        case fmVectorized:
            MaxwellSteps(*FX, *FY, *FT);
            break;
        case fmBlock:
            FY->BlockInit();
            FX->BlockInit();
            if (FX->BlockEnd()) {
                // An empty x has no block; the walk ends here (else its level stays raised for the next one).
                FY->BlockNext();
                FX->BlockNext();
            }
            while (!FX->BlockEnd()) {
                MaxwellSteps(*FX, *FY, *FT);
                FY->BlockNext();
                FX->BlockNext();
            }
            break;
    }
}

double TfrmBlockProc::Time(TEvalForm Form, int Repeat)
{
    const std::uint32_t start = GetTickCount();
    for (int r = 0; r < Repeat; ++r) Evaluate(Form);
    return TickDiff(start, GetTickCount());
}

QString TfrmBlockProc::ProgressText(double Percent)
{
    return QStringLiteral("Progress: ") + QString::fromStdString(FormatFloat("0", Percent)) + QStringLiteral("%");
}

void TfrmBlockProc::Progress(double Percent)
{
    Label1->setText(ProgressText(Percent));
    repaint();
}

void TfrmBlockProc::RunTest()
{
    if (FRunning) return;
    TTimingRun run(this, FRunning);  // the hourglass while it lasts
    Prepare(kFirstLength);
    int repeat = kFirstRepeat;
    for (int i = 0; i < kPasses; ++i) {
        FTimes[fmPlain][i] = Time(fmPlain, repeat);
        Progress((i + 0.33) / 6 * 100);
        FTimes[fmVectorized][i] = Time(fmVectorized, repeat);
        Progress((i + 0.66) / 6 * 100);
        FTimes[fmBlock][i] = Time(fmBlock, repeat);
        Progress((i + 0.99) / 6 * 100);
        // The next length; after the last pass x stays as it is (ten times 10^6 elements would only hold memory).
        if (i + 1 < kPasses) Prepare(FX->Length() * 10);
        repeat /= 10;
    }
    Label1->setText(ProgressText(100));

    Chart1->SetAxisAutomatic(Chart1->yAxis, false);
    TLineSeries* series[3] = {Series1, Series2, Series3};
    for (TLineSeries* s : series) s->Clear();
    double most = 0;
    for (int i = 0; i < kPasses; ++i) {
        const QString label = QString::fromStdString(FormatFloat("0", std::pow(10.0, i + 1)));
        for (int f = 0; f < 3; ++f) {
            series[f]->AddXY(i + 1, FTimes[f][i], label);
            most = std::max(most, FTimes[f][i]);
        }
    }
    // All times 0 ms (a coarse tick count, a fast machine) would give the axis no height.
    Chart1->yAxis->setRange(0, most > 0 ? 1.1 * most : 1);
    Chart1->Repaint();
}

}  // namespace paxtor

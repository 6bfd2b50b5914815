#include "demo/MemoryCompare1.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <array>
#include <memory>

#include "demo/DemoFiles.h"
#include "demo/TimingLoops.h"
#include "demo/TimingRun.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/TickCount.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

namespace {

const char* const kBarLabels[4] = {"(32,1024)", "(32,0)", "(0,0)", "(Create/Destroy)"};

const char* const kMemoLines =
    "(32,1024): SetVecCacheSize(32,1024). The pool holds 32\n"
    "vectors, each with memory for 1024 elements allocated in\n"
    "advance: sizing a pooled vector allocates nothing.\n"
    "(32,0): SetVecCacheSize(32,0). The pool holds 32 vectors\n"
    "without memory: each one allocates when it is sized.\n"
    "(0,0): SetVecCacheSize(0,0). No preallocation at all:\n"
    "CreateIt makes a new vector and FreeIt destroys it.\n"
    "(Create/Destroy): the vectors are created and destroyed\n"
    "directly, their memory taken with GetMem and freed with\n"
    "FreeMem each time.\n"
    "Each bar: 7000 passes of 12 vectors of the chosen length.";

// Four vectors taken from the pool in one CreateIt and given back in one FreeIt on every way out.
class TPooledFour {
public:
    TPooledFour() { CreateIt(V[0], V[1], V[2], V[3]); }
    ~TPooledFour()
    {
        try {
            FreeIt(V[0], V[1], V[2], V[3]);
        } catch (...) {
            // Real vectors sized by this page never view a sub-range, so FreeIt cannot refuse them.
        }
    }
    TPooledFour(const TPooledFour&) = delete;
    TPooledFour& operator=(const TPooledFour&) = delete;
    TVec* V[4] = {nullptr, nullptr, nullptr, nullptr};
};

}  // namespace

TMemComp1::TMemComp1(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    setWindowTitle(QStringLiteral("Object cache"));
    LoadPageText(RichEdit1, QStringLiteral("Texts/MemComp1.rtf"));

    auto* middle = new QHBoxLayout(Panel3);
    middle->setContentsMargins(4, 4, 4, 4);
    Chart1 = new TChart(Panel3);
    Chart1->setObjectName("Chart1");
    Chart1->SetGradientEndColor(ColorFromBGR(0xC08000));
    Chart1->SetLegendOnTop();
    Chart1->xAxis->setLabel(QStringLiteral("SetVecCacheSize"));
    Chart1->yAxis->setLabel(QStringLiteral("Time [ms]"));
    Series1 = Chart1->AddBarSeries(QStringLiteral("CreateIt/FreeIt"), Qt::red);
    Series1->SetMarkColor(Qt::blue);
    middle->addWidget(Chart1, 1);

    // The bottom: the track bar under its caption and value, the memo beside it, the button.
    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(8, 2, 8, 2);
    auto* trackBox = new QVBoxLayout;
    auto* captions = new QHBoxLayout;
    captions->addWidget(new QLabel(QStringLiteral("Vector length"), Panel2));
    lblLength = new QLabel(Panel2);
    lblLength->setObjectName("lblLength");
    lblLength->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    captions->addWidget(lblLength, 1);
    trackBox->addLayout(captions);
    TrackBar1 = new QSlider(Qt::Horizontal, Panel2);
    TrackBar1->setObjectName("TrackBar1");
    TrackBar1->setRange(1, 1500);
    TrackBar1->setValue(4);
    TrackBar1->setTickInterval(50);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setMinimumWidth(260);
    trackBox->addWidget(TrackBar1);
    bottom->addLayout(trackBox, 0);
    Memo1 = new QPlainTextEdit(QString::fromLatin1(kMemoLines), Panel2);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    bottom->addWidget(Memo1, 1);
    btnCompare = new QPushButton(QStringLiteral("Do full comparison"), Panel2);
    btnCompare->setObjectName("btnCompare");
    bottom->addWidget(btnCompare, 0, Qt::AlignVCenter);

    for (int i = 0; i < 4; ++i) Series1->AddXY(i, 0, QString::fromLatin1(kBarLabels[i]));

    connect(TrackBar1, &QSlider::valueChanged, this, Guard([this] { TrackBarChange(); }));
    connect(btnCompare, &QPushButton::clicked, this, Guard([this] { DoFullComparison(); }));
    TrackBarChange();
    FHelp.Apply(HelpNumber(7030));
}

void TMemComp1::TrackBarChange()
{
    FLength = TrackBar1->value();
    lblLength->setText(QString::number(FLength));
}

std::uint32_t TMemComp1::TimePooledPass(int Passes)
{
    const int len = FLength;
    const std::uint32_t start = GetTickCount();
    for (int r = 0; r < Passes; ++r) {
        TPooledFour a, b, c;
        for (TPooledFour* group : {&a, &b, &c})
            for (TVec* v : group->V) {
                v->Size(len, false);
                KeepObservable(v->Values());
            }
    }
    return TickDiff(start, GetTickCount());
}

std::uint32_t TMemComp1::TimePlainPass(int Passes)
{
    const int len = FLength;
    const std::uint32_t start = GetTickCount();
    for (int r = 0; r < Passes; ++r) {
        std::array<std::unique_ptr<TVec>, 12> v;
        for (auto& p : v) p = std::make_unique<TVec>();
        for (std::size_t k = 0; k < v.size(); k += 2) {
            v[k]->Size(len, false);
            v[k + 1]->Size(len, false);
            KeepObservable(v[k]->Values());
            KeepObservable(v[k + 1]->Values());
        }
    }
    return TickDiff(start, GetTickCount());
}

void TMemComp1::SetBar(int Index, double Value)
{
    if (Index < 0 || Index > 3) return;
    FTimes[Index] = Value;
    // The series keeps its points in order: fill it again with the four bars and their labels.
    Series1->Clear();
    for (int i = 0; i < 4; ++i) Series1->AddXY(i, FTimes[i], QString::fromLatin1(kBarLabels[i]));
    Series1->SetBarColor(Index, ColorFromBGR(kBarColors[Index]));
    Chart1->replot();
}

void TMemComp1::DoFullComparison()
{
    if (FRunning) return;
    TTimingRun run(this, FRunning);
    for (int i = 0; i < 3; ++i) {
        SetVecCacheSize(kPoolItems[i], kPoolElements[i]);
        SetBar(i, TimePooledPass());
        if (!run.ShowProgress()) return;  // the page is gone
    }
    SetVecCacheSize(0, 0);
    SetBar(3, TimePlainPass());
}

}  // namespace paxtor

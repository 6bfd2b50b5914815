#include "demo/Multiply1.h"

#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "demo/DemoFiles.h"
#include "demo/TimingRun.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/Random.h"
#include "platform/rtl/TickCount.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

namespace {

constexpr int kPresetDims[3] = {25, 60, 400};

}  // namespace

TMult1::TMult1(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/MultTXT.rtf"));

    // The middle: "Matrix size" on the left, the chart beside it.
    auto* middle = new QHBoxLayout(Panel3);
    middle->setContentsMargins(4, 4, 4, 4);
    RadioGroup1 = new QGroupBox(QStringLiteral("Matrix size"), Panel3);
    RadioGroup1->setObjectName("RadioGroup1");
    auto* items = new QVBoxLayout(RadioGroup1);
    RadioItems = new QButtonGroup(RadioGroup1);
    const QString captions[3] = {QStringLiteral("Small matrix (eval. 1000 x)"),
                                 QStringLiteral("Medium matrix (eval. 100 x)"),
                                 QStringLiteral("Large matrix (eval. 1 x)")};
    for (int i = 0; i < 3; ++i) {
        auto* item = new QRadioButton(captions[i], RadioGroup1);
        RadioItems->addButton(item, i);
        items->addWidget(item);
    }
    items->addStretch(1);
    RadioItems->button(1)->setChecked(true);
    middle->addWidget(RadioGroup1, 0);

    Chart1 = new TChart(Panel3);
    Chart1->setObjectName("Chart1");
    Chart1->SetGradientEndColor(ColorFromBGR(0xC08000));
    Chart1->SetLegendOnTop();
    Chart1->xAxis->setLabel(QStringLiteral("Dim"));
    Chart1->yAxis->setLabel(QStringLiteral("time [ms]"));
    LoopSeries = Chart1->AddLineSeries(QStringLiteral("C++"), Qt::red, TPointerStyle::psDiagCross);
    TarnelSeries = Chart1->AddLineSeries(QStringLiteral("Tarnel"), Qt::green, TPointerStyle::psDownTriangle);
    middle->addWidget(Chart1, 1);

    // The bottom: the track bar with its caption and value, and the button.
    const TDimensionPanel dim = BuildDimensionPanel(Panel2, QStringLiteral("Matrix dimension"), {1, 1000, 60, 50});
    lblDim = dim.lblDim;
    TrackBar1 = dim.TrackBar1;
    btnCompare = dim.btnCompare;

    connect(TrackBar1, &QSlider::valueChanged, this, Guard([this] { TrackBarChange(); }));
    connect(RadioItems, &QButtonGroup::idClicked, this, Guard([this](int id) { SelectSize(id); }));
    connect(btnCompare, &QPushButton::clicked, this, Guard([this] { DoComparison(); }));

    TrackBarChange();
    FHelp.Apply(HelpNumber(5340));
}

void TMult1::TrackBarChange()
{
    FMaxDim = TrackBar1->value();
    lblDim->setText(QString::number(FMaxDim));
}

void TMult1::SelectSize(int Item)
{
    if (Item < 0 || Item > 2) return;
    if (RadioItems->checkedId() != Item) RadioItems->button(Item)->setChecked(true);
    TrackBar1->setValue(kPresetDims[Item]);
    TrackBarChange();  // also when the track bar stood there already
}

std::vector<int> TMult1::Dimensions(int MaxDim)
{
    std::vector<int> dims;
    for (int n = 2; n < MaxDim; n += n < 50 ? 2 : 25) dims.push_back(n);
    return dims;
}

int TMult1::Repetitions(int MaxDim)
{
    if (MaxDim <= 30) return 1000;
    if (MaxDim <= 60) return 100;
    return 1;
}

void TMult1::PrepareDim(int n)
{
    n = std::max(n, 0);
    FMtxA.Size(n, n, false);
    FMtxB.Size(n, n, false);
    for (TSquareArray* a : {&FA, &FB, &FC}) {
        a->resize(static_cast<std::size_t>(n));
        for (auto& row : *a) row.resize(static_cast<std::size_t>(n));
    }
    Randomize();
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            FA[i][j] = Random(10);
            FB[i][j] = Random(10);
        }
    const TRowsView<double> a = FMtxA.Values2D(), b = FMtxB.Values2D();
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            a[i][j] = FA[i][j];
            b[i][j] = FB[i][j];
        }
    FDim = n;
}

void TMult1::LoopProductOnce()
{
    LoopProduct(FA, FB, FC, FDim);
    if (FDim > 0) KeepObservable(FC[0].data());
}

void TMult1::LibraryProductOnce()
{
    FMtxC.Mul(FMtxA, FMtxB, mtGeneral, mtGeneral, opNone, opNone);
}

std::uint32_t TMult1::TimeLoopProduct(int Repeat)
{
    const std::uint32_t start = GetTickCount();
    for (int r = 0; r < Repeat; ++r) LoopProductOnce();
    return TickDiff(start, GetTickCount());
}

std::uint32_t TMult1::TimeLibraryProduct(int Repeat)
{
    const std::uint32_t start = GetTickCount();
    for (int r = 0; r < Repeat; ++r) LibraryProductOnce();
    return TickDiff(start, GetTickCount());
}

void TMult1::DoComparison()
{
    if (FRunning) return;
    TTimingRun run(this, FRunning);
    const int maxDim = FMaxDim;
    PrepareDim(maxDim);
    LoopSeries->Clear();
    TarnelSeries->Clear();
    const int repeat = Repetitions(maxDim);
    for (const int n : Dimensions(maxDim)) {
        PrepareDim(n);
        LoopSeries->AddXY(n, TimeLoopProduct(repeat));
        TarnelSeries->AddXY(n, TimeLibraryProduct(repeat));
        if (!run.ShowProgress()) return;  // the page is gone
    }
}

}  // namespace paxtor

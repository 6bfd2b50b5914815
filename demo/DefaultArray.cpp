#include "demo/DefaultArray.h"

#include <QHBoxLayout>
#include <QRadioButton>
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

TDefArray::TDefArray(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/ArrayTXT.rtf"));

    auto* middle = new QHBoxLayout(Panel3);
    middle->setContentsMargins(4, 4, 4, 4);
    RadioGroup1 = new QGroupBox(QStringLiteral("Pick your test"), Panel3);
    RadioGroup1->setObjectName("RadioGroup1");
    auto* items = new QVBoxLayout(RadioGroup1);
    RadioItems = new QButtonGroup(RadioGroup1);
    const QString captions[2] = {QStringLiteral("test vector"), QStringLiteral("test matrix")};
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(captions[i], RadioGroup1);
        RadioItems->addButton(item, i);
        items->addWidget(item);
    }
    items->addStretch(1);
    RadioItems->button(0)->setChecked(true);
    middle->addWidget(RadioGroup1, 0);

    Chart1 = new TChart(Panel3);
    Chart1->setObjectName("Chart1");
    Chart1->SetGradientEndColor(ColorFromBGR(0xC08000));
    Chart1->SetLegendOnTop();
    Chart1->xAxis->setLabel(QStringLiteral("dimension"));
    Chart1->yAxis->setLabel(QStringLiteral("time  [ms]"));
    DefaultSeries = Chart1->AddLineSeries(QStringLiteral("Default Array"), Qt::blue, TPointerStyle::psNone);
    ValuesSeries = Chart1->AddLineSeries(QStringLiteral("Values Array"), Qt::red, TPointerStyle::psNone);
    Values1DSeries =
        Chart1->AddLineSeries(QStringLiteral("Values1D array"), ColorFromBGR(0x80FFFF), TPointerStyle::psNone);
    middle->addWidget(Chart1, 1);

    const TDimensionPanel dim = BuildDimensionPanel(Panel2, QStringLiteral("Vector  length : "), {1, 10000, 2500, 500});
    lblDim = dim.lblDim;
    TrackBar1 = dim.TrackBar1;
    btnCompare = dim.btnCompare;
    lblCaption = nullptr;  // the panel's other label: the caption over the track bar
    for (QLabel* l : Panel2->findChildren<QLabel*>())
        if (l != lblDim) lblCaption = l;
    lblCaption->setObjectName("lblCaption");

    connect(TrackBar1, &QSlider::valueChanged, this, Guard([this] { TrackBarChange(); }));
    connect(RadioItems, &QButtonGroup::idClicked, this, Guard([this](int id) { PickTest(id); }));
    connect(btnCompare, &QPushButton::clicked, this, Guard([this] { DoComparison(); }));
    PickTest(0);
    FHelp.Apply(HelpOff);
}

void TDefArray::PickTest(int Item)
{
    if (Item < 0 || Item > 1) return;
    if (RadioItems->checkedId() != Item) RadioItems->button(Item)->setChecked(true);
    FTest = TTest(Item);
    if (FTest == ttVector) {
        lblCaption->setText(QStringLiteral("Vector length"));
        TrackBar1->setMaximum(10000);
        TrackBar1->setTickInterval(500);
    } else {
        lblCaption->setText(QStringLiteral("Sqared matrix rows"));
        TrackBar1->setMaximum(300);
        TrackBar1->setTickInterval(10);
        TrackBar1->setValue(150);
    }
    Values1DSeries->setVisible(FTest == ttMatrix);
    if (QCPPlottableLegendItem* item = Chart1->legend->itemWithPlottable(Values1DSeries))
        item->setVisible(FTest == ttMatrix);
    Chart1->replot(QCustomPlot::rpQueuedReplot);
    TrackBarChange();
}

void TDefArray::TrackBarChange()
{
    FDim = TrackBar1->value();
    lblDim->setText(QString::number(FDim));
}

int TDefArray::VectorCount(int n)
{
    if (n < 500) return 2000;
    if (n < 2000) return 1000;
    if (n < 5000) return 500;
    return 100;
}

int TDefArray::MatrixCount(int n)
{
    if (n < 30) return 500;
    if (n < 70) return 250;
    return 50;
}

std::vector<int> TDefArray::VectorDims(int n)
{
    std::vector<int> d;
    for (int k = 1; k < n;) {
        d.push_back(k);
        k += k < 10 ? 2 : k < 500 ? 50 : k < 1000 ? 100 : k < 3000 ? 250 : 1000;
    }
    return d;
}

std::vector<int> TDefArray::MatrixDims(int n)
{
    std::vector<int> d;
    for (int k = 1; k < n;) {
        d.push_back(k);
        k += k < 10 ? 2 : k < 50 ? 5 : k < 100 ? 10 : k < 200 ? 15 : 20;
    }
    return d;
}

QString TDefArray::TimeAxisTitle(int Count)
{
    return QStringLiteral("time [ms] (") + QString::number(Count) + QStringLiteral(" iterations)");
}

double TDefArray::VectorDefaultSum() const
{
    double s = 0;
    for (int i = 0, n = FVec.Length(); i < n; ++i) s += FVec[i];
    return s;
}

double TDefArray::VectorValuesSum() const
{
    const double* v = FVec.Values();
    double s = 0;
    for (int i = 0, n = FVec.Length(); i < n; ++i) s += v[i];
    return s;
}

double TDefArray::MatrixDefaultSum() const
{
    double s = 0;
    const int rows = FMtx.Rows(), cols = FMtx.Cols();
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j <= cols - 4; ++j) s += FMtx(i, j) + FMtx(i, j + 1) + FMtx(i, j + 2) + FMtx(i, j + 3);
    return s;
}

double TDefArray::MatrixValues2DSum() const
{
    double s = 0;
    const TRowsView<double> a = FMtx.Values2D();
    const int rows = FMtx.Rows(), cols = FMtx.Cols();
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j <= cols - 4; ++j) s += a[i][j] + a[i][j + 1] + a[i][j + 2] + a[i][j + 3];
    return s;
}

double TDefArray::MatrixValues1DSum() const
{
    double s = 0;
    const double* v = FMtx.Values();
    const int rows = FMtx.Rows(), cols = FMtx.Cols();
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j <= cols - 4; ++j) {
            const double* w = v + static_cast<std::ptrdiff_t>(i) * cols + j;
            s += w[0] + w[1] + w[2] + w[3];
        }
    return s;
}

void TDefArray::PrepareVector(int d)
{
    FVec.Size(d, false);
    double* v = FVec.Values();
    for (int k = 0; k < d; ++k) v[k] = k + 1;
}

void TDefArray::PrepareMatrix(int d)
{
    FMtx.Size(d, d, false);
    double* v = FMtx.Values();
    for (std::int64_t k = 0, n = std::int64_t(d) * d; k < n; ++k) v[k] = double(k + 1);
}

template <class F>
std::uint32_t TDefArray::Time(int Count, F Sum) const
{
    const std::uint32_t start = GetTickCount();
    for (int r = 0; r < Count; ++r) {
        const double sum = (this->*Sum)();
        KeepObservable(&sum);  // every sum is computed in full
    }
    return TickDiff(start, GetTickCount());
}

void TDefArray::DoComparison()
{
    if (FRunning) return;
    DefaultSeries->Clear();
    ValuesSeries->Clear();
    Values1DSeries->Clear();
    TTimingRun run(this, FRunning);
    const int n = FDim;
    int count;
    if (FTest == ttVector) {
        count = VectorCount(n);
        for (const int d : VectorDims(n)) {
            PrepareVector(d);
            DefaultSeries->AddXY(d, Time(count, &TDefArray::VectorDefaultSum));
            ValuesSeries->AddXY(d, Time(count, &TDefArray::VectorValuesSum));
            if (!run.ShowProgress()) return;  // the page is gone
        }
    } else {
        count = MatrixCount(n);
        for (const int d : MatrixDims(n)) {
            PrepareMatrix(d);
            DefaultSeries->AddXY(d, Time(count, &TDefArray::MatrixDefaultSum));
            ValuesSeries->AddXY(d, Time(count, &TDefArray::MatrixValues2DSum));
            Values1DSeries->AddXY(d, Time(count, &TDefArray::MatrixValues1DSum));
            if (!run.ShowProgress()) return;
        }
    }
    Chart1->yAxis->setLabel(TimeAxisTitle(count));
}

}  // namespace paxtor

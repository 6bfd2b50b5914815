#include "demo/MtxGridSeries_Demo.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cmath>

#include "demo/DemoFiles.h"
#include "demo/MatrixPages.h"
#include "platform/gui/Guard.h"
#include "platform/gui/SeriesEditor.h"
#include "platform/rtl/NumText.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

namespace {

constexpr TPixelDownSample kMethods[3] = {pdsPattern, pdsPeak, pdsAverage};

// The left axis: a tick per row where the labels have room (multiples of 1, thinned as the axis shrinks), placed so
// that the labels count rows from the top: the position r reads Rows − round(r) − 1 while the series holds a
// matrix.
class TRowTicker : public QCPAxisTickerFixed {
public:
    explicit TRowTicker(const TMtxGridSeries* Series) : FSeries(Series)
    {
        setTickStep(1);
        setScaleStrategy(ssMultiples);
    }

protected:
    QVector<double> createTickVector(double tickStep, const QCPRange& range) override
    {
        // Ticks from the top row down, so that row 0 is labelled and the others at multiples of the step.
        if (const TMtx* m = FSeries->Matrix()) setTickOrigin(m->Rows() - 1);
        return QCPAxisTickerFixed::createTickVector(tickStep, range);
    }
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override
    {
        if (const TMtx* m = FSeries->Matrix()) return QString::number(m->Rows() - std::lround(tick) - 1);
        return QCPAxisTickerFixed::getTickLabel(tick, locale, formatChar, precision);
    }

private:
    const TMtxGridSeries* FSeries;
};

}  // namespace

TfrmMtxGridSeries::TfrmMtxGridSeries(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/MtxGridText.rtf"));

    auto* middle = new QVBoxLayout(Panel3);
    middle->setContentsMargins(0, 0, 0, 0);
    Chart1 = new TChart(Panel3);
    Chart1->setObjectName("Chart1");
    Chart1->SetTitle(QStringLiteral("Matrix values"));
    Chart1->setMouseTracking(true);
    middle->addWidget(Chart1);

    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(8, 2, 8, 2);
    CheckAnimate = new QCheckBox(QStringLiteral("Animate"), Panel2);
    CheckAnimate->setObjectName("CheckAnimate");
    btnEditSeries = MakeButton(Panel2, "btnEditSeries", QStringLiteral("&Edit GridSeries"));
    RadioGroup1 = MakeRadioGroup(Panel2, "RadioGroup1", QStringLiteral(" DownSample method : "),
                                 {"Pattern", "Peak", "Average"}, 3, MethodItems);
    MethodItems->button(0)->setChecked(true);
    CheckValue = new QCheckBox(QStringLiteral("Matrix value at cursor = "), Panel2);
    CheckValue->setObjectName("CheckValue");
    CheckValue->setChecked(true);
    lblValue = new QLabel(Panel2);
    lblValue->setObjectName("lblValue");
    lblValue->setMinimumWidth(60);
    bottom->addWidget(CheckAnimate);
    bottom->addWidget(btnEditSeries);
    bottom->addWidget(RadioGroup1);
    bottom->addWidget(CheckValue);
    bottom->addWidget(lblValue);
    bottom->addStretch(1);
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(100);

    // The chart: the legend, the series on the top and the left axis, the left axis counting rows from the top.
    Chart1->legend->setVisible(true);
    Series1 = new TMtxGridSeries(Chart1->xAxis2, Chart1->yAxis);  // the chart owns it
    Series1->setObjectName("Series1");
    Series1->SetValueFormat(QStringLiteral("0.00"));
    Series1->SetBottomColor(0xFFFFFF);
    Series1->SetTopColor(0);
    Series1->SetPaletteSteps(10);
    Chart1->yAxis->setLabel(QStringLiteral("Index"));
    Chart1->yAxis->setTicker(QSharedPointer<TRowTicker>::create(Series1));
    Chart1->yAxis->setTickLabels(true);
    Chart1->xAxis2->setVisible(true);
    Chart1->xAxis2->setTickLabels(true);
    Chart1->SetAxisIncrement(Chart1->xAxis2, 1);
    Chart1->xAxis->setVisible(false);
    for (QCPAxis* axis : {Chart1->xAxis2, Chart1->yAxis}) Chart1->SetAxisAutomatic(axis, false);

    connect(CheckAnimate, &QCheckBox::toggled, this, Guard([this] { AnimateClick(); }));
    connect(btnEditSeries, &QPushButton::clicked, this, Guard([this] { EditSeries(); }));
    connect(MethodItems, &QButtonGroup::idClicked, this, Guard([this] { Reduce(); }));
    connect(Timer1, &QTimer::timeout, this, Guard([this] { NewMatrix(); }));
    connect(Chart1, &QCustomPlot::mouseMove, this, Guard([this](QMouseEvent* event) {
                if (CheckValue->isChecked()) ShowValueAt(event->position());
            }));

    FS.Size(kOrder, kOrder, kNonZeros, false);
    NewMatrix();
    FHelp.Apply(HelpKept);
}

TfrmMtxGridSeries::~TfrmMtxGridSeries()
{
    Timer1->stop();
    Series1->SetMatrix(nullptr);  // the chart outlives P
}

TPixelDownSample TfrmMtxGridSeries::Method() const
{
    const int id = MethodItems->checkedId();
    return kMethods[id >= 0 ? id : 0];
}

void TfrmMtxGridSeries::NewMatrix()
{
    FS.RandomSparse(FB, FX, false, 1.0, kNonZeros);
    Reduce();
}

void TfrmMtxGridSeries::Reduce()
{
    FS.PixelDownSample(FP, kPixels, Method());
    DrawValues(FP, *Series1);
    Chart1->xAxis2->setRange(-0.5, FP.Cols() - 0.5);
    Chart1->yAxis->setRange(-0.5, FP.Rows() - 0.5);
    Chart1->Repaint();
}

void TfrmMtxGridSeries::EditSeries()
{
    gui::EditSeries(this, Series1);
    Chart1->Repaint();
}

void TfrmMtxGridSeries::ShowValueAt(const QPointF& Pos)
{
    const int cell = Series1->CellAt(Pos);
    lblValue->setText(cell < 0 ? QString() : QString::fromStdString(FormatFloat("0.00", FP.Values()[cell])));
}

void TfrmMtxGridSeries::AnimateClick()
{
    const bool on = CheckAnimate->isChecked();
    on ? Timer1->start() : Timer1->stop();
    RadioGroup1->setEnabled(!on);
    btnEditSeries->setEnabled(!on);
    CheckValue->setChecked(!on);
}

}  // namespace paxtor

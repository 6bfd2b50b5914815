#include "demo/ProbCalc.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "components/TarnelTee.h"
#include "core/Dovi387.h"
#include "demo/DemoFiles.h"
#include "numerics/Probabilities.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/Fpu.h"
#include "platform/rtl/NumText.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

namespace {

// Integer parameters arrive as whole Doubles (read with StrToInt); the Chi2 degrees of freedom are read as a real
// and truncated where the routine takes an Integer (Trunc gives the Integer's lowest value outside its range, which
// the routines refuse with NaN).
int I(double v)
{
    return Trunc(v);
}

void Fixed(double Offset, double Step, double& O, double& S)
{
    O = Offset;
    S = Step;
}

constexpr unsigned R1 = 1, R2 = 2, R3 = 4, R4 = 8;

// Labels, starting values, integer rows, the routines and the grids, one record per distribution.
const TProbDistribution kDistributions[kProbDistributionCount] = {
    {"Beta",
     {{"a; a > 0", 0.25, false}, {"b; b > 0", 0.75, false}, {"x", 0.5, false}, {}},
     0,
     2,
     [](const double* v) { return BetaPDF(v[2], v[0], v[1]); },
     [](const double* v) { return BetaCDF(v[2], v[0], v[1]); },
     [](double p, const double* v) { return BetaCDFInv(p, v[0], v[1]); },
     [](const double*, double& o, double& s) { Fixed(0.01, 0.0099, o, s); },
     [](const TVec& X, const double* v, TVec& Res) { BetaPDF(X, v[0], v[1], Res); },
     false},
    {"Binomial",
     {{"n; n > 0", 4, true}, {"p; p = [0,1]", 0.75, false}, {"x", 3, true}, {}},
     R1,
     2,
     [](const double* v) { return BinomPDF(v[2], I(v[0]), v[1]); },
     [](const double* v) { return BinomCDF(v[2], I(v[0]), v[1]); },
     [](double p, const double* v) { return BinomCDFInv(p, I(v[0]), v[1]); },
     [](const double* v, double& o, double& s) { Fixed(0, 0.01 * v[0], o, s); },
     [](const TVec& X, const double* v, TVec& Res) { BinomPDF(X, I(v[0]), v[1], Res); },
     false},
    // m the location, b the scale.
    {"Cauchy",
     {{"m; m <> x", 1.5, true}, {"b; b <> 0", 2.12, false}, {"x", 3, true}, {}},
     0,
     2,
     [](const double* v) { return CauchyPDF(v[2], v[1], v[0]); },
     [](const double* v) { return CauchyCDF(v[2], v[1], v[0]); },
     [](double p, const double* v) { return CauchyCDFInv(p, v[1], v[0]); },
     [](const double*, double& o, double& s) { Fixed(0, 0.1, o, s); },
     [](const TVec& X, const double* v, TVec& Res) { CauchyPDF(X, v[1], v[0], Res); },
     false},
    {"Chi2",
     {{"Nu; Nu > 0", 5, true}, {"x", 1.2, false}, {}, {}},
     0,
     1,
     [](const double* v) { return ChiSquarePDF(v[1], v[0]); },
     [](const double* v) { return ChiSquareCDF(v[1], I(v[0])); },
     [](double p, const double* v) { return ChiSquareCDFInv(p, I(v[0])); },
     [](const double* v, double& o, double& s) { Fixed(0.02, 0.05 * v[0], o, s); },
     [](const TVec& X, const double* v, TVec& Res) { ChiSquarePDF(X, v[0], Res); },
     false},
    {"Exponential",
     {{"Mu; Mu > 0", 0.95, false}, {"x", 3.25, false}, {}, {}},
     0,
     1,
     [](const double* v) { return ExpPDF(v[1], v[0]); },
     [](const double* v) { return ExpCDF(v[1], v[0]); },
     [](double p, const double* v) { return ExpCDFInv(p, v[0]); },
     [](const double* v, double& o, double& s) { Fixed(0, 0.05 * v[0], o, s); },
     [](const TVec& X, const double* v, TVec& Res) { ExpPDF(X, v[0], Res); },
     false},
    {"F (Fisher)",
     {{"Nu1; Nu1 > 0", 7, true}, {"Nu2; Nu2 > 0", 3, true}, {"x", 0.5, false}, {}},
     R1 | R2,
     2,
     [](const double* v) { return FPDF(v[2], I(v[0]), I(v[1])); },
     [](const double* v) { return FCDF(v[2], I(v[0]), I(v[1])); },
     [](double p, const double* v) { return FCDFInv(p, I(v[0]), I(v[1])); },
     [](const double*, double& o, double& s) { Fixed(0, 1, o, s); },
     [](const TVec& X, const double* v, TVec& Res) { FPDF(X, I(v[0]), I(v[1]), Res); },
     false},
    {"Gamma",
     {{"a; a > 0", 1.95, false}, {"b; b > 0", 5, false}, {"x", 0.32, false}, {}},
     0,
     2,
     [](const double* v) { return GammaPDF(v[2], v[0], v[1]); },
     [](const double* v) { return GammaCDF(v[2], v[0], v[1]); },
     [](double p, const double* v) { return GammaCDFInv(p, v[0], v[1]); },
     [](const double*, double& o, double& s) { Fixed(0.02, 0.2, o, s); },
     [](const TVec& X, const double* v, TVec& Res) { GammaPDF(X, v[0], v[1], Res); },
     false},
    {"Geometric",
     {{"p; p =[0,1]", 0.15, false}, {"x", 2.5, false}, {}, {}},
     0,
     1,
     [](const double* v) { return GeometricPDF(v[1], v[0]); },
     [](const double* v) { return GeometricCDF(v[1], v[0]); },
     [](double p, const double* v) { return GeometricCDFInv(p, v[0]); },
     [](const double*, double& o, double& s) { Fixed(0, 1, o, s); },
     [](const TVec& X, const double* v, TVec& Res) { GeometricPDF(X, v[0], Res); },
     false},
    // The count x of the hypergeometric mass and distribution functions is an Integer: Trunc(x).
    {"Hypergeometric",
     {{"M; M >= K,N", 10, true}, {"K;K >= x", 6, true}, {"N; N >= x", 5, true}, {"x", 2.5, false}},
     R1 | R2 | R3,
     3,
     [](const double* v) { return HypGeometricPDF(I(v[3]), I(v[0]), I(v[1]), I(v[2])); },
     [](const double* v) { return HypGeometricCDF(I(v[3]), I(v[0]), I(v[1]), I(v[2])); },
     [](double p, const double* v) { return HypGeometricCDFInv(p, I(v[0]), I(v[1]), I(v[2])); },
     [](const double* v, double& o, double& s) { Fixed(0, 0.01 * std::min(v[1], v[2]), o, s); },
     [](const TVec& X, const double* v, TVec& Res) { HypGeometricPDF(X, I(v[0]), I(v[1]), I(v[2]), Res); },
     false},
    {"Maxwell",
     {{"a; a > 0", 0.95, false}, {"x", 1.2, false}, {}, {}},
     0,
     1,
     [](const double* v) { return MaxwellPDF(v[1], v[0]); },
     [](const double* v) { return MaxwellCDF(v[1], v[0]); },
     [](double p, const double* v) { return MaxwellCDFInv(p, v[0]); },
     [](const double* v, double& o, double& s) { Fixed(0, 0.05 * v[1], o, s); },
     [](const TVec& X, const double* v, TVec& Res) { MaxwellPDF(X, v[0], Res); },
     false},
    {"Negative binomial",
     {{"R; R > 1", 5, true}, {"p; P =[0,1]", 0.75, false}, {"x", 2, false}, {}},
     R1,
     2,
     [](const double* v) { return NegBinomPDF(v[2], I(v[0]), v[1]); },
     [](const double* v) { return NegBinomCDF(v[2], I(v[0]), v[1]); },
     [](double p, const double* v) { return NegBinomCDFInv(p, I(v[0]), v[1]); },
     [](const double* v, double& o, double& s) { Fixed(0, 0.02 * v[0], o, s); },
     [](const TVec& X, const double* v, TVec& Res) { NegBinomPDF(X, I(v[0]), v[1], Res); },
     false},
    {"Normal",
     {{"Mu", 0, false}, {"Sigma; Sigma > 0", 1, false}, {"x", 1, false}, {}},
     0,
     2,
     [](const double* v) { return NormalPDF(v[2], v[0], v[1]); },
     [](const double* v) { return NormalCDF(v[2], v[0], v[1]); },
     [](double p, const double* v) { return NormalCDFInv(p, v[0], v[1]); },
     [](const double* v, double& o, double& s) { Fixed(v[0] - 10 * v[1], 0.2 * v[1], o, s); },
     [](const TVec& X, const double* v, TVec& Res) { NormalPDF(X, v[0], v[1], Res); },
     false},
    {"Pareto",
     {{"a", 1.1, false}, {"b; b < x", 0.3, false}, {"x", 2.5, false}, {}},
     0,
     2,
     [](const double* v) { return ParetoPDF(v[2], v[0], v[1]); },
     [](const double* v) { return ParetoCDF(v[2], v[0], v[1]); },
     [](double p, const double* v) { return ParetoCDFInv(p, v[0], v[1]); },
     [](const double* v, double& o, double& s) { Fixed(v[1] + 0.1, 0.1, o, s); },
     [](const TVec& X, const double* v, TVec& Res) { ParetoPDF(X, v[0], v[1], Res); },
     false},
    // The mass function takes the Integer count x; "Calc x" writes the inverse truncated, whole.
    {"Poisson",
     {{"Lambda; Lambda > 0", 13.2, false}, {"x", 7, true}, {}, {}},
     R2,
     1,
     [](const double* v) { return PoissonPDF(I(v[1]), v[0]); },
     [](const double* v) { return PoissonCDF(v[1], v[0]); },
     [](double p, const double* v) { return PoissonCDFInv(p, v[0]); },
     [](const double*, double& o, double& s) { Fixed(0, 1, o, s); },
     [](const TVec& X, const double* v, TVec& Res) { PoissonPDF(X, v[0], Res); },
     true},
    {"Student (t)",
     {{"Nu; Nu > 1", 3, true}, {"x", 5.5, false}, {}, {}},
     R1,
     1,
     [](const double* v) { return StudentPDF(v[1], I(v[0])); },
     [](const double* v) { return StudentCDF(v[1], I(v[0])); },
     [](double p, const double* v) { return StudentCDFInv(p, I(v[0])); },
     [](const double* v, double& o, double& s) { Fixed(-3 * v[0], 0.06 * v[0], o, s); },
     [](const TVec& X, const double* v, TVec& Res) { StudentPDF(X, I(v[0]), Res); },
     false},
    {"Rayleigh",
     {{"b; b > 0", 1, false}, {"x; x >= 0", 3.2, true}, {}, {}},
     0,
     1,
     [](const double* v) { return RayleighPDF(v[1], v[0]); },
     [](const double* v) { return RayleighCDF(v[1], v[0]); },
     [](double p, const double* v) { return RayleighCDFInv(p, v[0]); },
     [](const double* v, double& o, double& s) { Fixed(0.1, 0.05 * v[1], o, s); },
     [](const TVec& X, const double* v, TVec& Res) { RayleighPDF(X, v[0], Res); },
     false},
    {"Uniform continuous",
     {{"a; a < b", -3, false}, {"b; b > a", 5, false}, {"x", 1, false}, {}},
     0,
     2,
     [](const double* v) { return UniformPDF(v[2], v[0], v[1]); },
     [](const double* v) { return UniformCDF(v[2], v[0], v[1]); },
     [](double p, const double* v) { return UniformCDFInv(p, v[0], v[1]); },
     [](const double* v, double& o, double& s) { Fixed(v[0], 0.01 * (v[1] - v[0]), o, s); },
     [](const TVec& X, const double* v, TVec& Res) { UniformPDF(X, v[0], v[1], Res); },
     false},
    {"Uniform discrete",
     {{"N; N > 1", 5, true}, {"x", 3.1, false}, {}, {}},
     R1,
     1,
     [](const double* v) { return UniformDPDF(v[1], I(v[0])); },
     [](const double* v) { return UniformDCDF(v[1], I(v[0])); },
     [](double p, const double* v) { return UniformDCDFInv(p, I(v[0])); },
     [](const double* v, double& o, double& s) { Fixed(1, 0.01 * v[0], o, s); },
     [](const TVec& X, const double* v, TVec& Res) { UniformDPDF(X, I(v[0]), Res); },
     false},
    {"Weibull",
     {{"a; a > 0", 0.75, false}, {"b; b > 0", 2.5, false}, {"x", 1.25, false}, {}},
     0,
     2,
     [](const double* v) { return WeibullPDF(v[2], v[0], v[1]); },
     [](const double* v) { return WeibullCDF(v[2], v[0], v[1]); },
     [](double p, const double* v) { return WeibullCDFInv(p, v[0], v[1]); },
     [](const double*, double& o, double& s) { Fixed(0.02, 0.1, o, s); },
     [](const TVec& X, const double* v, TVec& Res) { WeibullPDF(X, v[0], v[1], Res); },
     false},
};

constexpr int kGridPoints = 100;
// Densities below this are raised to it before plotting.
constexpr double kDensityFloor = 0x1p-52;

}  // namespace

const TProbDistribution& ProbDistribution(int Item)
{
    return kDistributions[Item];
}

TProb1::TProb1(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/ProbTXT.rtf"));

    auto* middle = new QHBoxLayout(Panel3);
    middle->setContentsMargins(4, 4, 4, 4);

    // "Pick distribution": four columns, filled top to bottom.
    RadioGroup1 = new QGroupBox(QStringLiteral("Pick distribution"), Panel3);
    RadioGroup1->setObjectName("RadioGroup1");
    auto* items = new QGridLayout(RadioGroup1);
    items->setVerticalSpacing(2);
    DistItems = new QButtonGroup(RadioGroup1);
    constexpr int rows = (kProbDistributionCount + 3) / 4;
    for (int i = 0; i < kProbDistributionCount; ++i) {
        auto* item = new QRadioButton(QString::fromLatin1(kDistributions[i].Caption), RadioGroup1);
        DistItems->addButton(item, i);
        items->addWidget(item, i % rows, i / rows);
    }
    middle->addWidget(RadioGroup1, 0);

    // The parameter rows, the two results and the decimals.
    auto* values = new QGridLayout;
    for (int r = 0; r < 4; ++r) {
        ParamLabels[r] = new QLabel(Panel3);
        ParamLabels[r]->setObjectName(QStringLiteral("Label%1").arg(r + 1));
        ParamLabels[r]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        ParamEdits[r] = new QLineEdit(Panel3);
        ParamEdits[r]->setObjectName(QStringLiteral("Edit%1").arg(r + 1));
        ParamEdits[r]->installEventFilter(this);
        values->addWidget(ParamLabels[r], r, 0);
        values->addWidget(ParamEdits[r], r, 1);
    }
    EditPDF = new QLineEdit(Panel3);
    EditPDF->setObjectName("EditPDF");
    EditPDF->setReadOnly(true);
    EditCDF = new QLineEdit(Panel3);
    EditCDF->setObjectName("EditCDF");
    EditCDF->installEventFilter(this);
    values->addWidget(new QLabel(QStringLiteral("PDF ( = x)"), Panel3), 4, 0, Qt::AlignRight);
    values->addWidget(EditPDF, 4, 1);
    values->addWidget(new QLabel(QStringLiteral("CDF ( <= x)"), Panel3), 5, 0, Qt::AlignRight);
    values->addWidget(EditCDF, 5, 1);
    auto* decimals = new QHBoxLayout;
    decimals->addWidget(new QLabel(QStringLiteral("Decimals : "), Panel3));
    lblDecimals = new QLabel(Panel3);
    lblDecimals->setObjectName("lblDecimals");
    decimals->addWidget(lblDecimals, 1);
    values->addLayout(decimals, 6, 0, 1, 2);
    TrackBar1 = new QSlider(Qt::Horizontal, Panel3);
    TrackBar1->setObjectName("TrackBar1");
    TrackBar1->setRange(2, 16);
    TrackBar1->setValue(8);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    values->addWidget(TrackBar1, 7, 0, 1, 2);
    values->setRowStretch(8, 1);
    values->setColumnMinimumWidth(1, 120);
    middle->addLayout(values, 0);

    // The chart fills the rest of the panel and follows it on every side.
    Chart1 = new TChart(Panel3);
    Chart1->setObjectName("Chart1");
    Chart1->legend->setVisible(false);
    Chart1->setMinimumWidth(280);
    Series1 = Chart1->AddLineSeries(QString(), Qt::red, TPointerStyle::psNone);
    middle->addWidget(Chart1, 1);

    // The bottom: the check box and the two buttons.
    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(8, 4, 8, 4);
    CheckShowPDF = new QCheckBox(QStringLiteral("Show PDF(x)"), Panel2);
    CheckShowPDF->setObjectName("CheckShowPDF");
    CheckShowPDF->setChecked(true);
    bottom->addWidget(CheckShowPDF);
    bottom->addStretch(1);
    btnCalcProb = new QPushButton(QStringLiteral("Calc probability"), Panel2);
    btnCalcProb->setObjectName("btnCalcProb");
    btnCalcProb->setToolTip(QStringLiteral("calculate PDF/CDF"));
    btnCalcX = new QPushButton(QStringLiteral("Calc x"), Panel2);
    btnCalcX->setObjectName("btnCalcX");
    btnCalcX->setToolTip(QStringLiteral("calculate inverse CDF"));
    btnCalcX->setEnabled(false);
    bottom->addWidget(btnCalcProb);
    bottom->addWidget(btnCalcX);

    connect(DistItems, &QButtonGroup::idClicked, this, Guard([this](int id) { SelectDistribution(id); }));
    connect(TrackBar1, &QSlider::valueChanged, this, Guard([this] { TrackBarChange(); }));
    connect(btnCalcProb, &QPushButton::clicked, this, Guard([this] { CalcProbability(); }));
    connect(btnCalcX, &QPushButton::clicked, this, Guard([this] { CalcX(); }));

    FHelp.Apply(HelpNumber(1980));
    FX.Size(kGridPoints, false);
    TrackBarChange();
    SelectDistribution(FItem);
}

void TProb1::TrackBarChange()
{
    FDecimals = TrackBar1->value();
    lblDecimals->setText(QString::number(FDecimals));
}

QString TProb1::Formatted(double Value, bool Whole) const
{
    const std::string s = Whole ? FloatToStrF(Value, ffFixed, 0, 0) : FloatToStrF(Value, ffFixed, FDecimals, FDecimals);
    return QString::fromStdString(s);
}

void TProb1::SelectDistribution(int Item)
{
    if (Item < 0 || Item >= kProbDistributionCount) return;
    FItem = Item;
    if (DistItems->checkedId() != Item) DistItems->button(Item)->setChecked(true);
    const TProbDistribution& d = kDistributions[Item];
    for (int r = 0; r < 4; ++r) {
        const TProbDistribution::TRow& row = d.Rows[r];
        ParamEdits[r]->clear();
        ParamLabels[r]->setText(row.Label ? QString::fromLatin1(row.Label) : QString());
        if (row.Label) ParamEdits[r]->setText(Formatted(row.Start, row.Whole));
        // Hidden rows keep their place, so that the rows do not jump from one distribution to the next.
        ParamLabels[r]->setVisible(row.Label != nullptr);
        ParamEdits[r]->setVisible(row.Label != nullptr);
    }
    EditPDF->clear();
    EditCDF->clear();
}

void TProb1::ReadRows(double* V, bool WithX) const
{
    const TProbDistribution& d = kDistributions[FItem];
    for (int r = 0; r < 4; ++r) {
        V[r] = 0;
        if (!d.Rows[r].Label || (!WithX && r == d.XRow)) continue;
        const std::string text = ParamEdits[r]->text().toStdString();
        V[r] = (d.IntRows & (1u << r)) ? StrToInt(text) : StrToFloat(text);
    }
}

void TProb1::CalcProbability()
{
    const TProbDistribution& d = kDistributions[FItem];
    double v[4];
    ReadRows(v, true);
    const double pdf = d.Pdf(v);
    const double cdf = d.Cdf(v);
    const bool show = CheckShowPDF->isChecked();
    if (show) {
        double offset = 0, step = 0;
        d.GridOf(v, offset, step);
        FX.Ramp(offset, step);
        d.VecPdf(FX, v, FY);
    }
    EditPDF->setText(Formatted(pdf, false));
    EditCDF->setText(Formatted(cdf, false));
    Set8087CW(Tarnel8087CW);
    if (show) {
        FY.ThreshBottom(kDensityFloor);
        // Painted once when the click has been handled, not inside the calculation.
        const TChart::TDeferredRepaint deferred(*Chart1);
        DrawValues(FX, FY, *Series1, false);
    }
}

void TProb1::CalcX()
{
    const TProbDistribution& d = kDistributions[FItem];
    const double p = StrToFloat(EditCDF->text().toStdString());
    double v[4];
    ReadRows(v, false);  // x is what this computes
    const double x = d.Inv(p, v);
    ParamEdits[d.XRow]->setText(d.WholeX ? Formatted(std::trunc(x), true) : Formatted(x, false));
    Set8087CW(Tarnel8087CW);
}

void TProb1::SetEntering(bool Parameters)
{
    btnCalcProb->setEnabled(Parameters);
    btnCalcX->setEnabled(!Parameters);
}

bool TProb1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == EditCDF) {
            SetEntering(false);
        } else {
            for (QLineEdit* e : ParamEdits)
                if (watched == e) SetEntering(true);
        }
    }
    return TBasicForm2::eventFilter(watched, event);
}

}  // namespace paxtor

#include "demo/MtxOptim.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "components/TarnelEdit.h"
#include "demo/DemoFiles.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/NumText.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

// ---- The memo's lines -------------------------------------------------------------------------------------------

int TMemoLines::Add(const std::string& S)
{
    FLines.push_back(S);
    if (FLines.size() - FShown >= static_cast<std::size_t>(kBatch)) Flush();
    return Count() - 1;
}

void TMemoLines::Flush()
{
    if (FShown >= FLines.size()) return;
    QString batch;
    for (std::size_t i = FShown; i < FLines.size(); ++i) {
        if (i > FShown) batch += QLatin1Char('\n');
        batch += QString::fromStdString(FLines[i]);
    }
    FMemo->appendPlainText(batch);
    FShown = FLines.size();
}

void TMemoLines::Rewrite()
{
    FShown = 0;
    FMemo->clear();
    Flush();
}

std::string TMemoLines::Get(int Index) const
{
    if (Index < 0 || Index >= Count()) RaiseListIndex(Index);
    return FLines[static_cast<std::size_t>(Index)];
}

void TMemoLines::Put(int Index, const std::string& S)
{
    if (Index < 0 || Index >= Count()) RaiseListIndex(Index);
    FLines[static_cast<std::size_t>(Index)] = S;
    Rewrite();
}

void TMemoLines::Insert(int Index, const std::string& S)
{
    if (Index < 0 || Index > Count()) RaiseListIndex(Index);
    FLines.insert(FLines.begin() + Index, S);
    Rewrite();
}

void TMemoLines::Delete(int Index)
{
    if (Index < 0 || Index >= Count()) RaiseListIndex(Index);
    FLines.erase(FLines.begin() + Index);
    Rewrite();
}

void TMemoLines::Clear()
{
    FLines.clear();
    FShown = 0;
    FMemo->clear();
}

// ---- The page ---------------------------------------------------------------------------------------------------

namespace {

struct TSliderRow {
    const char* Caption;
    int Min, Max, Tick, Start;
};

const TSliderRow kSliders[TfrmMtxOptim::kSliderCount] = {
    {"Max. number of iterations", 50, 10000, 1000, 400},
    {"Tolerance", 1, 16, 2, 6},
    {"Gradient tolerance", 1, 16, 2, 10},
    {"Initial lambda", 1, 9, 1, 5},
    {"Gradient step size", 1, 16, 2, 4},
    {"a", -100, 100, 10, 0},
    {"b", -100, 100, 10, 0},
};

// 10^-Position, correctly rounded: 10^Position is exact for the sliders' range.
double NegPow10(int Position)
{
    return 1.0 / std::pow(10.0, Position);
}

QString ExpText(double Value)
{
    return QString::fromStdString(FloatToStrF(Value, ffExponent, 2, 2));
}

QString ParamText(double Value)
{
    return QString::fromStdString(FormatFloat("0.00", Value));
}

}  // namespace

double TfrmMtxOptim::Rosenbrock(std::span<const double> Pars, std::span<const double>, std::span<void* const>)
{
    const double a = Pars[0], b = Pars[1];
    return 100 * (b - a * a) * (b - a * a) + (1 - a) * (1 - a);
}

void TfrmMtxOptim::RosenbrockGrad(TOptFunction, std::span<const double> Pars, std::span<const double>,
                                  std::span<void* const>, TVec& Grad)
{
    const double a = Pars[0], b = Pars[1];
    Grad.Values()[0] = -400 * a * (b - a * a) - 2 * (1 - a);
    Grad.Values()[1] = 200 * (b - a * a);
}

void TfrmMtxOptim::RosenbrockGradHess(TOptFunction Fun, std::span<const double> Pars, std::span<const double> Consts,
                                      std::span<void* const> OConsts, TVec& Grad, TMtx* Hess)
{
    RosenbrockGrad(Fun, Pars, Consts, OConsts, Grad);
    if (!Hess) return;
    const double a = Pars[0], b = Pars[1];
    const TRowsView<double> h = Hess->Values2D();
    h[0][0] = 1200 * a * a - 400 * b + 2;
    h[0][1] = -400 * a;
    h[1][0] = -400 * a;
    h[1][1] = 200;
}

QString TfrmMtxOptim::StopReasonText(TOptStopReason Reason)
{
    switch (Reason) {
        case OptResSmallGrad:
            return QStringLiteral("C Norm(Grad) < gradient tolerance");
        case OptResSmallStep:
            return QStringLiteral("X step < Tolerance");
        case OptResZeroStep:
            return QStringLiteral("Zero x step");
        case OptResBigLambda:
            return QStringLiteral("Big Lambda");
        case OptResMaxIter:
            return QStringLiteral("Iterations > Max. Iterations");
        case OptResConverged:
            return QStringLiteral("Converged");
        case OptResNotFound:
        case OptResSingular:
            break;
    }
    return QString();
}

TfrmMtxOptim::TfrmMtxOptim(QWidget* owner)
    : TBasicForm2(owner), FOptimization(std::make_unique<TMtxOptimization>(nullptr)), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/MtxOptimTXT.rtf"));

    // The component's stored settings; the sliders override them below.
    TMtxOptimization& opt = *FOptimization;
    opt.SetOptimizationMethod(optMarquardt);
    opt.SetMaxIterations(10000);
    opt.SetTolerance(1e-10);
    opt.SetLambda0(1e-05);
    opt.SetGradTolerance(1e-10);

    auto* middle = new QHBoxLayout(Panel3);
    middle->setContentsMargins(4, 4, 4, 4);

    // The sliders: each with its caption and the value the component took.
    auto* sliders = new QGridLayout;
    auto* params = new QGroupBox(QStringLiteral("Parameters - initial values"), Panel3);
    auto* paramGrid = new QGridLayout(params);
    for (int i = 0; i < kSliderCount; ++i) {
        const bool param = i >= sbA;
        QWidget* parent = param ? static_cast<QWidget*>(params) : Panel3;
        QGridLayout* grid = param ? paramGrid : sliders;
        const int row = param ? i - sbA : i;
        auto* caption = new QLabel(QString::fromLatin1(kSliders[i].Caption), parent);
        Sliders[i] = new QSlider(Qt::Horizontal, parent);
        Sliders[i]->setObjectName(QStringLiteral("TrackBar%1").arg(i + 1));
        Sliders[i]->setTickPosition(QSlider::TicksBelow);
        Sliders[i]->setMinimumWidth(160);
        ValueLabels[i] = new QLabel(parent);
        ValueLabels[i]->setObjectName(QStringLiteral("lblValue%1").arg(i + 1));
        ValueLabels[i]->setMinimumWidth(60);
        grid->addWidget(caption, row, 0);
        grid->addWidget(Sliders[i], row, 1);
        grid->addWidget(ValueLabels[i], row, 2);
    }
    sliders->addWidget(params, sbA, 0, 1, 3);
    sliders->setRowStretch(sbA + 1, 1);
    middle->addLayout(sliders, 0);

    // The method, the two boxes and the log.
    auto* right = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    RadioGroup1 = new QGroupBox(QStringLiteral("Method"), Panel3);
    RadioGroup1->setObjectName("RadioGroup1");
    auto* items = new QVBoxLayout(RadioGroup1);
    items->setSpacing(2);
    MethodItems = new QButtonGroup(RadioGroup1);
    const char* methods[] = {"Nelder-Mead (Simplex)", "Levenberg-Marquardt",           "Quasi-Newton (BFGS)",
                             "Quasi-Newton (DFP)",    "Conjugate Gradient (Fletcher)", "Conjugate Gradient (Polak)"};
    for (int i = 0; i < 6; ++i) {
        auto* item = new QRadioButton(QString::fromLatin1(methods[i]), RadioGroup1);
        MethodItems->addButton(item, i);
        items->addWidget(item);
    }
    MethodItems->button(optMarquardt)->setChecked(true);
    top->addWidget(RadioGroup1);
    auto* boxes = new QVBoxLayout;
    CheckLog = new QCheckBox(QStringLiteral("Log"), Panel3);
    CheckLog->setObjectName("CheckLog");
    CheckLog->setChecked(true);
    CheckNumerical = new QCheckBox(QStringLiteral("Numerical derivative"), Panel3);
    CheckNumerical->setObjectName("CheckNumerical");
    boxes->addWidget(CheckLog);
    boxes->addWidget(CheckNumerical);
    boxes->addStretch(1);
    top->addLayout(boxes);
    top->addStretch(1);
    right->addLayout(top);
    Memo1 = new QPlainTextEdit(Panel3);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    right->addWidget(Memo1, 1);
    middle->addLayout(right, 1);
    FLog = std::make_unique<TMemoLines>(Memo1);

    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(8, 4, 8, 4);
    btnMinimize = new QPushButton(QStringLiteral("Find minimum"), Panel2);
    btnMinimize->setObjectName("btnMinimize");
    btnHessian = new QPushButton(QStringLiteral("Show Hessian mtx"), Panel2);
    btnHessian->setObjectName("btnHessian");
    bottom->addWidget(btnMinimize);
    bottom->addWidget(btnHessian);
    bottom->addStretch(1);

    // Creating the page: the objective and two parameters, the sliders of the table, then every control taken over.
    opt.SetObjective(Rosenbrock);
    opt.VariableParameters().Size(2, false);
    for (int i = 0; i < kSliderCount; ++i) {
        Sliders[i]->setRange(kSliders[i].Min, kSliders[i].Max);
        Sliders[i]->setTickInterval(kSliders[i].Tick);
        Sliders[i]->setValue(kSliders[i].Start);
    }
    for (int i = 0; i < kSliderCount; ++i) {
        SliderChange(i);
        connect(Sliders[i], &QSlider::valueChanged, this, Guard([this, i] { SliderChange(i); }));
    }
    LogClick();
    NumericalClick();

    connect(MethodItems, &QButtonGroup::idClicked, this, Guard([this](int id) { MethodClick(id); }));
    connect(CheckLog, &QCheckBox::toggled, this, Guard([this] { LogClick(); }));
    connect(CheckNumerical, &QCheckBox::toggled, this, Guard([this] { NumericalClick(); }));
    connect(btnMinimize, &QPushButton::clicked, this, Guard([this] { FindMinimum(); }));
    connect(btnHessian, &QPushButton::clicked, this, Guard([this] { ShowHessian(); }));

    FHelp.Apply(HelpKept);
}

TfrmMtxOptim::~TfrmMtxOptim()
{
    FOptimization->SetVerbose(nullptr);
}

void TfrmMtxOptim::SliderChange(int Slider)
{
    TMtxOptimization& opt = *FOptimization;
    const int pos = Sliders[Slider]->value();
    QString text;
    switch (Slider) {
        case sbMaxIter:
            opt.SetMaxIterations(pos);
            text = QString::number(opt.MaxIterations());
            break;
        case sbTolerance:
            opt.SetTolerance(NegPow10(pos));
            text = ExpText(opt.Tolerance());
            break;
        case sbGradTolerance:
            opt.SetGradTolerance(NegPow10(pos));
            text = ExpText(opt.GradTolerance());
            break;
        case sbLambda0:
            opt.SetLambda0(NegPow10(pos));
            text = ExpText(opt.Lambda0());
            break;
        case sbGradStep:
            // The library-wide step of the numerical derivatives; it stays when the page goes.
            GradStepSize = NegPow10(pos);
            text = ExpText(GradStepSize);
            break;
        case sbA:
        case sbB: {
            TVec& pars = opt.VariableParameters();
            pars[Slider - sbA] = pos * 0.02;
            text = ParamText(pars[Slider - sbA]);
            break;
        }
        default:
            return;
    }
    ValueLabels[Slider]->setText(text);
}

void TfrmMtxOptim::MethodClick(int Item)
{
    FOptimization->SetOptimizationMethod(static_cast<TOptMethod>(Item));
}

void TfrmMtxOptim::LogClick()
{
    FOptimization->SetVerbose(CheckLog->isChecked() ? FLog.get() : nullptr);
}

void TfrmMtxOptim::NumericalClick()
{
    TMtxOptimization& opt = *FOptimization;
    const bool numerical = CheckNumerical->isChecked();
    opt.SetSoftSearch(numerical);
    if (numerical) {
        opt.SetGrad(nullptr);  // the component derives them numerically
        opt.SetGradHess(nullptr);
    } else {
        opt.SetGrad(RosenbrockGrad);
        opt.SetGradHess(RosenbrockGradHess);
    }
}

void TfrmMtxOptim::FindMinimum()
{
    TMtxOptimization& opt = *FOptimization;
    SliderChange(sbA);
    SliderChange(sbB);
    FLog->Clear();
    // The lines the run logged reach the memo also when it fails.
    struct TFlush {
        TMemoLines& Log;
        ~TFlush() { Log.Flush(); }
    } flush{*FLog};
    opt.Recalculate();

    const int digits = Sliders[sbTolerance]->value();
    const auto fixed = [digits](double v) { return FloatToStrF(v, ffFixed, 1, digits); };
    const TVec& pars = opt.VariableParameters();
    FLog->Add("----------------------------");
    FLog->Add("a = " + fixed(pars[0]));
    FLog->Add("b = " + fixed(pars[1]));
    FLog->Add("F(min) = " + fixed(opt.FunMin()));
    FLog->Add("Stop Reason = " + StopReasonText(opt.StopReason()).toStdString());
}

void TfrmMtxOptim::ShowHessian()
{
    // The viewer works on a copy of its own, so it stays open when the page goes.
    ViewValues(FOptimization->HessianMtx(), QString(), false, false);
}

}  // namespace paxtor

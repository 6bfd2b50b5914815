#include "demo/SysLinear1.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "demo/DemoFiles.h"
#include "demo/MatrixPages.h"
#include "platform/gui/Guard.h"

namespace paxtor {

using namespace tarnel;
using tarnel::gui::Guard;
using tarnel::gui::TStringGrid;

namespace {

constexpr int kOrder = 4;
// The system as the page starts: the first two rows of A are multiples of each other.
constexpr double kFixedA[kOrder * kOrder] = {0.001, 0, 0, 0, 3, 0, 0, 0, 2.5, 2, 3, 0, 4, -1, 0.5, 0.1};
constexpr double kFixedB[kOrder] = {3, 1.5, -2, 4};
constexpr const char* kResultFormat = "0.0000E+00";

// A one-column grid of Rows cells without headers.
void ResetColumn(TStringGrid& Grid, int Rows)
{
    ResetGrid(Grid, 1, Rows, false);
}

}  // namespace

TLinearSystem1::TLinearSystem1(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/LUSolve.rtf"));

    auto* middle = new QGridLayout(Panel3);
    middle->setContentsMargins(4, 4, 4, 4);
    GridA = MakeGrid(Panel3, "GridA", true);
    GridX = MakeGrid(Panel3, "GridX", false);
    GridB = MakeGrid(Panel3, "GridB", true);
    FitGrid(*GridA, QStringLiteral("-0.0000"), 50);
    FitGrid(*GridB, QStringLiteral("-0.0000"), 64);
    FitGrid(*GridX, QStringLiteral("-0.0000E+00"), 64);
    middle->addWidget(MakeGridCaption(Panel3, QStringLiteral("matrix A (LHS): "), GridA), 0, 0);
    middle->addWidget(MakeGridCaption(Panel3, QStringLiteral("vector x :"), GridX), 0, 1);
    middle->addWidget(MakeGridCaption(Panel3, QStringLiteral("vector b (RHS): "), GridB), 0, 2);
    middle->addWidget(GridA, 1, 0);
    middle->addWidget(GridX, 1, 1);
    middle->addWidget(GridB, 1, 2);
    GridA->setFixedWidth(kOrder * GridA->DefaultColWidth() + 2 * GridA->frameWidth() + 4);
    for (TStringGrid* g : {GridX, GridB}) g->setFixedWidth(g->DefaultColWidth() + 36);
    for (TStringGrid* g : {GridA, GridX, GridB})
        g->setFixedHeight(kOrder * g->DefaultRowHeight() + 2 * g->frameWidth() + 4);

    // Beside the grids: the method and the panel it shows.
    auto* method = new QHBoxLayout;
    method->addWidget(new QLabel(QStringLiteral("Method : "), Panel3));
    ComboMethod = new QComboBox(Panel3);
    ComboMethod->setObjectName("ComboMethod");
    ComboMethod->addItems({QStringLiteral("LUSolve"), QStringLiteral("SVDSolve")});
    method->addWidget(ComboMethod);
    method->addStretch(1);
    middle->addLayout(method, 0, 3);

    PanelLU = new QWidget(Panel3);
    PanelLU->setObjectName("PanelLU");
    auto* lu = new QGridLayout(PanelLU);
    lu->setContentsMargins(0, 0, 0, 0);
    Memo1 = new QPlainTextEdit(PanelLU);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    lu->addWidget(new QLabel(QStringLiteral("Report : "), PanelLU), 0, 0);
    lu->addWidget(Memo1, 1, 0, 2, 1);
    RadioGroupNorm = new QGroupBox(QStringLiteral("Condition Norm"), PanelLU);
    RadioGroupNorm->setObjectName("RadioGroupNorm");
    auto* norms = new QVBoxLayout(RadioGroupNorm);
    NormItems = new QButtonGroup(RadioGroupNorm);
    const QString normCaptions[3] = {QStringLiteral("cnNone"), QStringLiteral("cnNorm1"), QStringLiteral("cnNormInf")};
    for (int i = 0; i < 3; ++i) {
        auto* item = new QRadioButton(normCaptions[i], RadioGroupNorm);
        NormItems->addButton(item, i);
        norms->addWidget(item);
    }
    lu->addWidget(RadioGroupNorm, 1, 1);
    CheckRefine = new QCheckBox(QStringLiteral("Refine solution"), PanelLU);
    CheckRefine->setObjectName("CheckRefine");
    lu->addWidget(CheckRefine, 2, 1, Qt::AlignTop);
    lu->setColumnStretch(0, 1);

    PanelSVD = new QWidget(Panel3);
    PanelSVD->setObjectName("PanelSVD");
    auto* svd = new QVBoxLayout(PanelSVD);
    svd->setContentsMargins(0, 0, 0, 0);
    GridSV = MakeGrid(PanelSVD, "GridSV", false);
    FitGrid(*GridSV, QStringLiteral("-0.0000E+00"), 64);
    svd->addWidget(MakeGridCaption(PanelSVD, QStringLiteral("Singular values : "), GridSV));
    svd->addWidget(GridSV, 1);
    middle->addWidget(PanelLU, 1, 3, 2, 1);
    middle->addWidget(PanelSVD, 1, 3, 2, 1);
    middle->setColumnStretch(3, 1);
    middle->setRowStretch(2, 1);

    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(8, 4, 8, 4);
    btnSolve = new QPushButton(QStringLiteral("SOLVE"), Panel2);
    btnSolve->setObjectName("btnSolve");
    bottom->addWidget(btnSolve, 0, Qt::AlignVCenter);
    bottom->addStretch(1);

    // Set-up in the page's order: the system, its grids, the method, the box and the norm, the help.
    FA.Size(kOrder, kOrder, false);
    std::copy(std::begin(kFixedA), std::end(kFixedA), FA.Values());
    FB->Size(kOrder, false);
    std::copy(std::begin(kFixedB), std::end(kFixedB), FB->Values());
    ResetGrid(*GridA, kOrder, kOrder, false);
    FA.ValuesToGrid(*GridA, 0, 0, "0.0000", false);
    ResetColumn(*GridB, kOrder);
    FB->ValuesToGrid(*GridB, 0, 0, "0.0000", false, true);
    ResetColumn(*GridX, kOrder);
    ResetColumn(*GridSV, kOrder);
    {
        const QSignalBlocker blockMethod(ComboMethod), blockRefine(CheckRefine), blockNorm(NormItems);
        ComboMethod->setCurrentIndex(0);
        CheckRefine->setChecked(true);
        NormItems->button(1)->setChecked(true);
    }
    SelectMethod(ComboMethod->currentIndex());
    SetRefine(CheckRefine->isChecked());
    SelectNorm(NormItems->checkedId());

    connect(ComboMethod, &QComboBox::currentIndexChanged, this, Guard([this](int i) { SelectMethod(i); }));
    connect(CheckRefine, &QCheckBox::toggled, this, Guard([this](bool b) { SetRefine(b); }));
    connect(NormItems, &QButtonGroup::idClicked, this, Guard([this](int id) { SelectNorm(id); }));
    connect(btnSolve, &QPushButton::clicked, this, Guard([this] { Solve(); }));
    FHelp.Apply(HelpNumber(5250));
}

void TLinearSystem1::SelectMethod(int Item)
{
    if (Item < 0 || Item > 1) return;
    if (ComboMethod->currentIndex() != Item) ComboMethod->setCurrentIndex(Item);
    PanelLU->setVisible(Item == 0);
    PanelSVD->setVisible(Item == 1);
    Memo1->clear();
}

void TLinearSystem1::SetRefine(bool Refine)
{
    if (CheckRefine->isChecked() != Refine) CheckRefine->setChecked(Refine);
    FA.SetRefineSolution(Refine);
}

void TLinearSystem1::SelectNorm(int Item)
{
    static constexpr TConditionNumber kNorms[3] = {cnNone, cnNorm1, cnNormInf};
    if (Item < 0 || Item > 2) return;
    if (NormItems->checkedId() != Item) NormItems->button(Item)->setChecked(true);
    FA.SetConditionNumber(kNorms[Item]);
}

void TLinearSystem1::Solve()
{
    detail::TMtxTemp a;
    detail::TVecTemp b, x, sv;
    a->GridToValues(*GridA, FA.Complex(), false);
    b->GridToValues(*GridB, FB->Complex(), true, false);
    a->SetRefineSolution(FA.RefineSolution());
    a->SetConditionNumber(FA.ConditionNumber());
    QStringList report;
    int rank = FRank;
    if (ComboMethod->currentIndex() == 0) {
        a->LUSolve(*b, *x, mtGeneral, opNone);  // raises "LUSolve: " and the failure
        if (a->RefineSolution() && a->ConditionNumber() != cnNone) {
            report << QStringLiteral("Forward error = ") + QString::fromStdString(FormatSample("0.0000E+00 ", a->ForwError()))
                   << QStringLiteral("Backward error = ") + QString::fromStdString(FormatSample("0.0000E+00 ", a->BackError()))
                   << QStringLiteral("ConditionNr = ") + QString::fromStdString(FormatSample("0.0000E+00", a->ConditionNr()));
        }
    } else {
        rank = a->SVDSolve(*b, *x, *sv, 1e-9);
        RaiseOnFailure(*a, "SVDSolve");
    }
    FA.Copy(*a);
    FB->Copy(*b);
    FX->Copy(*x);
    FRank = rank;
    if (ComboMethod->currentIndex() == 0) {
        Memo1->clear();
        for (const QString& line : report) Memo1->appendPlainText(line);
    } else {
        FSV->Copy(*sv);
        ResetColumn(*GridSV, FSV->Length());
        FSV->ValuesToGrid(*GridSV, 0, 0, kResultFormat, false, true);
    }
    ResetGrid(*GridX, FX->Complex() ? 2 : 1, FX->Length(), false);
    FX->ValuesToGrid(*GridX, 0, 0, kResultFormat, false, true);
}

}  // namespace paxtor

#include "demo/EigenVectors1.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <string>

#include "demo/DemoFiles.h"
#include "demo/MatrixPages.h"
#include "platform/gui/Guard.h"

namespace paxtor {

using namespace tarnel;
using tarnel::gui::Guard;
using tarnel::gui::TStringGrid;

namespace {

constexpr int kOrder = 4;
constexpr double kFixedA[kOrder * kOrder] = {1,   -3, 5,    -3,   -1,  12, 0.3, 2.5,
                                             5, 1.22, 2.33, -0.5, 2.4, -1, 5,   3};
constexpr const char* kValueFormat = "0.000E+00";

QGroupBox* RadioGroup(QWidget* parent, const QString& caption, const QStringList& items, int columns,
                      QButtonGroup*& group)
{
    auto* box = new QGroupBox(caption, parent);
    auto* layout = new QGridLayout(box);
    group = new QButtonGroup(box);
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i], box);
        group->addButton(item, i);
        layout->addWidget(item, i % rows, i / rows);
    }
    return box;
}

}  // namespace

TEigVec1::TEigVec1(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    auto* middle = new QGridLayout(Panel3);
    middle->setContentsMargins(4, 4, 4, 4);
    GridA = MakeGrid(Panel3, "GridA", true);
    GridD = MakeGrid(Panel3, "GridD", false);
    GridV = MakeGrid(Panel3, "GridV", false);
    FitGrid(*GridA, QStringLiteral("-00.000"), 64, kOrder + 1);
    FitGrid(*GridD, QStringLiteral("-0.000E+00"), 64, kOrder + 1);
    FitGrid(*GridV, QStringLiteral("-0.000E+00"), 64, kOrder + 1);
    middle->addWidget(MakeGridCaption(Panel3, QStringLiteral("Matrix A : "), GridA), 0, 0);
    middle->addWidget(MakeGridCaption(Panel3, QStringLiteral("Eigenvalues are elements of vector D :  "), GridD), 0, 1);
    middle->addWidget(GridA, 1, 0);
    middle->addWidget(GridD, 1, 1);
    auto* vectorCaption = new QHBoxLayout;
    vectorCaption->addWidget(MakeGridCaption(Panel3, QStringLiteral("Eigenvectors : "), GridV));
    btnLeft = new QToolButton(Panel3);
    btnLeft->setObjectName("btnLeft");
    btnLeft->setText(QStringLiteral("Left"));
    btnRight = new QToolButton(Panel3);
    btnRight->setObjectName("btnRight");
    btnRight->setText(QStringLiteral("Right"));
    auto* sides = new QButtonGroup(this);
    for (QToolButton* b : {btnLeft, btnRight}) {
        b->setCheckable(true);
        b->setMinimumWidth(60);
        sides->addButton(b);
        vectorCaption->addWidget(b);
    }
    sides->setExclusive(true);
    btnRight->setChecked(true);
    vectorCaption->addStretch(1);
    middle->addLayout(vectorCaption, 2, 0, 1, 2);
    middle->addWidget(GridV, 3, 0, 1, 2);
    middle->setColumnStretch(0, 5);
    middle->setColumnStretch(1, 3);
    middle->setRowStretch(1, 1);
    middle->setRowStretch(3, 1);

    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(8, 0, 8, 2);
    RadioGroupForm = RadioGroup(Panel2, QStringLiteral("Vector Form"), {"vfEig", "vfShur"}, 1, FormItems);
    RadioGroupForm->setObjectName("RadioGroupForm");
    RadioGroupBalance =
        RadioGroup(Panel2, QStringLiteral("Balance"), {"btNone", "btScale", "btPerm", "btFull"}, 2, BalanceItems);
    RadioGroupBalance->setObjectName("RadioGroupBalance");
    btnCalc = new QPushButton(QStringLiteral("Calc eigenvalues"), Panel2);
    btnCalc->setObjectName("btnCalc");
    bottom->addWidget(RadioGroupForm);
    bottom->addWidget(RadioGroupBalance);
    bottom->addSpacing(16);
    bottom->addWidget(btnCalc, 0, Qt::AlignVCenter);
    bottom->addStretch(1);

    // Set-up in the page's order: the matrix, its grid, the text, the two groups, the help.
    FA->Size(kOrder, kOrder, false);
    std::copy(std::begin(kFixedA), std::end(kFixedA), FA->Values());
    ShowMatrix(*GridA, *FA, " 0.000;-0.000", true);
    ResetGrid(*GridD, 3, kOrder + 1, true);
    ResetGrid(*GridV, 2 * kOrder + 1, kOrder + 1, true);
    LoadPageText(RichEdit1, QStringLiteral("Texts/EigVecTXT.rtf"));
    {
        const QSignalBlocker blockForm(FormItems), blockBalance(BalanceItems);
        FormItems->button(0)->setChecked(true);
        BalanceItems->button(3)->setChecked(true);
    }
    SelectVectorForm(0);
    SelectBalance(BalanceItems->checkedId());

    connect(FormItems, &QButtonGroup::idClicked, this, Guard([this](int id) { SelectVectorForm(id); }));
    connect(BalanceItems, &QButtonGroup::idClicked, this, Guard([this](int id) { SelectBalance(id); }));
    connect(btnCalc, &QPushButton::clicked, this, Guard([this] { CalcEigenvalues(); }));
    connect(btnLeft, &QToolButton::clicked, this, Guard([this] { ShowEigenvectors(true); }));
    connect(btnRight, &QToolButton::clicked, this, Guard([this] { ShowEigenvectors(false); }));
    FHelp.Apply(HelpNumber(4530));
}

void TEigVec1::SelectVectorForm(int Item)
{
    if (Item < 0 || Item > 1) return;
    if (FormItems->checkedId() != Item) FormItems->button(Item)->setChecked(true);
    if (Item == 0) {
        FVectorForm = vfEig;
        BalanceItems->button(3)->setChecked(true);
        SelectBalance(3);
        RadioGroupBalance->setEnabled(false);
    } else {
        FVectorForm = vfSchur;
        RadioGroupBalance->setEnabled(true);
    }
}

void TEigVec1::SelectBalance(int Item)
{
    static constexpr TBalanceType kTypes[4] = {btNone, btScale, btPerm, btFull};
    if (Item < 0 || Item > 3) return;
    if (BalanceItems->checkedId() != Item) BalanceItems->button(Item)->setChecked(true);
    FBalance = kTypes[Item];
}

void TEigVec1::CalcEigenvalues()
{
    detail::TMtxTemp a, vl, vr;
    detail::TVecTemp d;
    a->GridToValues(*GridA, false, true);
    const TMtxType type = a->DetectMtxType();
    a->SetBalance(FBalance);
    a->Eig(vl.get(), *d, vr.get(), type, FVectorForm, true);
    RaiseOnFailure(*a, "Eig");
    FA->Copy(*a);
    FVL->Copy(*vl);
    FVR->Copy(*vr);
    FD->Copy(*d);
    ResetGrid(*GridD, 3, kOrder + 1, true);
    GridD->SetCells(0, 0, "D " + std::to_string(FD->Length()) + "x1");
    FD->ValuesToGrid(*GridD, 0, 0, kValueFormat, true, true);
    ShowEigenvectors(btnLeft->isChecked());
}

void TEigVec1::ShowEigenvectors(bool Left)
{
    const TMtx& v = Left ? *FVL : *FVR;
    ResetGrid(*GridV, 2 * kOrder + 1, kOrder + 1, true);
    v.ValuesToGrid(*GridV, 0, 0, kValueFormat, true);
    GridV->SetCells(0, 0, std::string(Left ? "VL " : "VR ") + std::to_string(v.Rows()) + "x" + std::to_string(v.Cols()));
}

}  // namespace paxtor

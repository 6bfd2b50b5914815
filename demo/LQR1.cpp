#include "demo/LQR1.h"

#include <QHBoxLayout>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "demo/DemoFiles.h"
#include "demo/MatrixPages.h"
#include "platform/gui/Guard.h"

namespace paxtor {

using namespace tarnel;
using tarnel::gui::Guard;
using tarnel::gui::TStringGrid;

namespace {

constexpr int kColumnWidth = 60;

struct TExample {
    int Rows, Cols;
    double Low, High;
    int ZeroRow, ZeroCol;  // the row or the column set to zero, -1 for none
    const char* CheckCaption;
};

constexpr TExample kExamples[4] = {
    {2, 4, 2, 10, -1, -1, "LQ = A ? "},
    {3, 2, -10, -3, -1, -1, "QR = A ? "},
    {2, 4, 2, 10, -1, 0, "USV' = A ? "},
    {3, 2, 2, 10, 0, -1, "USV' = A ? "},
};

TStringGrid* MakeFactorGrid(QWidget* parent, const char* name, bool editable)
{
    TStringGrid* grid = MakeGrid(parent, name, editable);
    grid->SetDefaultColWidth(kColumnWidth);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return grid;
}

}  // namespace

TLQRDemo::TLQRDemo(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/LQRTXT.rtf"));
    FSV->SetCaption("Singular values");

    auto* middle = new QHBoxLayout(Panel3);
    middle->setContentsMargins(4, 4, 4, 4);
    RadioGroup1 = new QGroupBox(QStringLiteral("Examples : "), Panel3);
    RadioGroup1->setObjectName("RadioGroup1");
    auto* items = new QVBoxLayout(RadioGroup1);
    ExampleItems = new QButtonGroup(RadioGroup1);
    const QString captions[4] = {QStringLiteral("LQ (Rows < Cols)"), QStringLiteral("QR (Rows > Cols)"),
                                 QStringLiteral("SVD (Rows < Cols)"), QStringLiteral("SVD (Rows > Cols)")};
    for (int i = 0; i < 4; ++i) {
        auto* item = new QRadioButton(captions[i], RadioGroup1);
        ExampleItems->addButton(item, i);
        items->addWidget(item);
    }
    items->addStretch(1);
    ExampleItems->button(1)->setChecked(true);
    middle->addWidget(RadioGroup1, 0);
    GridA = MakeFactorGrid(Panel3, "GridA", true);
    // The result grids sit in a box of their own, placed by Decompose.
    FResults = new QWidget(Panel3);
    FResults->setObjectName("Results");
    GridRes1 = MakeFactorGrid(FResults, "GridRes1", false);
    GridRes2 = MakeFactorGrid(FResults, "GridRes2", false);
    FResults->setFixedSize(0, 0);  // nothing to show before the first decomposition
    auto* gridA = new QVBoxLayout;
    gridA->addWidget(MakeGridCaption(Panel3, QStringLiteral("Matrix A : "), GridA));
    gridA->addWidget(GridA);
    gridA->addStretch(1);
    middle->addSpacing(8);
    middle->addLayout(gridA);
    middle->addSpacing(16);
    auto* resultBox = new QVBoxLayout;
    resultBox->addSpacing(gridA->itemAt(0)->widget()->sizeHint().height() + gridA->spacing());
    resultBox->addWidget(FResults);
    resultBox->addStretch(1);
    middle->addLayout(resultBox);
    middle->addStretch(1);

    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(8, 4, 8, 4);
    CheckEconomy = new QCheckBox(QStringLiteral("\"Ecomony\" size"), Panel2);
    CheckEconomy->setObjectName("CheckEconomy");
    btnDecompose = new QPushButton(QStringLiteral("Perform decomposition"), Panel2);
    btnDecompose->setObjectName("btnDecompose");
    btnSingular = new QPushButton(QStringLiteral("Singular values"), Panel2);
    btnSingular->setObjectName("btnSingular");
    btnCheck = new QPushButton(Panel2);
    btnCheck->setObjectName("btnCheck");
    bottom->addWidget(CheckEconomy);
    for (QPushButton* b : {btnDecompose, btnSingular, btnCheck}) bottom->addWidget(b, 0, Qt::AlignVCenter);
    bottom->addStretch(1);

    connect(ExampleItems, &QButtonGroup::idClicked, this, Guard([this](int id) { SelectExample(id); }));
    connect(btnDecompose, &QPushButton::clicked, this, Guard([this] { Decompose(); }));
    connect(btnSingular, &QPushButton::clicked, this, Guard([this] { ShowSingularValues(); }));
    connect(btnCheck, &QPushButton::clicked, this, Guard([this] { CheckProduct(); }));

    SelectExample(1);
    FHelp.Apply(HelpNumber(5120));
}

void TLQRDemo::ShowInGrid(TStringGrid& Grid, const TMtx& Mtx)
{
    ShowMatrix(Grid, Mtx, "0.0000", true);
    Grid.SetCells(0, 0, Mtx.Caption());
    Grid.setFixedSize(Grid.ColCount() * Grid.DefaultColWidth() + 10, Grid.RowCount() * Grid.DefaultRowHeight() + 10);
}

void TLQRDemo::SelectExample(int Item)
{
    if (Item < 0 || Item > 3) return;
    if (ExampleItems->checkedId() != Item) ExampleItems->button(Item)->setChecked(true);
    FExample = Item;
    const TExample& e = kExamples[Item];
    FA->Size(e.Rows, e.Cols, false);
    FA->RandUniform(e.Low, e.High);
    const TRowsView<double> a = FA->Values2D();
    if (e.ZeroCol >= 0)
        for (int i = 0; i < e.Rows; ++i) a[i][e.ZeroCol] = 0;
    if (e.ZeroRow >= 0)
        for (int j = 0; j < e.Cols; ++j) a[e.ZeroRow][j] = 0;
    btnCheck->setText(QString::fromLatin1(e.CheckCaption));
    btnCheck->setEnabled(false);
    btnSingular->setEnabled(false);
    FA->SetCaption("A " + std::to_string(e.Rows) + "x" + std::to_string(e.Cols));
    ShowInGrid(*GridA, *FA);
}

void TLQRDemo::Decompose()
{
    detail::TMtxTemp a, lu, qv, r;
    detail::TVecTemp sv;
    a->GridToValues(*GridA, false, true);
    const bool economy = CheckEconomy->isChecked();
    if (FExample == 0) {
        a->LQR(lu.get(), qv.get(), nullptr, economy);
        RaiseOnFailure(*a, "LQR");
    } else if (FExample == 1) {
        a->LQR(nullptr, qv.get(), r.get(), economy);
        RaiseOnFailure(*a, "LQR");
    } else {
        a->SVD(lu.get(), *sv, qv.get(), economy);
        RaiseOnFailure(*a, "SVD");
    }
    FA->Copy(*a);
    FLU->Copy(*lu);
    FQV->Copy(*qv);
    FR->Copy(*r);
    if (FExample == 0) {
        FLU->SetCaption("L");
        FQV->SetCaption("Q");
        FShown1 = FLU.get();
        FShown2 = FQV.get();
    } else if (FExample == 1) {
        FQV->SetCaption("Q");
        FR->SetCaption("R");
        FShown1 = FQV.get();
        FShown2 = FR.get();
    } else {
        FLU->SetCaption("U");
        FQV->SetCaption("V");
        FShown1 = FLU.get();
        FShown2 = FQV.get();
        FSV->Copy(*sv);
        btnSingular->setEnabled(true);
    }
    ShowInGrid(*GridRes1, *FShown1);
    ShowInGrid(*GridRes2, *FShown2);
    GridRes1->move(0, 0);
    GridRes2->move(GridRes1->width() + 10, 0);  // 10 pixels right of the first
    FResults->setFixedSize(GridRes2->x() + GridRes2->width(), std::max(GridRes1->height(), GridRes2->height()));
    btnCheck->setEnabled(true);
}

void TLQRDemo::BuildS()
{
    FS->Size(FLU->Cols(), FQV->Cols(), FSV->Complex());
    FS->SetZero();
    FS->Diag(*FSV, 0);
}

void TLQRDemo::ShowSingularValues()
{
    BuildS();
    ViewMatrix(*FS, QStringLiteral("Singular values"));
}

void TLQRDemo::CheckProduct()
{
    if (FExample == 0) {
        FCheck1->Mul(*FLU, *FQV, mtGeneral, mtGeneral, opNone, opNone);
        ViewMatrix(*FCheck1, QStringLiteral("LQ = A ?"));
    } else if (FExample == 1) {
        FCheck1->Mul(*FQV, *FR, mtGeneral, mtGeneral, opNone, opNone);
        ViewMatrix(*FCheck1, QStringLiteral("QR = A ?"));
    } else {
        BuildS();
        FCheck1->Mul(*FS, *FQV, opNone, opTran);
        FCheck2->Mul(*FLU, *FCheck1, mtGeneral, mtGeneral, opNone, opNone);
        ViewMatrix(*FCheck2, QStringLiteral("U*S*V' = A ?"));
    }
}

}  // namespace paxtor

#include "demo/InverseMtx.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QSignalBlocker>

#include "demo/DemoFiles.h"
#include "demo/MatrixPages.h"
#include "demo/TimingRun.h"
#include "platform/gui/Guard.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

TInvMtx::TInvMtx(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/InvMtx.rtf"));

    auto* grids = new QGridLayout(Panel3);
    grids->setContentsMargins(4, 4, 4, 4);
    GridA = MakeGrid(Panel3, "GridA", true);
    GridInv = MakeGrid(Panel3, "GridInv", false);
    grids->addWidget(MakeGridCaption(Panel3, QStringLiteral("A : "), GridA), 0, 0);
    grids->addWidget(MakeGridCaption(Panel3, QStringLiteral("A-1 : "), GridInv), 0, 1);
    grids->addWidget(GridA, 1, 0);
    grids->addWidget(GridInv, 1, 1);
    grids->setRowStretch(1, 1);

    // The bottom: the track bar with its caption and value, then the three buttons.
    const TDimensionPanel dim =
        BuildDimensionPanel(Panel2, QStringLiteral("Matrix dimension (Rows/Cols)"), {2, 100, 4, 4});
    lblDim = dim.lblDim;
    TrackBar1 = dim.TrackBar1;
    btnGenerate = dim.btnCompare;
    btnGenerate->setText(QStringLiteral("Generate random matrix"));
    btnGenerate->setObjectName("btnGenerate");
    btnInverse = new QPushButton(QStringLiteral("Inverse of matrix"), Panel2);
    btnInverse->setObjectName("btnInverse");
    btnCheck = new QPushButton(QStringLiteral("A*A-1 = ?"), Panel2);
    btnCheck->setObjectName("btnCheck");
    auto* bottom = static_cast<QBoxLayout*>(Panel2->layout());
    const int at = bottom->indexOf(btnGenerate) + 1;
    bottom->insertWidget(at, btnCheck, 0, Qt::AlignVCenter);
    bottom->insertWidget(at, btnInverse, 0, Qt::AlignVCenter);

    connect(TrackBar1, &QSlider::valueChanged, this, Guard([this] { TrackBarChange(); }));
    connect(btnGenerate, &QPushButton::clicked, this, Guard([this] { Generate(); }));
    connect(btnInverse, &QPushButton::clicked, this, Guard([this] { Inverse(); }));
    connect(btnCheck, &QPushButton::clicked, this, Guard([this] { Check(); }));

    FDim = TrackBar1->value();
    lblDim->setText(QString::number(FDim));
    FHelp.Apply(HelpNumber(4890));
    Generate();
}

void TInvMtx::TrackBarChange()
{
    FDim = TrackBar1->value();
    lblDim->setText(QString::number(FDim));
    btnInverse->setEnabled(false);
    btnCheck->setEnabled(false);
}

void TInvMtx::Generate()
{
    FA->Size(FDim, FDim, false);
    ResetGrid(*GridA, FDim, FDim, false);
    ResetGrid(*GridInv, FDim, FDim, false);
    FA->RandUniform(-5, 5);
    FA->ValuesToGrid(*GridA, 0, 0, "0.0000", false);
    btnInverse->setEnabled(true);
    btnCheck->setEnabled(false);
}

void TInvMtx::Inverse()
{
    detail::TMtxTemp inv;
    inv->Size(*FA);
    inv->GridToValues(*GridA, FInv->Complex(), false);
    inv->SetAutoMtxType(true);
    inv->Inv(mtGeneral);
    RaiseOnFailure(*inv, "Inv");
    FInv->Copy(*inv);
    ShowMatrix(*GridInv, *FInv, "0.0000", false);
    btnCheck->setEnabled(true);
}

void TInvMtx::Check()
{
    FProduct->Mul(*FA, *FInv, mtGeneral, mtGeneral, opNone, opNone);
    ViewMatrix(*FProduct, QStringLiteral("A*A-1 = ?"));
}

}  // namespace paxtor

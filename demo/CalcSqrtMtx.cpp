#include "demo/CalcSqrtMtx.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/TempGuard.h"
#include "demo/DemoFiles.h"
#include "demo/MatrixPages.h"
#include "platform/gui/Guard.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

namespace {

constexpr int kOrder = 3;

}  // namespace

TfrmSqrtMtx::TfrmSqrtMtx(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/MtxSqrt.rtf"));

    auto* middle = new QGridLayout(Panel3);
    middle->setContentsMargins(4, 4, 4, 4);
    RadioGroup1 = new QGroupBox(QStringLiteral(" Matrix type "), Panel3);
    RadioGroup1->setObjectName("RadioGroup1");
    auto* items = new QVBoxLayout(RadioGroup1);
    TypeItems = new QButtonGroup(RadioGroup1);
    const QString captions[2] = {QStringLiteral("Symmetric"), QStringLiteral("General")};
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(captions[i], RadioGroup1);
        TypeItems->addButton(item, i);
        items->addWidget(item);
    }
    items->addStretch(1);
    TypeItems->button(0)->setChecked(true);
    GridA = MakeGrid(Panel3, "GridA", true);
    GridSqrt = MakeGrid(Panel3, "GridSqrt", false);
    middle->addWidget(RadioGroup1, 1, 0);
    middle->addWidget(MakeGridCaption(Panel3, QStringLiteral("A : "), GridA), 0, 1);
    middle->addWidget(MakeGridCaption(Panel3, QStringLiteral("Sqrt A :"), GridSqrt), 0, 2);
    middle->addWidget(GridA, 1, 1);
    middle->addWidget(GridSqrt, 1, 2);
    middle->setColumnStretch(1, 4);
    middle->setColumnStretch(2, 7);
    middle->setRowStretch(1, 1);

    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(8, 4, 8, 4);
    btnGenerate = new QPushButton(QStringLiteral("Generate random matrix"), Panel2);
    btnGenerate->setObjectName("btnGenerate");
    btnSqrt = new QPushButton(QStringLiteral("SQRT(A)"), Panel2);
    btnSqrt->setObjectName("btnSqrt");
    btnCheck = new QPushButton(QStringLiteral("SQRT(A)*SQRT(A) ?"), Panel2);
    btnCheck->setObjectName("btnCheck");
    for (QPushButton* b : {btnGenerate, btnSqrt, btnCheck}) bottom->addWidget(b, 0, Qt::AlignVCenter);
    bottom->addStretch(1);

    connect(btnGenerate, &QPushButton::clicked, this, Guard([this] { Generate(); }));
    connect(btnSqrt, &QPushButton::clicked, this, Guard([this] { Sqrt(); }));
    connect(btnCheck, &QPushButton::clicked, this, Guard([this] { Check(); }));

    Generate();
    FHelp.Apply(HelpKept);
}

void TfrmSqrtMtx::Generate()
{
    FA.Size(kOrder, kOrder, false);
    ResetGrid(*GridA, FA.Cols() + 1, FA.Rows() + 1, true);
    ResetGrid(*GridSqrt, 2 * FA.Cols() + 1, FA.Rows() + 1, true);  // room for a complex root
    FA.RandUniform(2, 10);
    if (Symmetric()) {
        const TRowsView<double> a = FA.Values2D();
        for (int i = 0; i < FA.Rows(); ++i)
            for (int j = 0; j < i; ++j) a[i][j] = a[j][i];
    }
    FA.ValuesToGrid(*GridA, 0, 0, "0.0000", true);
    btnSqrt->setEnabled(true);
    btnCheck->setEnabled(false);
}

void TfrmSqrtMtx::Sqrt()
{
    detail::TMtxTemp read, root;
    read->Size(FA);
    read->GridToValues(*GridA, false, true);
    root->MtxSqrt(*read, Symmetric() ? mtSymmetric : mtGeneral);
    RaiseOnFailure(*root, "MtxSqrt");
    FRead.Copy(*read);
    FRoot.Copy(*root);
    ShowMatrix(*GridSqrt, FRoot, "0.0000", true);
    if (GridSqrt->ColCount() < 2 * FA.Cols() + 1) GridSqrt->SetColCount(2 * FA.Cols() + 1);
    btnCheck->setEnabled(true);
}

void TfrmSqrtMtx::Check()
{
    FRead.Mul(FRoot, FRoot, mtGeneral, mtGeneral, opNone, opNone);
    if (FRead.Complex()) {
        FRoot.RealPart(FRead);
    } else {
        FRoot.Copy(FRead);
    }
    ShowMessage(FRoot.Equal(FA, 0.001) ? QStringLiteral("Succeeded!") : QStringLiteral("Failed!"));
    btnCheck->setEnabled(false);
}

}  // namespace paxtor

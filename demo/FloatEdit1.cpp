#include "demo/FloatEdit1.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

#include "demo/DemoFiles.h"
#include "demo/MatrixPages.h"
#include "platform/gui/Guard.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

namespace {

TMtxFloatEdit* MakeNumberEdit(QWidget* Parent, const char* Name, const char* Start)
{
    auto* e = new TMtxFloatEdit(Parent);
    e->setObjectName(Name);
    e->SetReFormat(QStringLiteral("0.####;-0.####"));
    e->SetImFormat(QStringLiteral("+0.####i;-0.####i"));
    e->SetIncrement(QStringLiteral("1"));
    e->SetValue(QString::fromLatin1(Start));
    e->setMinimumWidth(140);
    return e;
}

}  // namespace

TfrmFloatEdit1::TfrmFloatEdit1(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/FloatEdit.rtf"));

    auto* middle = new QHBoxLayout(Panel3);
    middle->setContentsMargins(8, 8, 8, 8);
    middle->setSpacing(24);

    // The two operands, each with its editor button, and the result below them.
    auto* values = new QGridLayout;
    MtxFloatEdit1 = MakeNumberEdit(Panel3, "MtxFloatEdit1", "2+2i");
    MtxFloatEdit2 = MakeNumberEdit(Panel3, "MtxFloatEdit2", "2+5i");
    btnEdit1 = MakeButton(Panel3, "btnEdit1", QStringLiteral("<- Edit"));
    btnEdit2 = MakeButton(Panel3, "btnEdit2", QStringLiteral("<- Edit"));
    values->addWidget(new QLabel(QStringLiteral("Z1 = "), Panel3), 0, 0, Qt::AlignRight);
    values->addWidget(MtxFloatEdit1, 0, 1);
    values->addWidget(btnEdit1, 0, 2);
    values->addWidget(new QLabel(QStringLiteral("Z2 = "), Panel3), 1, 0, Qt::AlignRight);
    values->addWidget(MtxFloatEdit2, 1, 1);
    values->addWidget(btnEdit2, 1, 2);
    Edit1 = new QLineEdit(Panel3);
    Edit1->setObjectName("Edit1");
    Edit1->setReadOnly(true);
    Edit1->setMinimumWidth(300);
    values->addWidget(new QLabel(QStringLiteral("Result"), Panel3), 2, 1, Qt::AlignBottom);
    values->addWidget(Edit1, 3, 1, 1, 2);
    values->setRowStretch(4, 1);
    middle->addLayout(values);

    auto* operation = new QGroupBox(QStringLiteral("Operation"), Panel3);
    operation->setObjectName("GroupBox1");
    auto* buttons = new QGridLayout(operation);
    const char* captions[4] = {"Z1 * Z2", "Z1 / Z2", "Z1 + Z2", "Z1 - Z2"};
    for (int i = 0; i < 4; ++i) {
        btnOps[i] = MakeButton(operation, qPrintable(QStringLiteral("btnOp%1").arg(i + 1)),
                               QString::fromLatin1(captions[i]));
        buttons->addWidget(btnOps[i], i / 2, i % 2);
        connect(btnOps[i], &QPushButton::clicked, this,
                Guard([this, i] { Calculate(static_cast<TOperation>(i)); }));
    }
    middle->addWidget(operation, 0, Qt::AlignTop);
    middle->addStretch(1);

    connect(btnEdit1, &QPushButton::clicked, this, Guard([this] { MtxFloatEdit1->ShowStepEditor(true); }));
    connect(btnEdit2, &QPushButton::clicked, this, Guard([this] { MtxFloatEdit2->ShowStepEditor(true); }));
    FHelp.Apply(HelpKept);
}

void TfrmFloatEdit1::Calculate(TOperation Op)
{
    const TCplx z1 = MtxFloatEdit1->CplxValue();
    const TCplx z2 = MtxFloatEdit2->CplxValue();
    switch (Op) {
        case opMul:
            FResult = CMul(z1, z2);
            break;
        case opDiv:
            FResult = CDiv(z1, z2);
            break;
        case opAdd:
            FResult = CAdd(z1, z2);
            break;
        case opSub:
            FResult = CSub(z1, z2);
            break;
    }
    Edit1->setText(QString::fromStdString(CplxToStr(FResult, 4)));
}

}  // namespace paxtor

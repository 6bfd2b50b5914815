#include "demo/Basic1.h"

#include <QVBoxLayout>

#include "platform/gui/Guard.h"

namespace paxtor {

using namespace tarnel::gui;

void SetUpPageText(TRichEdit* edit)
{
    edit->setReadOnly(true);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette pal = edit->palette();
    pal.setColor(QPalette::Base, ColorFromBGR(0xFFDFDF));
    edit->setPalette(pal);
    edit->clear();
}

TBasicForm1::TBasicForm1(QWidget* owner) : TForm(owner)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFixedHeight(130);
    auto* top = new QVBoxLayout(Panel1);
    top->setContentsMargins(2, 2, 2, 2);
    RichEdit1 = new TRichEdit(Panel1);
    RichEdit1->setObjectName("RichEdit1");
    top->addWidget(RichEdit1);
    layout->addWidget(Panel1);

    Chart1 = new TChart(this);
    Chart1->setObjectName("Chart1");
    Chart1->SetGradientEndColor(ColorFromBGR(0xC08000));
    layout->addWidget(Chart1, 1);

    Panel2 = new QFrame(this);
    Panel2->setObjectName("Panel2");
    Panel2->setFixedHeight(74);
    CheckDownSample = new QCheckBox(QStringLiteral("DownSample"), Panel2);
    CheckDownSample->setObjectName("CheckDownSample");
    CheckDownSample->move(8, 8);
    layout->addWidget(Panel2);

    connect(CheckDownSample, &QCheckBox::toggled, this, Guard([this] { CheckDownSampleClick(); }));

    // The base form's create handler: an empty page text.
    SetUpPageText(RichEdit1);
}

void TBasicForm1::CheckDownSampleClick()
{
    FDownSample = CheckDownSample->isChecked();
    Chart1->SetZoomAllowed(!FDownSample);
}

}  // namespace paxtor

#include "demo/Basic2.h"

#include <QVBoxLayout>

#include "demo/Basic1.h"

namespace paxtor {

TBasicForm2::TBasicForm2(QWidget* owner) : TForm(owner)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFixedHeight(160);
    auto* top = new QVBoxLayout(Panel1);
    top->setContentsMargins(2, 2, 2, 2);
    RichEdit1 = new tarnel::gui::TRichEdit(Panel1);
    RichEdit1->setObjectName("RichEdit1");
    top->addWidget(RichEdit1);
    layout->addWidget(Panel1);

    Panel3 = new QFrame(this);
    Panel3->setObjectName("Panel3");
    layout->addWidget(Panel3, 1);

    Panel2 = new QFrame(this);
    Panel2->setObjectName("Panel2");
    Panel2->setFixedHeight(71);
    layout->addWidget(Panel2);

    SetUpPageText(RichEdit1);
}

}  // namespace paxtor

#include "demo/Basic3.h"

#include <QVBoxLayout>

#include "demo/Basic1.h"

namespace paxtor {

TBasicForm3::TBasicForm3(QWidget* owner) : TForm(owner)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    RichEdit1 = new tarnel::gui::TRichEdit(this);
    RichEdit1->setObjectName("RichEdit1");
    layout->addWidget(RichEdit1);
    SetUpPageText(RichEdit1);
}

}  // namespace paxtor

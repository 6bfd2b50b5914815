// TBasicForm2: the base of the pages with their own controls. The explanation on top, and two empty panels, one
// filling the middle and one at the bottom, for the page's controls.
#pragma once

#include <QFrame>

#include "platform/gui/Controls.h"

namespace paxtor {

class TBasicForm2 : public tarnel::gui::TForm {
    Q_OBJECT
public:
    explicit TBasicForm2(QWidget* owner);

    QFrame* Panel1;  // top, 160 px, holds the explanation
    tarnel::gui::TRichEdit* RichEdit1;
    QFrame* Panel3;  // fills the middle
    QFrame* Panel2;  // bottom, 71 px
};

}  // namespace paxtor

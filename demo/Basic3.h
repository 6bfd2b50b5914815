// TBasicForm3: the base of the pages that only show text: the explanation fills the whole page.
#pragma once

#include "platform/gui/Controls.h"

namespace paxtor {

class TBasicForm3 : public tarnel::gui::TForm {
    Q_OBJECT
public:
    explicit TBasicForm3(QWidget* owner);

    tarnel::gui::TRichEdit* RichEdit1;
};

}  // namespace paxtor

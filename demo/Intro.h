// TIntroduction: the welcome page, a title over the introduction text.
#pragma once

#include <QLabel>

#include "demo/PageContract.h"
#include "platform/gui/Controls.h"

namespace paxtor {

class TIntroduction : public tarnel::gui::TForm {
    Q_OBJECT
public:
    explicit TIntroduction(QWidget* owner);

    QLabel* Label1;  // "Welcome to Tarnel v 1.5"
    tarnel::gui::TRichEdit* RichEdit1;

private:
    TPageHelp FHelp;
};

}  // namespace paxtor

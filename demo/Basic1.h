// TBasicForm1: the base of the pages with one chart. The explanation on top, the chart in the middle and a
// bottom panel with the "DownSample" check box.
#pragma once

#include <QCheckBox>
#include <QFrame>

#include "platform/gui/Chart.h"
#include "platform/gui/Controls.h"

namespace paxtor {

class TBasicForm1 : public tarnel::gui::TForm {
    Q_OBJECT
public:
    explicit TBasicForm1(QWidget* owner);

    QFrame* Panel1;  // top, 130 px, holds the explanation
    tarnel::gui::TRichEdit* RichEdit1;
    tarnel::gui::TChart* Chart1;  // fills the middle
    QFrame* Panel2;               // bottom, 74 px
    QCheckBox* CheckDownSample;

    bool DownSample() const { return FDownSample; }

protected:
    // The handler of "DownSample"; a page that binds its own work to the box overrides it and calls this first.
    virtual void CheckDownSampleClick();
    bool FDownSample = false;  // whether the page draws its chart through pixel down-sampling
};

// The settings the three base forms share for their explanation box: read-only, vertical scroll bar, $FFDFDF.
void SetUpPageText(tarnel::gui::TRichEdit* edit);

}  // namespace paxtor

// The page shown for a demonstration that this version of the program does not have yet. It says so, names the
// page class, and switches the help button off.
#pragma once

#include "demo/PageContract.h"
#include "platform/gui/Controls.h"

namespace paxtor {

class TPendingPage : public tarnel::gui::TForm {
    Q_OBJECT
public:
    TPendingPage(QWidget* owner, const QString& className);
    QString PageClassName() const { return FClassName; }

private:
    QString FClassName;
    TPageHelp FHelp;
};

}  // namespace paxtor

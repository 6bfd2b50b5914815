#include "demo/PageContract.h"

#include "platform/gui/Help.h"

namespace paxtor {

using tarnel::gui::TFlatButton;

TPageHelp::~TPageHelp()
{
    if (FHooked) FHooked->OnClick = nullptr;
}

void TPageHelp::Apply(THelpKind kind)
{
    FKind = kind;
    TFlatButton* button = FPage->FindOwnerComponent<TFlatButton>(QString::fromLatin1(HelpButtonName));
    if (!button) return;  // a page outside the main window has no help button to wire
    switch (kind.Mode) {
        case THelpKind::Number:
            button->OnClick = [this] { HelpClick(); };
            button->setEnabled(true);
            FHooked = button;
            break;
        case THelpKind::Off:
            button->setEnabled(false);
            break;
        case THelpKind::Kept:
            break;
    }
}

void TPageHelp::HelpClick() const
{
    if (FKind.Mode == THelpKind::Number) tarnel::gui::HelpContext(FKind.Context);
}

}  // namespace paxtor

// The page contract: what every page does with the main window's help button.
//
// A page with a help number hands the button its own help handler and enables it; its destruction takes the
// handler back (the button stays enabled and then does nothing). A page whose help is off disables the button
// and leaves its handler. A page whose help is kept does not touch the button. Each page does this as the last
// step of its construction, after its text and its own set-up.
#pragma once

#include <QPointer>

#include "platform/gui/Controls.h"

namespace paxtor {

struct THelpKind {
    enum TMode { Off, Kept, Number };
    TMode Mode;
    int Context;
};
inline constexpr THelpKind HelpOff{THelpKind::Off, 0};
inline constexpr THelpKind HelpKept{THelpKind::Kept, 0};
constexpr THelpKind HelpNumber(int context)
{
    return {THelpKind::Number, context};
}

// The object name of the main window's help button, by which pages find it among their owner's components.
inline constexpr const char* HelpButtonName = "btnHelp";

// The help wiring of one page; a member of the page, so that its destruction releases the button.
class TPageHelp {
public:
    explicit TPageHelp(tarnel::gui::TForm* page) : FPage(page) {}
    ~TPageHelp();
    TPageHelp(const TPageHelp&) = delete;
    TPageHelp& operator=(const TPageHelp&) = delete;

    void Apply(THelpKind kind);
    THelpKind Kind() const { return FKind; }
    // The page's help handler: opens the help at the page's context number.
    void HelpClick() const;

private:
    tarnel::gui::TForm* FPage;
    QPointer<tarnel::gui::TFlatButton> FHooked;  // the button whose handler this page set
    THelpKind FKind = HelpKept;
};

}  // namespace paxtor

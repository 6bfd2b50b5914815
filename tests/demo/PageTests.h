// What the page suites share: a tick count under which every timed block takes 7 ms (starting just below the
// wrap-around, so a difference across it is taken too), and opening a page through the main window as a user does.
#pragma once

#include <QString>
#include <cstdint>

#include "demo/Main.h"
#include "platform/rtl/TickCount.h"

namespace pagetest {

inline std::uint32_t gTick = 0;
inline std::uint32_t SteppingTicks()
{
    const std::uint32_t t = gTick;
    gTick += 7;
    return t;
}

// Installs SteppingTicks for its lifetime.
struct TSteppingTicks {
    tarnel::TTickSource Previous;
    TSteppingTicks() : Previous(tarnel::SetTickSource(SteppingTicks)) { gTick = 0xFFFFFFF0u; }
    ~TSteppingTicks() { tarnel::SetTickSource(Previous); }
};

// Selects the node of that caption; the page it shows, as TPage (nullptr for another class).
template <class TPage>
TPage* Open(paxtor::TfrmMain& Window, const char* Caption)
{
    const int index = Window.FindNode(QString::fromLatin1(Caption));
    if (index < 0) qFatal("no node %s", Caption);
    Window.SelectNode(index);
    return dynamic_cast<TPage*>(Window.ExampleForm());
}

}  // namespace pagetest

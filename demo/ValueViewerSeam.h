// The value viewer as the export pages open it: modal, not on top, through one replaceable procedure, so that a
// test sees what would be shown (the object and the caption) without a modal window.
#pragma once

#include <QString>
#include <functional>

#include "core/Tarnel.h"

namespace paxtor {

// Exactly one of Mtx and Vec is given.
using TValueViewerProc = std::function<void(tarnel::TMtx* Mtx, tarnel::TVec* Vec, const QString& Caption)>;
// Installs a viewer (an empty one: the "View values" window again) and returns the one it replaced.
TValueViewerProc SetValueViewer(TValueViewerProc Proc);

// ViewValues (Mtx or Vec, Caption, modal, not on top), or the installed viewer.
void ShowValuesModal(tarnel::TMtx& Mtx, const QString& Caption);
void ShowValuesModal(tarnel::TVec& Vec, const QString& Caption);

}  // namespace paxtor

// The value viewer as the demonstration pages open it: through one replaceable procedure, so that the page tests can
// record what a page shows instead of opening the viewer's window (a modal window would wait for a user).
#pragma once

#include <QString>
#include <functional>

#include "core/mtx_class.h"
#include "core/vec_class.h"

namespace paxtor {

// What a page hands the viewer: a matrix or a vector (the other is nullptr), the caption and whether modal.
using TPageViewer = std::function<void(tarnel::TMtx* Mtx, tarnel::TVec* Vec, const QString& Caption, bool Modal)>;

// Installs a viewer in place of ViewValues (an empty procedure: ViewValues again) and returns the one it replaced.
TPageViewer SetPageViewer(TPageViewer Viewer);

// ViewValues of the value viewer and editor (not on top), or the installed procedure.
void ViewPageValues(tarnel::TMtx& Mtx, const QString& Caption, bool Modal);
void ViewPageValues(tarnel::TVec& Vec, const QString& Caption, bool Modal);

}  // namespace paxtor

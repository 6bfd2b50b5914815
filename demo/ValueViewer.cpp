#include "demo/ValueViewer.h"

#include <utility>

#include "components/TarnelEdit.h"

namespace paxtor {

namespace {

TPageViewer& Installed()
{
    static TPageViewer viewer;
    return viewer;
}

}  // namespace

TPageViewer SetPageViewer(TPageViewer Viewer)
{
    return std::exchange(Installed(), std::move(Viewer));
}

void ViewPageValues(tarnel::TMtx& Mtx, const QString& Caption, bool Modal)
{
    if (Installed())
        Installed()(&Mtx, nullptr, Caption, Modal);
    else
        tarnel::ViewValues(Mtx, Caption, Modal, false);
}

void ViewPageValues(tarnel::TVec& Vec, const QString& Caption, bool Modal)
{
    if (Installed())
        Installed()(nullptr, &Vec, Caption, Modal);
    else
        tarnel::ViewValues(Vec, Caption, Modal, false);
}

}  // namespace paxtor

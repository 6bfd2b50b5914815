#include "demo/ValueViewerSeam.h"

#include <utility>

#include "components/TarnelEdit.h"

namespace paxtor {

namespace {

TValueViewerProc& Viewer()
{
    static TValueViewerProc viewer;
    return viewer;
}

}  // namespace

TValueViewerProc SetValueViewer(TValueViewerProc Proc)
{
    return std::exchange(Viewer(), std::move(Proc));
}

void ShowValuesModal(tarnel::TMtx& Mtx, const QString& Caption)
{
    if (Viewer()) return Viewer()(&Mtx, nullptr, Caption);
    tarnel::ViewValues(Mtx, Caption, true, false);
}

void ShowValuesModal(tarnel::TVec& Vec, const QString& Caption)
{
    if (Viewer()) return Viewer()(nullptr, &Vec, Caption);
    tarnel::ViewValues(Vec, Caption, true, false);
}

}  // namespace paxtor

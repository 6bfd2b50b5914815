// The chart library's series editor: a series that has an editor page names the page's class; the editor makes the
// page through the class registry, hands it the series and shows it modally.
#pragma once

#include <QString>

class QCPAbstractPlottable;

namespace tarnel::gui {

// A series with an editor page.
class TEditedSeries {
public:
    virtual ~TEditedSeries() = default;
    // The registered class name of the page (a widget that is also a TSeriesEditorPage).
    virtual QString EditorClassName() const = 0;
};

}  // namespace tarnel::gui

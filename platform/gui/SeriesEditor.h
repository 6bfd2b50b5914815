// The chart library's series editor and series gallery.
//
// A series that has an editor page names the page's registered class (TEditedSeries). EditSeries makes the page
// through the class registry, hands it the series (TSeriesEditorPage) and shows it modally in a window of its own.
// The gallery lists the series classes a module offers, with a description, a group and a number, as module
// start-up registers them.
#pragma once

#include <QColor>
#include <QString>
#include <functional>
#include <vector>

class QCPAbstractPlottable;
class QDialog;
class QWidget;

namespace tarnel::gui {

// A series with an editor page.
class TEditedSeries {
public:
    virtual ~TEditedSeries() = default;
    // The registered class name of the page (a widget that is also a TSeriesEditorPage).
    virtual QString EditorClassName() const = 0;
};

// An editor page: it receives the series it edits before it shows.
class TSeriesEditorPage {
public:
    virtual ~TSeriesEditorPage() = default;
    virtual void SetSeries(QCPAbstractPlottable* Series) = 0;
};

// Opens the editor page of Series in a modal window owned by Owner. Raises "The series has no editor page" for a
// series without one, and the class registry's "Class NAME not found" (or "Class NAME is not a series editor
// page") when the page's class is missing.
void EditSeries(QWidget* Owner, QCPAbstractPlottable* Series);
// Runs the editor's window modally: the standard procedure calls its exec(); tests install one that works the page
// and returns (an empty procedure restores the standard one).
using TSeriesEditorExecProc = std::function<void(QDialog& Window)>;
void SetSeriesEditorExec(TSeriesEditorExecProc Proc);

// The colour dialog of the chart library: asks for a colour starting from Colour; false (and Colour unchanged) for
// Cancel. Tests answer it through SetColorDialog (an empty procedure restores the dialog).
bool ChooseColor(QColor& Colour);
using TColorDialogProc = std::function<bool(QColor& Colour)>;
void SetColorDialog(TColorDialogProc Proc);

// The gallery.
struct TGallerySeries {
    QString ClassName;    // the series class
    QString Description;  // as the gallery shows it
    QString Group;
    int Number = 0;
};
// Adds a series class (once: a second registration of the name is ignored).
void RegisterTeeSeries(const TGallerySeries& Series);
// Removes it; unknown names are ignored.
void UnRegisterTeeSeries(const QString& ClassName);
const std::vector<TGallerySeries>& TeeSeriesGallery();

}  // namespace tarnel::gui

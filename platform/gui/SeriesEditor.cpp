#include "platform/gui/SeriesEditor.h"

#include <QColorDialog>
#include <QDialog>
#include <QVBoxLayout>
#include <algorithm>
#include <qcustomplot.h>

#include "platform/gui/ClassRegistry.h"

namespace tarnel::gui {

namespace {

TSeriesEditorExecProc& EditorExec()
{
    static TSeriesEditorExecProc proc;
    return proc;
}

TColorDialogProc& ColorDialog()
{
    static TColorDialogProc proc;
    return proc;
}

std::vector<TGallerySeries>& Gallery()
{
    static std::vector<TGallerySeries> list;
    return list;
}

}  // namespace

void EditSeries(QWidget* Owner, QCPAbstractPlottable* Series)
{
    const auto* edited = dynamic_cast<const TEditedSeries*>(Series);
    if (!edited) throw Exception("The series has no editor page");
    const QString name = edited->EditorClassName();
    const TRegisteredClass& cls = FindClass(name);
    QDialog window(Owner);
    window.setWindowTitle(Series->name().isEmpty() ? QStringLiteral("Editing series")
                                                   : QStringLiteral("Editing ") + Series->name());
    auto* layout = new QVBoxLayout(&window);
    QWidget* page = cls.Create(&window);
    auto* editor = dynamic_cast<TSeriesEditorPage*>(page);
    if (!editor) {
        delete page;
        throw EClassNotFound(("Class " + name + " is not a series editor page").toStdString());
    }
    layout->addWidget(page);
    editor->SetSeries(Series);
    if (EditorExec()) {
        EditorExec()(window);
    } else {
        window.exec();
    }
}

void SetSeriesEditorExec(TSeriesEditorExecProc Proc)
{
    EditorExec() = std::move(Proc);
}

bool ChooseColor(QColor& Colour)
{
    if (ColorDialog()) return ColorDialog()(Colour);
    const QColor chosen = QColorDialog::getColor(Colour);
    if (!chosen.isValid()) return false;
    Colour = chosen;
    return true;
}

void SetColorDialog(TColorDialogProc Proc)
{
    ColorDialog() = std::move(Proc);
}

void RegisterTeeSeries(const TGallerySeries& Series)
{
    auto& list = Gallery();
    const bool known = std::any_of(list.begin(), list.end(),
                                   [&](const TGallerySeries& s) { return s.ClassName == Series.ClassName; });
    if (!known) list.push_back(Series);
}

void UnRegisterTeeSeries(const QString& ClassName)
{
    auto& list = Gallery();
    list.erase(std::remove_if(list.begin(), list.end(), [&](const TGallerySeries& s) { return s.ClassName == ClassName; }),
               list.end());
}

const std::vector<TGallerySeries>& TeeSeriesGallery()
{
    return Gallery();
}

}  // namespace tarnel::gui

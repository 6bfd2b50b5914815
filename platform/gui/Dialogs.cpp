#include "platform/gui/Dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QStringList>

namespace tarnel::gui {

namespace {

TInputBoxProc& InputBoxProc()
{
    static TInputBoxProc proc;
    return proc;
}

TFileDialogProc& FileDialogProc()
{
    static TFileDialogProc proc;
    return proc;
}

// "Mtx files (*.mtx)|*.MTX|..." as Qt's name filters. The description stays as written; the patterns follow in
// both cases, since Qt matches them as the file system does.
QStringList NameFilters(const QString& filter)
{
    const QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            for (const QString& c : {t.toLower(), t.toUpper()})
                if (!patterns.contains(c)) patterns << c;
        }
        out << parts[i] + QStringLiteral(" (") + patterns.join(' ') + ')';
    }
    return out;
}

bool RunQtDialog(TFileDialog& d)
{
    QFileDialog dlg(nullptr, d.Title, d.InitialDir);
    dlg.setAcceptMode(d.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(d.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = NameFilters(d.Filter);
    dlg.setNameFilters(filters);
    if (d.FilterIndex >= 1 && d.FilterIndex <= filters.size()) dlg.selectNameFilter(filters[d.FilterIndex - 1]);
    if (!d.FileName.isEmpty()) dlg.selectFile(d.FileName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    d.FileName = dlg.selectedFiles().front();
    d.FilterIndex = static_cast<int>(filters.indexOf(dlg.selectedNameFilter())) + 1;
    return true;
}

}  // namespace

QString InputBox(const QString& Caption, const QString& Prompt, const QString& Default)
{
    if (InputBoxProc()) return InputBoxProc()(Caption, Prompt, Default);
    bool ok = false;
    const QString s = QInputDialog::getText(nullptr, Caption, Prompt, QLineEdit::Normal, Default, &ok);
    return ok ? s : Default;
}

void SetInputBox(TInputBoxProc Proc)
{
    InputBoxProc() = std::move(Proc);
}

bool TFileDialog::Execute()
{
    const bool chosen = FileDialogProc() ? FileDialogProc()(*this) : RunQtDialog(*this);
    if (!chosen) return false;
    if (!DefaultExt.isEmpty() && !QFileInfo(FileName).fileName().contains(QLatin1Char('.')))
        FileName += '.' + DefaultExt;
    return true;
}

void SetFileDialog(TFileDialogProc Proc)
{
    FileDialogProc() = std::move(Proc);
}

}  // namespace tarnel::gui

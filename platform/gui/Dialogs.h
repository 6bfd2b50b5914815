// The framework's small standard dialogs: the input box and the open and save dialogs. Each opens its Qt dialog
// unless a procedure was installed in its place (tests answer them so); an empty procedure restores the dialog.
#pragma once

#include <QString>
#include <functional>

namespace tarnel::gui {

// Asks for one line of text under Caption with the label Prompt, starting from Default. Cancel gives Default.
QString InputBox(const QString& Caption, const QString& Prompt, const QString& Default);
using TInputBoxProc = std::function<QString(const QString& Caption, const QString& Prompt, const QString& Default)>;
void SetInputBox(TInputBoxProc Proc);

// An open or a save dialog as the framework describes one. Filter is "description|patterns|description|..."
// (patterns separated by ";" and matched without regard to case); FilterIndex is 1-based; a file name chosen
// without an extension gets DefaultExt (without its dot). Execute shows the dialog and returns whether a file was
// chosen, FileName and FilterIndex then being the choice.
struct TFileDialog {
    bool Save = false;  // a save dialog (asks before replacing a file) rather than an open dialog
    QString Title;
    QString Filter;
    int FilterIndex = 1;
    QString DefaultExt;
    QString InitialDir;
    QString FileName;
    bool Execute();
};
// Answers a dialog in place of the window: sets FileName (as typed: DefaultExt is added afterwards) and
// FilterIndex and returns true, or returns false for Cancel.
using TFileDialogProc = std::function<bool(TFileDialog& Dialog)>;
void SetFileDialog(TFileDialogProc Proc);

}  // namespace tarnel::gui

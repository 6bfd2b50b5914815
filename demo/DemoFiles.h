// Where the program finds its data: the page texts (Texts/) and the help topics (Help/).
#pragma once

#include <QString>

namespace tarnel::gui {
class TRichEdit;
}

namespace paxtor {

// The data folder: set explicitly (tests, a command-line choice), else the executable's folder when it holds
// Texts/, else the source folder of the program (a program run from the build tree).
QString DataFolder();
void SetDataFolder(const QString& folder);  // empty: find it again as above
// A path relative to the data folder, written with "/".
QString DataPath(const QString& relative);

// Loads a page's explanation from a path relative to the data folder. Any failure leaves the text empty without
// a message box; each path that fails is reported once on standard error, so that a wrong path shows.
void LoadPageText(tarnel::gui::TRichEdit* edit, const QString& relative);

}  // namespace paxtor

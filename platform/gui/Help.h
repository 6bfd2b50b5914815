// Help by context number.
//
// The help file is a folder of HTML topics, one file "<context>.html" per context number. HelpContext opens the
// topic in the program's one help window (links between topics work there). A context without a topic raises,
// naming the missing file. SetHelpViewer replaces the window (tests record the context numbers).
#pragma once

#include <QString>
#include <functional>

namespace tarnel::gui {

void SetHelpFile(const QString& folder);  // "Application.HelpFile"
QString HelpFile();
// The topic file of a context number in the help folder.
QString HelpTopicFile(int context);

using THelpViewerProc = std::function<void(int context)>;
void SetHelpViewer(THelpViewerProc proc);  // empty: the help window

void HelpContext(int context);

}  // namespace tarnel::gui

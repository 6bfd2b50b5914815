#include "platform/gui/Help.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

#include "platform/gui/Guard.h"
#include "platform/rtl/SysUtils.h"

namespace tarnel::gui {

namespace {

QString& HelpFolder()
{
    static QString folder;
    return folder;
}

THelpViewerProc& ViewerProc()
{
    static THelpViewerProc proc;
    return proc;
}

// The help window: one for the program, made on first use and kept.
QTextBrowser* HelpWindow()
{
    static QPointer<QTextBrowser> window;
    if (!window) {
        window = new QTextBrowser;
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->setOpenExternalLinks(true);
        window->resize(640, 520);
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, window.data(), &QObject::deleteLater);
    }
    return window;
}

}  // namespace

void SetHelpFile(const QString& folder)
{
    HelpFolder() = folder;
}

QString HelpFile()
{
    return HelpFolder();
}

QString HelpTopicFile(int context)
{
    return QDir(HelpFolder()).filePath(QString::number(context) + QStringLiteral(".html"));
}

void SetHelpViewer(THelpViewerProc proc)
{
    ViewerProc() = std::move(proc);
}

void HelpContext(int context)
{
    if (ViewerProc()) {
        ViewerProc()(context);
        return;
    }
    const QString topic = HelpTopicFile(context);
    if (!QFileInfo(topic).isFile())
        throw Exception("Help topic " + std::to_string(context) + " not found: " + topic.toStdString());
    QTextBrowser* window = HelpWindow();
    const QString title = ApplicationTitle();
    window->setWindowTitle(title.isEmpty() ? QStringLiteral("Help") : title + QStringLiteral(" help"));
    window->setSearchPaths({HelpFolder()});
    window->setSource(QUrl::fromLocalFile(QFileInfo(topic).absoluteFilePath()));
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace tarnel::gui

#include "platform/gui/Guard.h"

#include <QMessageBox>
#include <cstdio>
#include <exception>

#include "platform/rtl/SysUtils.h"

namespace tarnel::gui {

namespace {

TErrorBoxProc& ErrorBoxProc()
{
    static TErrorBoxProc proc;
    return proc;
}

QString& TitleStore()
{
    static QString title;
    return title;
}

}  // namespace

void SetErrorBox(TErrorBoxProc proc)
{
    ErrorBoxProc() = std::move(proc);
}

void ShowErrorBox(const QString& message)
{
    if (ErrorBoxProc()) {
        ErrorBoxProc()(message);
        return;
    }
    QString title = ApplicationTitle();
    if (title.isEmpty()) title = QApplication::applicationName();
    QMessageBox::critical(QApplication::activeWindow(), title, message);
}

void HandleCurrentException() noexcept
{
    try {
        try {
            throw;
        } catch (const EAbort&) {
            // an aborted user action ends quietly
        } catch (const std::exception& e) {
            ShowErrorBox(QString::fromUtf8(e.what()));
        } catch (...) {
            ShowErrorBox(QStringLiteral("Unknown exception"));
        }
    } catch (...) {
        // Showing the box failed (out of memory, no application object): the message must not be lost.
        std::fputs("paxtor: an error could not be shown\n", stderr);
    }
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleCurrentException();
        return false;
    }
}

void SetApplicationTitle(const QString& title)
{
    TitleStore() = title;
}

QString ApplicationTitle()
{
    return TitleStore();
}

}  // namespace tarnel::gui

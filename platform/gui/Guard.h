// The one guard of every event handler.
//
// Qt must never see an exception leave a slot or an event handler: every handler runs its body through
// Guarded(), which catches what escapes. An EAbort ends the user action silently; any other exception shows its
// message in an error box (the application title as the box's title) and the program goes on.
#pragma once

#include <QApplication>
#include <QString>
#include <concepts>
#include <functional>
#include <utility>

namespace tarnel::gui {

// Shows the message of an exception that escaped a user action. The standard procedure opens a modal error box;
// SetErrorBox replaces it (tests record the messages), an empty procedure restores the standard one.
using TErrorBoxProc = std::function<void(const QString& message)>;
void SetErrorBox(TErrorBoxProc proc);
void ShowErrorBox(const QString& message);

// Handles the exception in flight; call it only inside a catch block. Never throws.
void HandleCurrentException() noexcept;

// Runs f; an exception that escapes it is handled as above. Returns true when f ran to its end.
template <class F>
bool Guarded(F&& f) noexcept
{
    try {
        std::forward<F>(f)();
        return true;
    } catch (...) {
        HandleCurrentException();
        return false;
    }
}

// Wraps a slot so that it runs guarded: connect(button, &QPushButton::clicked, this, Guard([this] { ... })).
// The wrapper takes exactly the signal arguments the wrapped function accepts.
template <class F>
auto Guard(F f)
{
    return [f = std::move(f)](auto&&... args) mutable -> void requires std::invocable<F&, decltype(args)...>
    {
        Guarded([&] { std::invoke(f, std::forward<decltype(args)>(args)...); });
    };
}

// The application object: its title heads the error boxes, and its event dispatch is guarded as a last line of
// defence for handlers that forgot their own guard.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The application's title ("Application.Title"); heads error boxes and the help window.
void SetApplicationTitle(const QString& title);
QString ApplicationTitle();

}  // namespace tarnel::gui

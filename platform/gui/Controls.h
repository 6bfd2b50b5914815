// The few controls of the framework that our forms need beyond plain Qt widgets.
#pragma once

#include <QPushButton>
#include <QString>
#include <QTextEdit>
#include <QWidget>
#include <functional>

namespace tarnel::gui {

// A form: a top-level or embedded window that knows its owner. The owner is the component that frees the form
// and whose named components the form may look up (a page finds the main window's help button this way); it is
// not necessarily the form's parent widget.
class TForm : public QWidget {
    Q_OBJECT
public:
    explicit TForm(QWidget* owner);
    QWidget* Owner() const { return FOwner; }
    // The component of that object name among the owner's components, or nullptr.
    template <class T = QWidget>
    T* FindOwnerComponent(const QString& name) const
    {
        return FOwner ? FOwner->findChild<T*>(name) : nullptr;
    }

private:
    QWidget* FOwner;
};

// A button whose click handler is a replaceable procedure, as forms hand it over to one another. The handler
// runs guarded; a button without a handler does nothing when clicked.
class TFlatButton : public QPushButton {
    Q_OBJECT
public:
    TFlatButton(const QString& caption, QWidget* parent);
    std::function<void()> OnClick;
};

// A rich-text box for the page explanations. LoadFromFile reads our RTF subset (or plain text) and raises on a
// file that cannot be read.
class TRichEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit TRichEdit(QWidget* parent);
    void LoadFromFile(const QString& fileName);
};

// A framework colour value (blue in the high byte, red in the low byte) as a Qt colour.
QColor ColorFromBGR(unsigned value);

}  // namespace tarnel::gui

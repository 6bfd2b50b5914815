// The class registry by name: the demonstration program knows its pages (and a few components) only by their
// class names. Each module registers its classes explicitly from the program's start-up, never through static
// initialisers, so the order of start-up is the program's own.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "platform/rtl/SysUtils.h"

namespace tarnel::gui {

// Raised when a class name is looked up that no module registered.
class EClassNotFound : public Exception {
public:
    using Exception::Exception;
};

// Makes a new instance of a registered class, owned by owner.
using TClassFactory = std::function<QWidget*(QWidget* owner)>;

struct TRegisteredClass {
    QString Name;
    TClassFactory Create;
};

// Registers a class under its name. A name is registered once: later registrations of the same name are ignored,
// however often a module's start-up runs.
void RegisterClass(const QString& name, TClassFactory factory);
// Removes a registration; unknown names are ignored.
void UnRegisterClass(const QString& name);
// The class of that name, or nullptr.
const TRegisteredClass* GetClass(const QString& name);
// The class of that name; raises EClassNotFound "Class NAME not found" when there is none.
const TRegisteredClass& FindClass(const QString& name);
// The registered names, sorted.
QStringList RegisteredClassNames();

}  // namespace tarnel::gui

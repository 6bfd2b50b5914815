#include "platform/gui/ClassRegistry.h"

#include <map>
#include <memory>

namespace tarnel::gui {

namespace {

// Entries are held by pointer so that a class reference stays valid while other classes register.
std::map<QString, std::unique_ptr<TRegisteredClass>>& Registry()
{
    static std::map<QString, std::unique_ptr<TRegisteredClass>> registry;
    return registry;
}

}  // namespace

void RegisterClass(const QString& name, TClassFactory factory)
{
    if (name.isEmpty() || !factory) throw Exception("RegisterClass: empty class name or factory");
    auto& reg = Registry();
    if (reg.count(name)) return;
    reg.emplace(name, std::make_unique<TRegisteredClass>(TRegisteredClass{name, std::move(factory)}));
}

void UnRegisterClass(const QString& name)
{
    Registry().erase(name);
}

const TRegisteredClass* GetClass(const QString& name)
{
    auto& reg = Registry();
    const auto it = reg.find(name);
    return it == reg.end() ? nullptr : it->second.get();
}

const TRegisteredClass& FindClass(const QString& name)
{
    const TRegisteredClass* cls = GetClass(name);
    if (!cls) throw EClassNotFound("Class " + name.toStdString() + " not found");
    return *cls;
}

QStringList RegisteredClassNames()
{
    QStringList names;
    for (const auto& [name, cls] : Registry()) names << name;
    return names;
}

}  // namespace tarnel::gui

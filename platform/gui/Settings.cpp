#include "platform/gui/Settings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <cmath>
#include <memory>

#include "platform/rtl/SysUtils.h"

namespace tarnel::gui {

namespace {

QString& FolderStore()
{
    static QString folder;
    return folder;
}

std::unique_ptr<QSettings> Open()
{
    auto s = std::make_unique<QSettings>(SettingsFileName(), QSettings::IniFormat);
    return s;
}

// "\Software\Corvath\" -> "Software/Corvath"
QString GroupPath(const QString& key)
{
    QStringList parts = QString(key).replace('\\', '/').split('/', Qt::SkipEmptyParts);
    return parts.join('/');
}

bool GroupExists(QSettings& s, const QString& group)
{
    if (group.isEmpty()) return true;
    s.beginGroup(group);
    const bool exists = !s.childKeys().isEmpty() || !s.childGroups().isEmpty();
    s.endGroup();
    return exists;
}

}  // namespace

void SetSettingsFolder(const QString& folder)
{
    FolderStore() = folder;
}

QString SettingsFileName()
{
    QString folder = FolderStore();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Tarnel");
    return QDir(folder).filePath(QStringLiteral("Tarnel.ini"));
}

bool TRegistry::OpenKey(const QString& key, bool canCreate)
{
    const QString group = GroupPath(key);
    auto s = Open();
    if (!canCreate && !GroupExists(*s, group)) return false;
    FPath = group;
    FReadOnly = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const QString& key)
{
    if (!OpenKey(key, false)) return false;
    FReadOnly = true;
    return true;
}

void TRegistry::CloseKey()
{
    FPath.clear();
    FReadOnly = false;
}

bool TRegistry::KeyExists(const QString& key) const
{
    auto s = Open();
    return GroupExists(*s, GroupPath(key));
}

bool TRegistry::DeleteKey(const QString& key)
{
    const QString group = GroupPath(key);
    if (group.isEmpty()) return false;
    auto s = Open();
    const bool existed = GroupExists(*s, group);
    s->remove(group);
    s->sync();
    return existed;
}

QString TRegistry::Entry(const QString& name) const
{
    if (FPath.isEmpty()) throw Exception("TRegistry: no key is open");
    // Slashes and backslashes would make a value name a path of its own.
    QString n = name;
    n.replace('/', '_').replace('\\', '_');
    return FPath + '/' + n;
}

bool TRegistry::ValueExists(const QString& name) const
{
    return Open()->contains(Entry(name));
}

QString TRegistry::ReadString(const QString& name) const
{
    return Open()->value(Entry(name)).toString();
}

void TRegistry::WriteString(const QString& name, const QString& value)
{
    if (FReadOnly) throw Exception("Failed to set data for '" + name.toStdString() + "'");
    auto s = Open();
    s->setValue(Entry(name), value);
    s->sync();
    if (s->status() != QSettings::NoError) throw Exception("Failed to set data for '" + name.toStdString() + "'");
}

int TRegistry::ReadInteger(const QString& name, int defaultValue) const
{
    bool ok = false;
    const int v = Open()->value(Entry(name)).toInt(&ok);
    return ok ? v : defaultValue;
}

void TRegistry::WriteInteger(const QString& name, int value)
{
    WriteString(name, QString::number(value));
}

double TRegistry::ReadFloat(const QString& name, double defaultValue) const
{
    bool ok = false;
    const double v = Open()->value(Entry(name)).toString().toDouble(&ok);
    return ok ? v : defaultValue;
}

void TRegistry::WriteFloat(const QString& name, double value)
{
    // QString::number drops the sign of a negative zero; it is written, so that the value reads back bit for bit.
    if (value == 0 && std::signbit(value)) return WriteString(name, QStringLiteral("-0"));
    WriteString(name, QString::number(value, 'g', 17));
}

bool TRegistry::ReadBool(const QString& name, bool defaultValue) const
{
    return ReadInteger(name, defaultValue ? 1 : 0) != 0;
}

void TRegistry::WriteBool(const QString& name, bool value)
{
    WriteInteger(name, value ? 1 : 0);
}

bool TRegistry::DeleteValue(const QString& name)
{
    if (FReadOnly) return false;
    auto s = Open();
    const QString e = Entry(name);
    const bool existed = s->contains(e);
    s->remove(e);
    s->sync();
    return existed;
}

QStringList TRegistry::GetValueNames() const
{
    if (FPath.isEmpty()) return {};
    auto s = Open();
    s->beginGroup(FPath);
    return s->childKeys();
}

}  // namespace tarnel::gui

// The settings store in place of the per-user registry.
//
// All keys live in one INI file in the user's configuration folder (Tarnel/Tarnel.ini below the folder that
// QStandardPaths names). A registry key path such as "\Software\Corvath" is a group path "Software/Corvath" in
// that file; values are entries of the group. SetSettingsFolder points the store elsewhere (tests use a temporary
// folder).
#pragma once

#include <QString>
#include <QStringList>

namespace tarnel::gui {

void SetSettingsFolder(const QString& folder);  // empty: back to the user's configuration folder
QString SettingsFileName();

// A key of the store, opened like a registry key. Reading an absent value gives the default; nothing is written
// until a Write call.
class TRegistry {
public:
    // Opens key; a key that holds no value and no subkey does not exist and opens only with canCreate.
    bool OpenKey(const QString& key, bool canCreate);
    bool OpenKeyReadOnly(const QString& key);
    void CloseKey();
    QString CurrentPath() const { return FPath; }

    bool KeyExists(const QString& key) const;
    // Deletes the key with all its values and subkeys; returns whether it existed.
    bool DeleteKey(const QString& key);

    bool ValueExists(const QString& name) const;
    QString ReadString(const QString& name) const;
    void WriteString(const QString& name, const QString& value);
    int ReadInteger(const QString& name, int defaultValue = 0) const;
    void WriteInteger(const QString& name, int value);
    double ReadFloat(const QString& name, double defaultValue = 0) const;
    void WriteFloat(const QString& name, double value);
    bool ReadBool(const QString& name, bool defaultValue = false) const;
    void WriteBool(const QString& name, bool value);
    bool DeleteValue(const QString& name);
    QStringList GetValueNames() const;

private:
    QString Entry(const QString& name) const;
    QString FPath;  // group path of the open key; empty when none is open
    bool FReadOnly = false;
};

}  // namespace tarnel::gui

#include "demo/DemoFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <cstdio>
#include <exception>

#include "platform/gui/Controls.h"

namespace paxtor {

namespace {

QString& FolderStore()
{
    static QString folder;
    return folder;
}

bool HasTexts(const QString& folder)
{
    return !folder.isEmpty() && QFileInfo(QDir(folder).filePath(QStringLiteral("Texts"))).isDir();
}

}  // namespace

QString DataFolder()
{
    if (!FolderStore().isEmpty()) return FolderStore();
    const QString exeDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    if (HasTexts(exeDir)) return exeDir;
    const QString source = QStringLiteral(TARNEL_DEMO_SOURCE_DIR);
    if (HasTexts(source)) return source;
    return exeDir.isEmpty() ? QDir::currentPath() : exeDir;
}

void SetDataFolder(const QString& folder)
{
    FolderStore() = folder;
}

QString DataPath(const QString& relative)
{
    return QDir(DataFolder()).filePath(relative);
}

void LoadPageText(tarnel::gui::TRichEdit* edit, const QString& relative)
{
    const QString path = DataPath(relative);
    try {
        edit->LoadFromFile(path);
    } catch (const std::exception& e) {
        edit->clear();
        static QSet<QString> reported;
        if (!reported.contains(path)) {
            reported.insert(path);
            std::fprintf(stderr, "paxtor: page text not loaded: %s\n", e.what());
        }
    }
}

}  // namespace paxtor

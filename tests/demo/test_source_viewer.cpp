// The tab "Source code": where the sources are found, when the viewer is made, kept or freed, and the highlighting.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <memory>

#include "demo/DemoFiles.h"
#include "demo/Main.h"
#include "demo/Pages.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Settings.h"

using namespace paxtor;
using namespace tarnel::gui;

namespace {

QStringList gErrorBoxes;
QStringList gBrowserTitles;
QString gBrowserAnswer;

void WriteFile(const QString& path, const QByteArray& text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    f.write(text);
}

// A source folder: the project file and the sources of the first two pages.
void MakeSourceFolder(const QString& folder, const QByteArray& tag)
{
    WriteFile(folder + "/paxtor.cpp", "int main() {}\n");
    WriteFile(folder + "/Multiply1.cpp", "// " + tag + " Multiply1\nclass TMult1;\n");
    WriteFile(folder + "/CopyCompare.cpp", "// " + tag + " CopyCompare\n");
}

// One letter per character of the viewer's text: b bold, i italic (navy), . plain, ? anything else.
QString FormatMask(QTextEdit& edit)
{
    QString mask;
    const QTextDocument* doc = edit.document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat fmt = f.charFormat();
            const bool bold = fmt.fontWeight() == QFont::Bold;
            const bool italic = fmt.fontItalic();
            const bool navy = fmt.foreground().color() == QColor(0, 0, 0x80);
            QChar c = u'?';
            if (!bold && !italic && !fmt.hasProperty(QTextFormat::ForegroundBrush)) c = u'.';
            if (bold && !italic && !fmt.hasProperty(QTextFormat::ForegroundBrush)) c = u'b';
            if (italic && navy && !bold) c = u'i';
            mask += QString(f.length(), c);
        }
        if (block.next().isValid()) mask += u'\n';
    }
    return mask;
}

}  // namespace

class TestSourceViewer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void folderComesFromSettingsOrDataFolder();
    void folderWithoutProjectFileIsForgotten();
    void noFolderShowsConfigure();
    void viewerIsKeptForTheSameUnitAndReplacedForAnother();
    void missingUnitFileNamesThePath();
    void highlighting_data();
    void highlighting();
    void highlightingIsOneEditBlockWithoutUndo();

private:
    void ShowSource() { FWindow->PageControl1->setCurrentWidget(FWindow->TabSource); }
    void Select(const QString& caption) { FWindow->SelectNode(FWindow->FindNode(caption)); }
    static void SetDemoPath(const QString& folder)
    {
        TRegistry reg;
        QVERIFY(reg.OpenKey("Software/Corvath", true));
        reg.WriteString("DemoPath", folder);
    }
    std::unique_ptr<QTemporaryDir> FSettings, FData, FOther;
    std::unique_ptr<TfrmMain> FWindow;
};

void TestSourceViewer::initTestCase()
{
    RegisterPages();
    SetErrorBox([](const QString& m) { gErrorBoxes << m; });
    SetFolderBrowser([](QWidget*, const QString& title) {
        gBrowserTitles << title;
        return gBrowserAnswer;
    });
}

void TestSourceViewer::init()
{
    gErrorBoxes.clear();
    gBrowserTitles.clear();
    gBrowserAnswer.clear();
    FSettings = std::make_unique<QTemporaryDir>();
    FData = std::make_unique<QTemporaryDir>();
    FOther = std::make_unique<QTemporaryDir>();
    SetSettingsFolder(FSettings->path());
    SetDataFolder(FData->path());
    FWindow = std::make_unique<TfrmMain>();
}

void TestSourceViewer::cleanup()
{
    FWindow.reset();
    SetDataFolder(QString());
    SetSettingsFolder(QString());
    QVERIFY2(gErrorBoxes.isEmpty() || QTest::currentTestFunction() == QByteArray("missingUnitFileNamesThePath"),
             qPrintable(gErrorBoxes.join("; ")));
}

void TestSourceViewer::folderComesFromSettingsOrDataFolder()
{
    MakeSourceFolder(FData->path(), "data");
    MakeSourceFolder(FOther->path(), "other");
    // Absent: the data folder serves, as it holds the project file.
    QCOMPARE(GetDemoPath(), FData->path());
    Select("Multiplying large matrices");
    ShowSource();
    QVERIFY(FWindow->SourceEdit());
    QVERIFY(FWindow->SourceEdit()->toPlainText().startsWith("// data Multiply1"));
    QVERIFY(!FWindow->btnConfig->isVisibleTo(FWindow.get()));
    QCOMPARE(FWindow->SourceUnit(), QString("Multiply1"));
    // Set: "DemoPath" comes first.
    SetDemoPath(FOther->path());
    QCOMPARE(GetDemoPath(), FOther->path());
    Select("Copy and  transpose operation");
    ShowSource();
    QVERIFY(FWindow->SourceEdit()->toPlainText().startsWith("// other CopyCompare"));
    // The viewer is read-only, unwrapped, with both scroll bars and a fixed-pitch font.
    QTextEdit* v = FWindow->SourceEdit();
    QVERIFY(v->isReadOnly());
    QCOMPARE(v->lineWrapMode(), QTextEdit::NoWrap);
    QCOMPARE(v->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(v->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(v->font().family(), QString("Courier New"));
    QCOMPARE(v->font().pointSize(), 9);
    QCOMPARE(v->font().styleHint(), QFont::Monospace);
    QCOMPARE(v->parentWidget(), FWindow->TabSource);
}

void TestSourceViewer::folderWithoutProjectFileIsForgotten()
{
    MakeSourceFolder(FData->path(), "data");
    SetDemoPath(FOther->path());  // no project file there
    {
        TRegistry lib;
        QVERIFY(lib.OpenKey("Software/Brisolt/Tarnel/TarnelEditor", true));
        lib.WriteString("Delimiter", ";");
    }
    Select("Multiplying large matrices");
    ShowSource();
    QVERIFY(!TRegistry().KeyExists("Software/Corvath"));
    QVERIFY(TRegistry().KeyExists("Software/Brisolt/Tarnel/TarnelEditor"));  // the library's group stays
    // The data folder serves now.
    QVERIFY(FWindow->SourceEdit());
    QVERIFY(FWindow->SourceEdit()->toPlainText().startsWith("// data Multiply1"));
    QVERIFY(!FWindow->btnConfig->isVisibleTo(FWindow.get()));
}

void TestSourceViewer::noFolderShowsConfigure()
{
    Select("Multiplying large matrices");
    ShowSource();
    QVERIFY(FWindow->btnConfig->isVisibleTo(FWindow.get()));
    QVERIFY(!FWindow->SourceEdit());
    QCOMPARE(FWindow->SourceUnit(), QString());

    // Cancel changes nothing.
    FWindow->btnConfig->click();
    QCOMPARE(gBrowserTitles, QStringList{"Folder with Tarnel demo source"});
    QVERIFY(!TRegistry().KeyExists("Software/Corvath"));
    QVERIFY(FWindow->btnConfig->isVisibleTo(FWindow.get()));

    // A folder without the project file is stored, then forgotten again.
    gBrowserAnswer = FOther->path();
    FWindow->btnConfig->click();
    QVERIFY(!TRegistry().KeyExists("Software/Corvath"));
    QVERIFY(FWindow->btnConfig->isVisibleTo(FWindow.get()));
    QVERIFY(!FWindow->SourceEdit());

    // A source folder is kept and shown at once.
    MakeSourceFolder(FOther->path(), "chosen");
    FWindow->btnConfig->click();
    QVERIFY(!FWindow->btnConfig->isVisibleTo(FWindow.get()));
    QVERIFY(FWindow->SourceEdit());
    QVERIFY(FWindow->SourceEdit()->toPlainText().startsWith("// chosen Multiply1"));
    TRegistry reg;
    QVERIFY(reg.OpenKeyReadOnly("Software/Corvath"));
    QCOMPARE(reg.ReadString("DemoPath"), FOther->path());
}

void TestSourceViewer::viewerIsKeptForTheSameUnitAndReplacedForAnother()
{
    MakeSourceFolder(FData->path(), "data");
    Select("Multiplying large matrices");
    ShowSource();
    QPointer<QTextEdit> first = FWindow->SourceEdit();
    QVERIFY(first);
    // The file changes on disk: a second visit does not read it again.
    WriteFile(FData->path() + "/Multiply1.cpp", "// changed\n");
    FWindow->PageControl1->setCurrentWidget(FWindow->TabForm);
    QCOMPARE(FWindow->SourceEdit(), first.data());  // leaving the tab keeps it
    ShowSource();
    QCOMPARE(FWindow->SourceEdit(), first.data());
    QVERIFY(first->toPlainText().startsWith("// data Multiply1"));
    // Another unit replaces the viewer.
    Select("Copy and  transpose operation");
    QCOMPARE(FWindow->SourceEdit(), first.data());  // selecting a node does not touch it
    ShowSource();
    QVERIFY(first.isNull());
    QVERIFY(FWindow->SourceEdit()->toPlainText().startsWith("// data CopyCompare"));
    QCOMPARE(FWindow->SourceUnit(), QString("CopyCompare"));
}

void TestSourceViewer::missingUnitFileNamesThePath()
{
    MakeSourceFolder(FData->path(), "data");
    Select("Multiplying large matrices");
    ShowSource();
    QVERIFY(FWindow->SourceEdit());
    QFile::remove(FData->path() + "/CopyCompare.cpp");
    Select("Copy and  transpose operation");
    ShowSource();
    QCOMPARE(gErrorBoxes.size(), 1);
    QVERIFY2(gErrorBoxes[0].contains(QDir::toNativeSeparators(FData->path() + "/CopyCompare.cpp")),
             qPrintable(gErrorBoxes[0]));
    QVERIFY(FWindow->SourceEdit());  // a new, empty viewer
    QCOMPARE(FWindow->SourceEdit()->toPlainText(), QString());
    QCOMPARE(FWindow->SourceUnit(), QString("Multiply1"));  // the next visit tries again
    MakeSourceFolder(FData->path(), "back");
    FWindow->PageControl1->setCurrentWidget(FWindow->TabForm);
    ShowSource();
    QVERIFY(FWindow->SourceEdit()->toPlainText().startsWith("// back CopyCompare"));
    QCOMPARE(gErrorBoxes.size(), 1);
}

void TestSourceViewer::highlighting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mask");  // b bold, i navy italic, . plain
    QTest::newRow("comment right after a keyword") << "if/*x*/"
                                                   << "bbiiiii";
    QTest::newRow("line comment hides keywords") << "// if\nfor"
                                                 << "iiiii\nbbb";
    QTest::newRow("identifier with digits and _") << "int64_t int"
                                                  << "........bbb";
    QTest::newRow("keyword as part of a word") << "ifx xif if_ _if"
                                               << "...............";
    QTest::newRow("case-sensitive") << "If IF if"
                                    << "......bb";
    QTest::newRow("string with // inside") << "\"http://\" if"
                                           << "..........bb";
    QTest::newRow("escaped quote in string") << "\"a\\\"if\" do"
                                             << "........bb";
    QTest::newRow("character literals") << "'\"' if '\\'' do"
                                        << "....bb......bb";
    QTest::newRow("raw string") << "R\"x(\")\" if )x\" do"
                                << "...............bb";
    QTest::newRow("unterminated block comment") << "do /* if\nwhile"
                                                << "bb.iiiii\niiiii";
    QTest::newRow("block comment over lines") << "/*a\nb*/else"
                                              << "iii\niiibbbb";
    QTest::newRow("last line without newline") << "x\nreturn"
                                               << ".\nbbbbbb";
    QTest::newRow("numbers are not words") << "0xfor 1e5if 1'000do for"
                                           << "....................bbb";
    QTest::newRow("alternative tokens and C++20") << "not co_await concept final override"
                                                  << "bbb.bbbbbbbb.bbbbbbb...............";
    QTest::newRow("string prefix") << "u8\"if\" L'x'"
                                   << "...........";
}

void TestSourceViewer::highlighting()
{
    QFETCH(QString, text);
    QFETCH(QString, mask);
    QTextEdit edit;
    edit.setPlainText(text);
    HighlightSource(&edit);
    QCOMPARE(FormatMask(edit), mask);
    QCOMPARE(edit.textCursor().position(), 0);
    QVERIFY(!edit.textCursor().hasSelection());
}

void TestSourceViewer::highlightingIsOneEditBlockWithoutUndo()
{
    QTextEdit edit;
    edit.setPlainText("int a; // b\nreturn a;");
    QVERIFY(edit.document()->isUndoRedoEnabled());
    HighlightSource(&edit);
    QVERIFY(edit.document()->isUndoRedoEnabled());  // restored
    QVERIFY(!edit.document()->isUndoAvailable());   // the formats left nothing to undo
    QCOMPARE(FormatMask(edit), QString("bbb....iiii\nbbbbbb..."));
}

QTEST_MAIN(TestSourceViewer)
#include "test_source_viewer.moc"

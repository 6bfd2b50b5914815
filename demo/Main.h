// TfrmMain: the main window of the demonstration program. A tree of pages on the left, a tabbed host for the
// selected page on the right, a banner with the page title on top and the navigation bar at the bottom.
//
// The window knows its pages only by class name: the page table names each node's page class, looked up in the
// class registry when the tree is built. At most one page exists at a time; the window frees it before it
// creates the next one, so the old page's destruction (which releases the help button) runs before the new
// page's construction.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QSplitter>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <vector>

#include "platform/gui/ClassRegistry.h"
#include "platform/gui/Controls.h"

namespace paxtor {

// One row of the page table.
struct TPageRow {
    int Level = 0;      // 0: top level, 1: child of the last top-level row
    QString Caption;    // inner blanks kept as they stand
    QString ClassName;  // empty for a heading
    QString UnitName;   // the page's source unit, possibly empty
    bool IsHeading() const { return ClassName.isEmpty(); }
};

// Parses the page table's text: one row per line, one level per leading blank or tab, then up to three fields
// split at the first and the second ";". A row without ";" is a heading. Empty lines are skipped. Raises when a
// row is more than one level deeper than the row before it.
std::vector<TPageRow> ParsePageTable(const QString& text);

// The program's page table, 56 rows.
extern const char* const PageTable;

// ---- The source viewer (tab "Source code") ----
//
// The viewer shows the selected page's own source, <folder>/<unit>.cpp, from the demo source folder: the settings
// value "DemoPath" of the group "Software/Corvath", or else the data folder (demo/DemoFiles.h) when it holds the
// project file, so that a program run from the build tree shows the sources at once. A folder counts as a source
// folder only when it holds the project file.

// The project file, the source of the program's start (the file with main).
inline constexpr const char* ProjectFileName = "paxtor.cpp";
// The settings key and value of the source folder. The key is the demo's own, not the library's.
inline constexpr const char* DemoKey = "Software/Corvath";
inline constexpr const char* DemoPathValue = "DemoPath";

// The source folder: "DemoPath" when the key opens and holds it, else the data folder when it holds the project
// file, else empty.
QString GetDemoPath();

// The words set in bold: the C++20 keywords and alternative tokens, compared case-sensitively.
extern const std::vector<const char*> SourceKeywords;
bool IsSourceKeyword(QStringView word);

// Formats the viewer's whole text in one pass, one token at a time, on the document's own positions through one
// edit block (undo off): keywords exactly bold; "//" comments to the line's end and "/* */" comments (one left
// open runs to the end) exactly italic in navy. String and character literals, raw strings included, are passed
// over, so nothing inside them is formatted; so are numbers ("0x1f", "1e5f").
void HighlightSource(QTextEdit* viewer);
// The scan's step: from position on, formats the comments it passes; at a word, selects it in cursor, moves the
// position behind it and returns whether it is a keyword. Returns false at the end of the text.
bool HighlightNextToken(const QString& text, int& position, QTextCursor& cursor);

// "Configure" asks for a folder through this procedure (a folder dialog owned by parent, titled title; empty
// for Cancel). SetFolderBrowser replaces it (tests answer it); an empty procedure restores the dialog.
using TFolderBrowserProc = std::function<QString(QWidget* parent, const QString& title)>;
void SetFolderBrowser(TFolderBrowserProc proc);

// The record attached to every page node.
struct TExampleInfo {
    const tarnel::gui::TRegisteredClass* FormClass;
    QString UnitName;
};

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and its tree from the page table; raises the class-not-found error for a class name
    // that no module registered.
    explicit TfrmMain(const QString& pageTable = QString::fromLatin1(PageTable));
    ~TfrmMain() override;

    void CreateExampleForm(const tarnel::gui::TRegisteredClass& formClass);
    void ShowSelectedExample();
    QString SelectedUnitName() const;

    // The nodes in table order (absolute indexes), the selected one's index (-1: none), selecting by index.
    int NodeCount() const { return static_cast<int>(FNodes.size()); }
    QTreeWidgetItem* Node(int index) const { return FNodes.at(index); }
    int SelectedIndex() const;
    void SelectNode(int index);
    // The absolute index of the first node with this caption, or -1.
    int FindNode(const QString& caption) const;
    const TExampleInfo* NodeInfo(int index) const;

    QWidget* ExampleForm() const { return FExampleForm; }
    QString StatusText() const { return StatusBar1->text(); }
    bool SourceTabVisible() const { return PageControl1->isTabVisible(PageControl1->indexOf(TabSource)); }
    // The source viewer (none until a source was shown) and the unit it shows.
    QTextEdit* SourceEdit() const { return FSourceEdit; }
    QString SourceUnit() const { return FSourceUnit; }

    // Runs when the current tab changes and when "Configure" stored a folder; acts only while "Source code" is
    // the current tab. A source that cannot be read raises an error naming its path; the new viewer stays empty
    // and the unit shown is not recorded, so the next visit tries again.
    void PageControl1Change();
    // "Configure": asks for the source folder, stores it as "DemoPath" and shows the tab again.
    void btnConfigClick();

    // The controls, by the names the pages and the tests know them by.
    QFrame* Panel2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Image1;
    QLabel* Label3;
    QSplitter* Splitter1;
    QTreeWidget* TreeView1;
    QTabWidget* PageControl1;
    QWidget* TabForm;
    QWidget* TabSource;
    QPushButton* btnConfig;
    QFrame* Panel1;
    tarnel::gui::TFlatButton* btnPrevious;
    tarnel::gui::TFlatButton* btnNext;
    tarnel::gui::TFlatButton* btnClose;
    tarnel::gui::TFlatButton* btnHelp;
    QLabel* StatusBar1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void FormCreate(const QString& pageTable);
    void TreeView1Change();
    void UpdateNavigation();
    void btnPreviousClick();
    void btnNextClick();
    void Label3Click();
    void SetLabel3Underline(bool underline);

    std::vector<QTreeWidgetItem*> FNodes;
    std::vector<std::unique_ptr<TExampleInfo>> FInfos;
    QWidget* FExampleForm = nullptr;
    QTextEdit* FSourceEdit = nullptr;  // owned by the window, on the tab "Source code"
    QString FSourceUnit;
    bool FInChange = false;       // a selection change is being handled
    bool FChangePending = false;  // the selection changed again meanwhile
};

}  // namespace paxtor

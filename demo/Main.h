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
#include <QTreeWidget>
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
    bool FInChange = false;       // a selection change is being handled
    bool FChangePending = false;  // the selection changed again meanwhile
};

}  // namespace paxtor

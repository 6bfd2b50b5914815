// The demonstration program's main window, page hosting, page contract and text pages.
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "demo/Basic1.h"
#include "demo/Basic2.h"
#include "demo/DemoFiles.h"
#include "demo/Main.h"
#include "demo/PageContract.h"
#include "demo/Pages.h"
#include "demo/TextPages.h"
#include "platform/gui/ClassRegistry.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Help.h"
#include "platform/rtl/SysUtils.h"

using namespace paxtor;
using namespace tarnel::gui;

namespace {

QStringList gLog;             // creation and destruction of the test pages, in order
QList<int> gHelpContexts;     // the help contexts opened
QStringList gErrorBoxes;      // the error boxes shown
TfrmMain* gWindow = nullptr;  // the window under test
int gNextId = 0;
bool gReenter = false;       // the reentrant page changes the selection when it is destroyed
bool gFailCreation = false;  // the failing page raises in its construction

// A demonstration page as the later pages will be: text, set-up, then help by its kind.
class TTestPage : public TBasicForm2 {
public:
    TTestPage(QWidget* owner, QString name, THelpKind help)
        : TBasicForm2(owner), FName(std::move(name)), FId(++gNextId), FHelp(this)
    {
        gLog << QString("create %1 %2").arg(FName).arg(FId);
        FHelp.Apply(help);
    }
    ~TTestPage() override { gLog << QString("destroy %1 %2").arg(FName).arg(FId); }

private:
    QString FName;
    int FId;
    TPageHelp FHelp;
};

// A page whose destruction changes the selection and processes events.
class TReentrantPage : public TBasicForm2 {
public:
    using TBasicForm2::TBasicForm2;
    ~TReentrantPage() override
    {
        if (!gReenter) return;
        gLog << "destroy reentrant";
        if (gWindow) gWindow->SelectNode(gWindow->FindNode("Matrix operations"));
        QCoreApplication::processEvents();
    }
};

class TChartPage : public TBasicForm1 {
public:
    using TBasicForm1::TBasicForm1;
};

template <class F>
void Replace(const char* name, F factory)
{
    UnRegisterClass(name);
    RegisterClass(name, factory);
}

QString PageText(QWidget* page)
{
    auto* edit = page ? page->findChild<TRichEdit*>("RichEdit1") : nullptr;
    return edit ? edit->toPlainText() : QString("<no text box>");
}

}  // namespace

class TestDemo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pageTableParsesAllRows_data();
    void pageTableParsesAllRows();
    void pageTableSplitsFieldsAndChecksLevels();
    void unknownClassNameRaisesClassNotFound();

    void navigationWalksEveryRowAcrossCollapsedNodes();
    void headingKeepsPageAndChangesTitleAndStatus();
    void sourceTabFollowsSelectedUnitName();
    void helpFollowsTheSequenceOfPages_data();
    void helpFollowsTheSequenceOfPages();
    void oldPageIsDestroyedBeforeTheNextIsCreated();
    void pageSwitchDoesNotReenter();
    void pageCreationErrorShowsBoxAndKeepsNode();
    void webAddressIsUnderlinedOnlyUnderTheMouse();

    void everyTextPageLoadsItsText_data();
    void everyTextPageLoadsItsText();
    void missingTextGivesEmptyTextWithoutDialog();
    void everyPageRowOpensABuiltPage();
    void downSampleSwitchesChartZoom();

private:
    std::unique_ptr<TfrmMain> FWindow;
    int Select(const QString& caption)
    {
        const int index = FWindow->FindNode(caption);
        if (index < 0) qFatal("no node %s", qPrintable(caption));
        FWindow->SelectNode(index);
        return index;
    }
};

void TestDemo::initTestCase()
{
    RegisterPages();
    RegisterPages();  // counted: the second call changes nothing
    Replace("TMult1", [](QWidget* o) { return new TTestPage(o, "TMult1", HelpNumber(5340)); });
    Replace("TfrmSqrtMtx", [](QWidget* o) { return new TTestPage(o, "TfrmSqrtMtx", HelpKept); });
    Replace("TfrmMtxOptim", [](QWidget* o) { return new TTestPage(o, "TfrmMtxOptim", HelpKept); });
    Replace("TGetMemC", [](QWidget* o) { return new TReentrantPage(o); });
    Replace("TInterpolating1", [](QWidget* o) { return new TChartPage(o); });
    Replace("TDefArray", [](QWidget* o) -> QWidget* {
        if (gFailCreation) throw tarnel::Exception("Mtx = Self");
        return new TTestPage(o, "TDefArray", HelpOff);
    });
    SetHelpViewer([](int c) { gHelpContexts << c; });
    SetErrorBox([](const QString& m) { gErrorBoxes << m; });
}

void TestDemo::init()
{
    gLog.clear();
    gHelpContexts.clear();
    gErrorBoxes.clear();
    gReenter = gFailCreation = false;
    FWindow = std::make_unique<TfrmMain>();
    gWindow = FWindow.get();
}

void TestDemo::cleanup()
{
    gWindow = nullptr;
    FWindow.reset();
    SetDataFolder(QString());
    QVERIFY2(
        gErrorBoxes.isEmpty() || QTest::currentTestFunction() == QByteArray("pageCreationErrorShowsBoxAndKeepsNode"),
        qPrintable(gErrorBoxes.join("; ")));
}

// ---- the page table ----------------------------------------------------------------------------------------

void TestDemo::pageTableParsesAllRows_data()
{
    QTest::addColumn<int>("row");  // 1-based, as the table is numbered
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("unit");
    QTest::newRow("first") << 1 << 0 << "Introduction"
                           << "TIntroduction"
                           << "";
    QTest::newRow("section with page") << 2 << 0 << "Matrix operations"
                                       << "TIntroMtx"
                                       << "";
    QTest::newRow("child with unit") << 3 << 1 << "Multiplying large matrices"
                                     << "TMult1"
                                     << "Multiply1";
    QTest::newRow("two inner blanks") << 4 << 1 << "Copy and  transpose operation"
                                      << "TCopyComp"
                                      << "CopyCompare";
    QTest::newRow("misspelt heading page") << 17 << 0 << "Memory managemet"
                                           << "TIntroMemMan"
                                           << "";
    QTest::newRow("slashes") << 18 << 1 << "Comparing CreateIt/FreeIt with Create/Destroy"
                             << "TMemComp1"
                             << "MemoryCompare1";
    QTest::newRow("heading") << 24 << 0 << "Optimization problems"
                             << ""
                             << "";
    QTest::newRow("top level with unit") << 26 << 0 << "Probabilities unit"
                                         << "TProb1"
                                         << "ProbCalc";
    QTest::newRow("heading 27") << 27 << 0 << "Tarnel Components"
                                << ""
                                << "";
    QTest::newRow("repeated page") << 28 << 1 << "New minimization algorithms"
                                   << "TfrmMtxOptim"
                                   << "MtxOptim";
    QTest::newRow("underscore unit") << 55 << 1 << "Viewing matrix values"
                                     << "TfrmMtxGridSeries"
                                     << "MtxGridSeries_Demo";
    QTest::newRow("last") << 56 << 0 << "Quick Start"
                          << "TQStart"
                          << "";
}

void TestDemo::pageTableParsesAllRows()
{
    QFETCH(int, row);
    QFETCH(int, level);
    QFETCH(QString, caption);
    QFETCH(QString, className);
    QFETCH(QString, unit);
    const std::vector<TPageRow> rows = ParsePageTable(QString::fromLatin1(PageTable));
    QCOMPARE(int(rows.size()), 56);
    const TPageRow& r = rows[row - 1];
    QCOMPARE(r.Level, level);
    QCOMPARE(r.Caption, caption);
    QCOMPARE(r.ClassName, className);
    QCOMPARE(r.UnitName, unit);
    QCOMPARE(r.IsHeading(), className.isEmpty());

    // The window's tree holds the same rows, with the registered class and the unit on page nodes only.
    QCOMPARE(FWindow->NodeCount(), 56);
    QCOMPARE(FWindow->Node(row - 1)->text(0), caption);
    const TExampleInfo* info = FWindow->NodeInfo(row - 1);
    QCOMPARE(info == nullptr, className.isEmpty());
    if (info) {
        QCOMPARE(info->FormClass->Name, className);
        QCOMPARE(info->UnitName, unit);
    }
    QCOMPARE(FWindow->Node(row - 1)->parent() == nullptr, level == 0);
}

void TestDemo::pageTableSplitsFieldsAndChecksLevels()
{
    const auto rows = ParsePageTable("A;TA;u;v\n\tB;TB\r\n\n C  D \n");
    QCOMPARE(int(rows.size()), 3);
    QCOMPARE(rows[0].UnitName, QString("u;v"));  // split at the first and the second ";" only
    QCOMPARE(rows[1].Level, 1);                  // a tab is a level like a blank
    QCOMPARE(rows[1].ClassName, QString("TB"));
    QCOMPARE(rows[1].UnitName, QString());
    QCOMPARE(rows[2].Caption, QString("C  D "));
    QVERIFY(rows[2].IsHeading());
    QVERIFY_THROWS_EXCEPTION(tarnel::Exception, ParsePageTable("A\n  B\n"));
    QVERIFY_THROWS_EXCEPTION(tarnel::Exception, ParsePageTable(" A\n"));
}

void TestDemo::unknownClassNameRaisesClassNotFound()
{
    UnRegisterClass("TQStart");
    try {
        TfrmMain window;
        QFAIL("no exception");
    } catch (const EClassNotFound& e) {
        QCOMPARE(QString(e.what()), QString("Class TQStart not found"));
    }
    RegisterClass("TQStart", [](QWidget* o) { return new TQStart(o); });
    try {
        TfrmMain window("A;TIntroduction\nB;TNoSuchPage;Unit\n");
        QFAIL("no exception");
    } catch (const EClassNotFound& e) {
        QCOMPARE(QString(e.what()), QString("Class TNoSuchPage not found"));
    }
}

// ---- the main window ---------------------------------------------------------------------------------------

void TestDemo::navigationWalksEveryRowAcrossCollapsedNodes()
{
    TfrmMain& w = *FWindow;
    QCOMPARE(w.SelectedIndex(), -1);  // the window selects nothing itself
    QVERIFY(!w.btnPrevious->isEnabled());
    QVERIFY(!w.btnNext->isEnabled());
    QVERIFY(w.ExampleForm() == nullptr);

    w.TreeView1->collapseAll();
    w.SelectNode(0);
    QVERIFY(!w.btnPrevious->isEnabled());
    QVERIFY(w.btnNext->isEnabled());
    for (int i = 1; i < w.NodeCount(); ++i) {
        w.btnNext->click();
        QCOMPARE(w.SelectedIndex(), i);
        QCOMPARE(w.StatusText(), w.Node(i)->text(0));
    }
    QVERIFY(!w.btnNext->isEnabled());
    QVERIFY(w.btnPrevious->isEnabled());
    w.btnNext->click();
    QCOMPARE(w.SelectedIndex(), w.NodeCount() - 1);
    for (int i = w.NodeCount() - 2; i >= 0; --i) {
        w.btnPrevious->click();
        QCOMPARE(w.SelectedIndex(), i);
    }
    QVERIFY(!w.btnPrevious->isEnabled());
    QCOMPARE(w.Label1->text(), QString("Introduction"));
}

void TestDemo::headingKeepsPageAndChangesTitleAndStatus()
{
    Select("Multiplying large matrices");
    QWidget* page = FWindow->ExampleForm();
    QVERIFY(page);
    Select("Optimization problems");
    QCOMPARE(FWindow->ExampleForm(), page);
    QCOMPARE(FWindow->Label1->text(), QString("Optimization problems"));
    QCOMPARE(FWindow->StatusText(), QString("Optimization problems"));
    QVERIFY(FWindow->btnPrevious->isEnabled());
    QVERIFY(FWindow->btnNext->isEnabled());
    QCOMPARE(gLog, QStringList{"create TMult1 " + QString::number(gNextId)});
    QCOMPARE(FWindow->PageControl1->currentWidget(), FWindow->TabForm);
}

void TestDemo::sourceTabFollowsSelectedUnitName()
{
    const std::vector<TPageRow> rows = ParsePageTable(QString::fromLatin1(PageTable));
    for (int i = 0; i < FWindow->NodeCount(); ++i) {
        FWindow->SelectNode(i);
        QCOMPARE(FWindow->SelectedUnitName(), rows[i].UnitName);
        QVERIFY2(FWindow->SourceTabVisible() == !rows[i].UnitName.isEmpty(), qPrintable(rows[i].Caption));
        QCOMPARE(FWindow->PageControl1->currentWidget(), FWindow->TabForm);
    }
    FWindow->SelectNode(FWindow->FindNode("Probabilities unit"));
    QVERIFY(FWindow->SourceTabVisible());
    QCOMPARE(FWindow->SelectedUnitName(), QString("ProbCalc"));
}

void TestDemo::helpFollowsTheSequenceOfPages_data()
{
    QTest::addColumn<QStringList>("captions");  // selected in this order
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("context");  // opened by a click; 0: the click does nothing
    QTest::newRow("vector list") << QStringList{"TVec object function list"} << true << 7370;
    QTest::newRow("matrix list") << QStringList{"TMtx object function list"} << true << 3090;
    QTest::newRow("Dovi387 list") << QStringList{"Dovi387 function list"} << true << 10;
    QTest::newRow("probability list") << QStringList{"Probability function list"} << true << 1980;
    QTest::newRow("polynomial list") << QStringList{"Polynoms function list"} << true << 1040;
    QTest::newRow("numbered then kept: enabled, does nothing")
        << QStringList{"Multiplying large matrices", "Calculating squared root of matrix"} << true << 0;
    QTest::newRow("off then kept: stays disabled")
        << QStringList{"Matrix operations", "Calculating squared root of matrix"} << false << 0;
    QTest::newRow("numbered then off") << QStringList{"TVec object function list", "Introduction"} << false << 0;
    QTest::newRow("off then numbered") << QStringList{"Release 1.5", "Multiplying large matrices"} << true << 5340;
    QTest::newRow("heading keeps the page's help")
        << QStringList{"Multiplying large matrices", "Optimization problems"} << true << 5340;
    QTest::newRow("numbered then numbered")
        << QStringList{"Optimization function list", "SpecialFunc function list"} << true << 1510;
}

void TestDemo::helpFollowsTheSequenceOfPages()
{
    QFETCH(QStringList, captions);
    QFETCH(bool, enabled);
    QFETCH(int, context);
    for (const QString& c : captions) Select(c);
    QCOMPARE(FWindow->btnHelp->isEnabled(), enabled);
    FWindow->btnHelp->click();
    QCOMPARE(gHelpContexts, context ? QList<int>{context} : QList<int>{});
}

void TestDemo::oldPageIsDestroyedBeforeTheNextIsCreated()
{
    const int first = gNextId + 1;
    Select("New minimization algorithms");  // row 25
    FWindow->SelectNode(27);                // row 28: the same class, a node of its own
    QCOMPARE(FWindow->SelectedIndex(), 27);
    QCOMPARE(gLog,
             (QStringList{QString("create TfrmMtxOptim %1").arg(first), QString("destroy TfrmMtxOptim %1").arg(first),
                          QString("create TfrmMtxOptim %1").arg(first + 1)}));
    QCOMPARE(FWindow->TabForm->findChildren<TForm*>(Qt::FindDirectChildrenOnly).size(), 1);
    FWindow.reset();  // the window frees the page it shows
    QCOMPARE(gLog.last(), QString("destroy TfrmMtxOptim %1").arg(first + 1));
}

void TestDemo::pageSwitchDoesNotReenter()
{
    Select("GetMem vs SliceIt");
    gReenter = true;
    Select("Introduction");  // the old page's destruction selects "Matrix operations"
    QCOMPARE(gLog, QStringList{"destroy reentrant"});
    QCOMPARE(FWindow->SelectedIndex(), FWindow->FindNode("Matrix operations"));
    QVERIFY(dynamic_cast<TIntroMtx*>(FWindow->ExampleForm()));
    QCOMPARE(FWindow->TabForm->findChildren<TForm*>(Qt::FindDirectChildrenOnly).size(), 1);
    QCOMPARE(FWindow->Label1->text(), QString("Matrix operations"));
}

void TestDemo::pageCreationErrorShowsBoxAndKeepsNode()
{
    Select("Introduction");
    gFailCreation = true;
    const int index = Select("Using Default arrays");
    QCOMPARE(gErrorBoxes, QStringList{"Mtx = Self"});
    QCOMPARE(FWindow->SelectedIndex(), index);
    QVERIFY(FWindow->ExampleForm() == nullptr);
    Select("Introduction");  // the program goes on
    QVERIFY(FWindow->ExampleForm());
    gErrorBoxes.clear();
}

void TestDemo::webAddressIsUnderlinedOnlyUnderTheMouse()
{
    const auto moveOver = [](QWidget* w) {
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    };
    QVERIFY(!FWindow->Label3->font().underline());
    for (QWidget* away : {static_cast<QWidget*>(FWindow->Panel2), static_cast<QWidget*>(FWindow->Image1),
                          FWindow->TreeView1->viewport()}) {
        moveOver(FWindow->Label3);
        QVERIFY(FWindow->Label3->font().underline());
        moveOver(away);
        QVERIFY2(!FWindow->Label3->font().underline(), qPrintable(away->objectName()));
    }
}

// ---- the text pages ----------------------------------------------------------------------------------------

void TestDemo::everyTextPageLoadsItsText_data()
{
    QTest::addColumn<int>("row");  // 1-based row of the page table
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("fragment");
    QTest::newRow("TIntroduction") << 1 << "TIntroduction"
                                   << "TVec";
    QTest::newRow("TIntroMtx") << 2 << "TIntroMtx"
                               << "TMtx";
    QTest::newRow("TIntroVec") << 10 << "TIntroVec"
                               << "Levinson";
    QTest::newRow("TIntroExpImp") << 13 << "TIntroExpImp"
                                  << "clipboard";
    QTest::newRow("TIntroMemMan") << 17 << "TIntroMemMan"
                                  << "CreateIt";
    QTest::newRow("TIntroPoly") << 21 << "TIntroPoly"
                                << "spline";
    QTest::newRow("TIntroFunList") << 32 << "TIntroFunList"
                                   << "Dovi387";
    QTest::newRow("TVecList") << 33 << "TVecList"
                              << "TVec";
    QTest::newRow("TMtxList") << 34 << "TMtxList"
                              << "TMtx";
    QTest::newRow("TMathList") << 35 << "TMathList"
                               << "CartToPolar";
    QTest::newRow("TListOpt") << 36 << "TListOpt"
                              << "simplex";
    QTest::newRow("TListProb") << 37 << "TListProb"
                               << "distribution";
    QTest::newRow("TListSpecFun") << 38 << "TListSpecFun"
                                  << "Bessel";
    QTest::newRow("TPolyList") << 39 << "TPolyList"
                               << "polynomial";
    QTest::newRow("TfrmChanges101") << 41 << "TfrmChanges101"
                                    << "Release 1.01";
    QTest::newRow("TfrmChanges102") << 46 << "TfrmChanges102"
                                    << "TMtxFloatEdit";
    QTest::newRow("TfrmChanges15") << 49 << "TfrmChanges15"
                                   << "Sparse matrices";
    QTest::newRow("TQStart") << 56 << "TQStart"
                             << "find_package";
}

void TestDemo::everyTextPageLoadsItsText()
{
    QFETCH(int, row);
    QFETCH(QString, className);
    QFETCH(QString, fragment);
    QCOMPARE(FWindow->NodeInfo(row - 1)->FormClass->Name, className);
    FWindow->SelectNode(row - 1);
    const QString text = PageText(FWindow->ExampleForm());
    QVERIFY2(text.contains(fragment), qPrintable(text));
}

void TestDemo::missingTextGivesEmptyTextWithoutDialog()
{
    QTemporaryDir empty;
    SetDataFolder(empty.path());
    Select("TVec object function list");
    QVERIFY(FWindow->ExampleForm());
    QCOMPARE(PageText(FWindow->ExampleForm()), QString());
    QVERIFY(FWindow->btnHelp->isEnabled());  // the page works otherwise
    Select("Introduction");
    QCOMPARE(PageText(FWindow->ExampleForm()), QString());
    QVERIFY(gErrorBoxes.isEmpty());
}

void TestDemo::everyPageRowOpensABuiltPage()
{
    // Each row of the table that names a class opens that class's own page, without an error box.
    const std::vector<TPageRow> rows = ParsePageTable(QString::fromLatin1(PageTable));
    int pages = 0;
    for (const TPageRow& r : rows) {
        if (r.IsHeading()) continue;
        ++pages;
        QVERIFY2(GetClass(r.ClassName), qPrintable(r.ClassName));
        Select(r.Caption.trimmed());
        QVERIFY2(FWindow->ExampleForm(), qPrintable(r.Caption));
        QVERIFY2(gErrorBoxes.isEmpty(), qPrintable(r.Caption + ": " + gErrorBoxes.join("; ")));
    }
    QCOMPARE(pages, 51);
}

void TestDemo::downSampleSwitchesChartZoom()
{
    Select("Linear and cubic interpolation");
    auto* page = dynamic_cast<TBasicForm1*>(FWindow->ExampleForm());
    QVERIFY(page);
    QVERIFY(!page->DownSample());
    QVERIFY(page->Chart1->ZoomAllowed());
    QCOMPARE(page->RichEdit1->toPlainText(), QString());  // the base form empties the text
    QVERIFY(page->RichEdit1->isReadOnly());
    page->CheckDownSample->click();
    QVERIFY(page->DownSample());
    QVERIFY(!page->Chart1->ZoomAllowed());
    page->CheckDownSample->click();
    QVERIFY(!page->DownSample());
    QVERIFY(page->Chart1->ZoomAllowed());
}

QTEST_MAIN(TestDemo)
#include "test_demo.moc"

// The string grid on Qt: the core's grid exchange writes and reads it, fixed cells are headers nobody edits, the
// editing switch, counts, and edits refused by the grid.
// The value viewer: its grid against ValuesToGrid, clipboard text from numpy, the delimiter, edits kept exactly and
// written back only by a modal editable window, its four file forms (read back by numpy and scipy), its settings and
// its chart plug-ins.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>

#include "ComponentTestSupport.h"
#include "components/TarnelEdit.h"
#include "core/mtx_class.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Settings.h"
#include "platform/rtl/StringList.h"

namespace golden {
#include "viewer_golden.inc"
}

using namespace tarnel;

namespace {

using comptest::TErrorBoxes;

QString Text(const QAbstractItemModel& m, int col, int row)
{
    return m.data(m.index(row, col)).toString();
}

// The answers the input boxes and file dialogs get, and what they were asked.
struct TAnswers {
    std::deque<QString> Boxes;                  // one per input box; none left: Cancel (the default comes back)
    QStringList Asked;                          // "Caption|Prompt|Default"
    std::deque<std::pair<QString, int>> Files;  // file name and filter index; none left: Cancel
    std::vector<gui::TFileDialog> Dialogs;      // the dialogs as they were opened
    TAnswers()
    {
        gui::SetInputBox([this](const QString& c, const QString& p, const QString& d) {
            Asked << c + '|' + p + '|' + d;
            if (Boxes.empty()) return d;
            QString s = Boxes.front();
            Boxes.pop_front();
            return s;
        });
        gui::SetFileDialog([this](gui::TFileDialog& d) {
            Dialogs.push_back(d);
            if (Files.empty()) return false;
            d.FileName = Files.front().first;
            d.FilterIndex = Files.front().second;
            Files.pop_front();
            return true;
        });
    }
    ~TAnswers()
    {
        gui::SetInputBox(nullptr);
        gui::SetFileDialog(nullptr);
    }
};

bool SameBits(const double* a, const double* b, std::size_t n)
{
    return std::memcmp(a, b, n * sizeof(double)) == 0;
}

void Load(TMtx& m, int rows, int cols, bool complex, const std::vector<double>& v)
{
    m.Size(rows, cols, complex);
    std::memcpy(m.Values(), v.data(), v.size() * sizeof(double));
}

// A viewer on a copy of m, not modal, as ViewValues sets one up.
void Open(TTarnelEditForm& f, TMtx& m)
{
    f.SetDialogDefaults("mtx", 1);
    f.Values().Copy(m);
    f.Setup("", false, false, &m, nullptr);
}

void Open(TTarnelEditForm& f, TVec& v)
{
    f.SetDialogDefaults("vec", 2);
    f.Values().Size(v.Length(), 1, v.Complex());
    if (v.Length() > 0) f.Values().CopyVec(v, v.Length());
    f.Setup("", false, false, nullptr, &v);
}

// Sets the cell's text as an edit committed in the grid does.
bool Edit(TTarnelEditForm& f, int col, int row, const QString& text)
{
    auto& m = f.Grid().Model();
    return m.setData(m.index(row, col), text);
}

TTarnelEditForm* OpenViewer()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<TTarnelEditForm*>(w); f && f->isVisible()) return f;
    return nullptr;
}

// A chart entry for the plug-in test: counts its updates and runs.
int gUpdates = 0;
int gRuns = 0;
class TTestTeeItem : public TMtxEditTeeItem {
public:
    explicit TTestTeeItem(TTarnelEditForm& Form) : TMtxEditTeeItem(Form) { Action()->setText("Series in rows"); }
    void Update() override
    {
        ++gUpdates;
        Action()->setEnabled(Form().Values().Cols() > 1);
    }
    void Execute() override { ++gRuns; }
};

std::string RunChecker(const QString& folder)
{
    return comptest::RunPythonCheck("check_viewer_files.py", folder.toStdString());
}

}  // namespace

class TestTarnelEdit : public QObject {
    Q_OBJECT

    QTemporaryDir FSettings;

private slots:
    void initTestCase() { gui::SetSettingsFolder(FSettings.path()); }
    void init() { QFile::remove(gui::SettingsFileName()); }

    void StringGridStartsAsTheFramework()
    {
        gui::TStringGrid g;
        QCOMPARE(g.ColCount(), 5);
        QCOMPARE(g.RowCount(), 5);
        QCOMPARE(g.FixedRows(), 1);
        QCOMPARE(g.FixedCols(), 1);
        QCOMPARE(g.Editing(), false);
        QCOMPARE(g.DefaultColWidth(), 64);
        QCOMPARE(g.DefaultRowHeight(), 24);
        g.SetDefaultColWidth(50);
        g.SetDefaultRowHeight(18);
        QCOMPARE(g.DefaultColWidth(), 50);
        QCOMPARE(g.DefaultRowHeight(), 18);
        QCOMPARE(g.columnWidth(3), 51);  // the cell and its grid line
        QCOMPARE(g.rowHeight(3), 19);
    }

    // A complex matrix with headers, as the matrix pages show one, and read back.
    void MatrixExchangeThroughTheGrid()
    {
        TMtx a;
        a.SetIt(2, 2, true, {1.5, -2, 0, 3.25, -4, 0.125, 7, 8});
        gui::TStringGrid g;
        g.SetRowCount(3);
        g.SetColCount(5);
        a.ValuesToGrid(g, 0, 0, "0.0000", true);
        tarnel::TStringGrid mem(5, 3);
        a.ValuesToGrid(mem, 0, 0, "0.0000", true);
        const QAbstractItemModel& m = g.Model();
        QCOMPARE(m.rowCount(), 3);
        QCOMPARE(m.columnCount(), 5);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 5; ++c) QCOMPARE(Text(m, c, r), QString::fromStdString(mem.Cells(c, r)));
        QCOMPARE(Text(m, 1, 0), QStringLiteral("0-Re"));
        QCOMPARE(Text(m, 4, 2), QStringLiteral("8.0000"));
        TMtx b;
        b.GridToValues(g, true, true);
        QVERIFY(b.Rows() == 2 && b.Cols() == 2 && b.Complex());
        QCOMPARE(b.Values()[2 * 1 + 1], 3.25);
    }

    // Fixed cells are never editable; the others only while Editing is on. An edit lands in the grid's cell.
    void EditingSwitchAndFixedCells()
    {
        gui::TStringGrid g;
        auto& m = g.Model();
        QVERIFY(!(m.flags(m.index(0, 2)) & Qt::ItemIsEditable));
        QVERIFY(!(m.flags(m.index(2, 2)) & Qt::ItemIsEditable));
        QVERIFY(!m.setData(m.index(2, 2), "x"));
        g.SetEditing(true);
        QVERIFY(!(m.flags(m.index(0, 2)) & Qt::ItemIsEditable));
        QVERIFY(!(m.flags(m.index(2, 0)) & Qt::ItemIsSelectable));
        QVERIFY(m.flags(m.index(2, 2)) & Qt::ItemIsEditable);
        QVERIFY(m.setData(m.index(2, 3), "1.25"));
        QCOMPARE(g.Cells(3, 2), std::string("1.25"));
        QVERIFY(!m.setData(m.index(0, 3), "head"));
        QCOMPARE(g.Cells(3, 0), std::string(""));
        // Typing into the current cell goes through the view's editor into the grid.
        g.show();
        g.setCurrentIndex(m.index(1, 1));
        QTest::keyClick(&g, '4');  // opens the cell's editor with the key typed
        auto* editor = g.viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        QTest::keyClicks(editor, "2");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(g.Cells(1, 1), std::string("42"));  // the delegate commits on the next turn
    }

    // Counts keep the cells inside; fixed counts must leave a cell to scroll, and shrink with the grid.
    void CountsAndFixedCounts()
    {
        gui::TStringGrid g;
        g.SetCells(1, 1, "kept");
        g.SetCells(4, 4, "dropped");
        g.SetColCount(3);
        g.SetRowCount(3);
        QCOMPARE(g.Model().columnCount(), 3);
        QCOMPARE(g.Cells(1, 1), std::string("kept"));
        g.SetColCount(5);
        g.SetRowCount(5);
        QCOMPARE(g.Cells(4, 4), std::string(""));
        QVERIFY_THROWS_EXCEPTION(Exception, g.SetFixedCols(5));
        QVERIFY_THROWS_EXCEPTION(Exception, g.SetFixedRows(-1));
        g.SetFixedRows(0);
        g.SetFixedCols(0);
        QCOMPARE(g.FixedRows(), 0);
        g.SetFixedCols(2);
        g.SetColCount(1);
        QCOMPARE(g.FixedCols(), 0);
        QVERIFY_THROWS_EXCEPTION(Exception, g.SetRowCount(-1));
        QVERIFY_THROWS_EXCEPTION(Exception, g.SetCells(1, 0, "x"));  // outside the one column
    }

    // Cells written by the program reach the screen on the next turn of the event loop, gathered.
    void WrittenCellsAreAnnounced()
    {
        gui::TStringGrid g;
        QSignalSpy spy(&g.Model(), &QAbstractItemModel::dataChanged);
        g.SetCells(1, 1, "a");
        g.SetCells(3, 2, "b");
        QCOMPARE(spy.count(), 0);
        QTRY_COMPARE(spy.count(), 1);
        const auto tl = spy[0][0].toModelIndex();
        const auto br = spy[0][1].toModelIndex();
        QCOMPARE(tl, g.Model().index(1, 1));
        QCOMPARE(br, g.Model().index(2, 3));
    }

    // ---- The viewer --------------------------------------------------------------------------------------------

    void ViewerGridShape_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("cols");
        QTest::addColumn<bool>("complex");
        QTest::addColumn<bool>("vector");
        QTest::addColumn<int>("gridRows");
        QTest::addColumn<int>("gridCols");
        QTest::addColumn<QString>("corner");
        QTest::addColumn<int>("fixed");
        QTest::newRow("3x2 complex") << 3 << 2 << true << false << 4 << 5 << "3x2" << 1;
        QTest::newRow("vector of 5") << 5 << 1 << false << true << 6 << 2 << "5x1" << 1;
        QTest::newRow("complex vector of 2") << 2 << 1 << true << true << 3 << 3 << "2x1" << 1;
        QTest::newRow("0x0") << 0 << 0 << false << false << 1 << 1 << "0x0" << 0;
    }
    void ViewerGridShape()
    {
        QFETCH(int, rows);
        QFETCH(int, cols);
        QFETCH(bool, complex);
        QFETCH(bool, vector);
        TTarnelEditForm f;
        TMtx m;
        TVec v;
        if (vector) {
            v.Size(rows, complex);
            Open(f, v);
        } else {
            m.Size(rows, cols, complex);
            Open(f, m);
        }
        const auto& model = f.Grid().Model();
        QTEST(model.rowCount(), "gridRows");
        QTEST(model.columnCount(), "gridCols");
        QTEST(Text(model, 0, 0), "corner");
        QTEST(model.FixedRows(), "fixed");
        QTEST(model.FixedCols(), "fixed");
        QCOMPARE(f.windowTitle(), QStringLiteral("View values"));
        f.UpdateActions();
        QCOMPARE(f.FindAction("Transp")->isEnabled(), !vector);
        QCOMPARE(f.FindAction("Adjung")->isEnabled(), !vector);
        for (const char* name : {"CopyAsReal", "RealPart", "ImagPart", "Mag"})
            QCOMPARE(f.FindAction(name)->isEnabled(), complex);
        QCOMPARE(f.Grid().DefaultRowHeight(), 18);
        QCOMPARE(f.Grid().DefaultColWidth(), 64);
    }

    // Every cell as ValuesToGrid writes it with headers at (0, 0) below the corner text, in the string format and
    // in the general text (Scientific), though the model keeps no text.
    void ViewerCellsAreValuesToGrid()
    {
        TMtx m;
        Load(m, 3, 2, true, {1.0 / 3, -2.5, 1e-7, 123456.789, -0.0, 2.0 / 3, 1e20, -1e-300, 5, 0, -7.125, 0.1});
        for (bool scientific : {false, true}) {
            {
                gui::TRegistry reg;
                reg.OpenKey("\\Software\\Brisolt\\Tarnel\\TarnelEditor", true);
                reg.WriteBool("Scientific", scientific);
            }
            TTarnelEditForm f;
            Open(f, m);
            tarnel::TStringGrid mem(5, 4);
            mem.SetCells(0, 0, "3x2");
            m.ValuesToGrid(mem, 0, 0, scientific ? "" : "0.0000", true);
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 5; ++c)
                    QCOMPARE(Text(f.Grid().Model(), c, r), QString::fromStdString(mem.Cells(c, r)));
        }
    }

    // numpy's tab text with its final line break pastes exactly; "1<tab>2" is one row of two, or 1+2i as complex;
    // a paste that fails leaves the values as they were.
    void ViewerPaste()
    {
        TErrorBoxes errors;
        TMtx m;
        m.Size(2, 2);
        TTarnelEditForm f;
        Open(f, m);
        QGuiApplication::clipboard()->setText(QString::fromLatin1(golden::kNumpyTabText));
        f.UpdateActions();
        QVERIFY(f.FindAction("Paste")->isEnabled());
        f.FindAction("Paste")->trigger();
        QCOMPARE(f.Values().Rows(), 4);
        QCOMPARE(f.Values().Cols(), 3);
        QVERIFY(!f.Values().Complex());
        QVERIFY(SameBits(f.Values().Values(), golden::kNumpyTabValues.data(), 12));
        QCOMPARE(Text(f.Grid().Model(), 0, 0), QStringLiteral("4x3"));

        QGuiApplication::clipboard()->setText("1\t2");
        f.PasteValues(false);
        QVERIFY(f.Values().Rows() == 1 && f.Values().Cols() == 2 && !f.Values().Complex());
        QCOMPARE(f.Values().Values()[1], 2.0);
        f.FindAction("PasteAsComplex")->trigger();
        QVERIFY(f.Values().Rows() == 1 && f.Values().Cols() == 1 && f.Values().Complex());
        QCOMPARE(f.Values().Values()[0], 1.0);
        QCOMPARE(f.Values().Values()[1], 2.0);

        QGuiApplication::clipboard()->setText("1\t2\t3\n");
        f.FindAction("PasteAsComplex")->trigger();
        QCOMPARE(errors.Shown, QStringList{"SetComplex: Cols is odd"});
        QVERIFY(f.Values().Rows() == 1 && f.Values().Cols() == 1 && f.Values().Complex());
        QGuiApplication::clipboard()->clear();
        f.UpdateActions();
        QVERIFY(!f.FindAction("Paste")->isEnabled());
    }

    // Copy gives the lines of ValuesToStrings (15-digit general text) joined by line breaks; Copy as real sees the
    // complex values as twice as many real columns. What Copy gives, Paste takes back.
    void ViewerCopy()
    {
        TMtx m;
        Load(m, 2, 1, true, {1.0 / 3, -2, 0.5, 0});
        TTarnelEditForm f;
        Open(f, m);
        f.FindAction("Copy")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("0.333333333333333-2i\n0.5\n"));
        f.FindAction("CopyAsReal")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("0.333333333333333\t-2\n0.5\t0\n"));
        f.PasteValues(false);
        QVERIFY(f.Values().Rows() == 2 && f.Values().Cols() == 2 && !f.Values().Complex());
        QCOMPARE(f.Values().Values()[0], 0.333333333333333);
        // Ctrl+C in the grid copies the values, not the one cell the view would copy.
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.Grid().setFocus();
        f.Grid().setCurrentIndex(f.Grid().Model().index(1, 1));
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(&f.Grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("0.333333333333333\t-2\n0.5\t0\n"));
    }

    void ViewerDelimiter_data()
    {
        QTest::addColumn<QStringList>("answers");  // empty: Cancel
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("copied");  // the copy of one row (1, 2)
        QTest::newRow("#59") << QStringList{"#59"} << "Delimiter = #59"
                             << "1;2\n";
        QTest::newRow("comma") << QStringList{", "} << "Delimiter = , "
                               << "1, 2\n";
        QTest::newRow("#x") << QStringList{"#x"} << "Delimiter = #9"
                            << "1\t2\n";
        QTest::newRow("empty") << QStringList{""} << "Delimiter = #9"
                               << "1\t2\n";
        QTest::newRow("#0") << QStringList{"#0"} << "Delimiter = #9"
                            << "1\t2\n";
        QTest::newRow("#256") << QStringList{"#256"} << "Delimiter = #9"
                              << "1\t2\n";
        QTest::newRow("#59 then #x") << QStringList{"#59", "#x"} << "Delimiter = #9"
                                     << "1\t2\n";
        QTest::newRow("cancel") << QStringList{} << "Delimiter = #9"
                                << "1\t2\n";
    }
    void ViewerDelimiter()
    {
        QFETCH(QStringList, answers);
        TAnswers box;
        TMtx m;
        m.SetIt(1, 2, false, {1, 2});
        {
            TTarnelEditForm f;
            Open(f, m);
            for (const QString& a : answers) box.Boxes.push_back(a);
            for (int i = 0; i < std::max<int>(answers.size(), 1); ++i) f.FindAction("Delimiter")->trigger();
            QCOMPARE(box.Asked.front(), QStringLiteral("Set new delimiter|Delimiter:|#9"));
            QTEST(f.FindAction("Delimiter")->text(), "caption");
            f.CopyValues(false);
            QTEST(QGuiApplication::clipboard()->text(), "copied");
            // What was copied pastes back with the delimiter set.
            f.PasteValues(false);
            QVERIFY(f.Values().Rows() == 1 && f.Values().Cols() == 2);
        }
        gui::TRegistry reg;
        reg.OpenKey("\\Software\\Brisolt\\Tarnel\\TarnelEditor", false);
        QVERIFY(!reg.ReadString("Delimiter").isEmpty());
    }

    // Edits go into the working matrix as they are committed: a text that does not parse is refused with its
    // error, the others stay exact across Size and the operations, and headers are never edited.
    void ViewerEditsKeptExactly()
    {
        TErrorBoxes errors;
        TAnswers box;
        TMtx m;
        Load(m, 2, 2, false, {1.0 / 3, 2.0 / 3, 0.1, 1e-20});
        TTarnelEditForm f;
        Open(f, m);
        QVERIFY(!Edit(f, 1, 1, "5"));  // not editable yet
        f.FindAction("Editable")->trigger();
        QVERIFY(f.Editable());
        QVERIFY(f.FindAction("Editable")->isChecked());
        QVERIFY(Edit(f, 2, 1, "2.5"));
        QVERIFY(!Edit(f, 1, 2, "abc"));
        QCOMPARE(errors.Shown.size(), 1);
        QVERIFY(!Edit(f, 0, 1, "7"));  // the row header
        QVERIFY(!Edit(f, 1, 0, "7"));  // the column header
        QCOMPARE(Text(f.Grid().Model(), 2, 1), QStringLiteral("2.5000"));
        box.Boxes = {"3", "2"};
        f.FindAction("Size")->trigger();
        QCOMPARE(box.Asked, (QStringList{"New number of rows|Rows:|2", "New number of cols|Cols:|2"}));
        const std::vector<double> expected{1.0 / 3, 2.5, 0.1, 1e-20, 0, 0};
        QVERIFY(SameBits(f.Values().Values(), expected.data(), 6));
        for (const char* name : {"ColumnWidth", "StringFormat", "Delimiter"}) f.FindAction(name)->trigger();
        f.FindAction("Transp")->trigger();
        f.FindAction("Transp")->trigger();
        QVERIFY(SameBits(f.Values().Values(), expected.data(), 6));
        // A size that is not a number: the conversion error, nothing changed.
        box.Boxes = {"x"};
        f.FindAction("Size")->trigger();
        QCOMPARE(errors.Shown.back(), QStringLiteral("'x' is not a valid integer value"));
        QCOMPARE(f.Values().Rows(), 3);
        // Cancel keeps the counts.
        f.FindAction("Size")->trigger();
        QCOMPARE(f.Values().Rows(), 3);
        f.FindAction("Editable")->trigger();
        QVERIFY(!Edit(f, 1, 1, "5"));
    }

    void ViewerOperations()
    {
        TMtx m;
        Load(m, 1, 2, true, {3, 4, -1, 0.5});
        TTarnelEditForm f;
        Open(f, m);
        f.FindAction("Adjung")->trigger();
        QVERIFY(f.Values().Rows() == 2 && f.Values().Cols() == 1);
        const std::vector<double> adj{3, -4, -1, -0.5};
        QVERIFY(SameBits(f.Values().Values(), adj.data(), 4));
        QCOMPARE(Text(f.Grid().Model(), 0, 0), QStringLiteral("2x1"));
        f.FindAction("Mag")->trigger();
        QVERIFY(!f.Values().Complex());
        QCOMPARE(f.Values().Values()[0], 5.0);
        f.UpdateActions();
        QVERIFY(!f.FindAction("Mag")->isEnabled());
        TMtx c;
        Load(c, 1, 1, true, {3, 4});
        TTarnelEditForm g;
        Open(g, c);
        g.FindAction("ImagPart")->trigger();
        QVERIFY(!g.Values().Complex() && g.Values().Values()[0] == 4.0);
        g.FindAction("Zero")->trigger();
        QCOMPARE(g.Values().Values()[0], 0.0);
    }

    // A modal, editable window writes back when it closes (a vector takes the values, length included); a window
    // not modal, or not editable, leaves the caller's object alone.
    void ViewerWriteBack_data()
    {
        QTest::addColumn<bool>("modal");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<bool>("vector");
        QTest::addColumn<bool>("written");
        QTest::newRow("vector, modal, editable") << true << true << true << true;
        QTest::newRow("matrix, modal, editable") << true << true << false << true;
        QTest::newRow("vector, modal, not editable") << true << false << true << false;
        QTest::newRow("vector, not modal, editable") << false << true << true << false;
        QTest::newRow("matrix, not modal, editable") << false << true << false << false;
    }
    void ViewerWriteBack()
    {
        QFETCH(bool, modal);
        QFETCH(bool, editable);
        QFETCH(bool, vector);
        QFETCH(bool, written);
        TAnswers box;
        box.Boxes = vector ? std::deque<QString>{"4"} : std::deque<QString>{"4", "2"};
        TVec v;
        v.SetIt(false, {1.0 / 3, 2, 3});
        TMtx m;
        m.SetIt(3, 1, false, {1.0 / 3, 2, 3});
        bool acted = false;
        const auto act = [&] {
            TTarnelEditForm* f = OpenViewer();
            if (!f) return;
            acted = true;
            f->SetEditable(editable);
            Edit(*f, 1, 2, "-7.5");
            f->SizeValues();
            f->close();
        };
        if (modal) {
            QTimer::singleShot(0, act);
            vector ? ViewValues(v, "", true, false) : ViewValues(m, "", true, false);
        } else {
            vector ? ViewValues(v, "", false, false) : ViewValues(m, "", false, false);
            act();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QVERIFY(acted);
        QVERIFY(!OpenViewer());
        const double* x = vector ? v.Values() : m.Values();
        const int n = vector ? v.Length() : m.Rows() * m.Cols();
        if (written) {
            const std::vector<double> vec{1.0 / 3, -7.5, 3, 0};
            const std::vector<double> mtx{1.0 / 3, 0, -7.5, 0, 3, 0, 0, 0};
            QCOMPARE(n, vector ? 4 : 8);
            QVERIFY(SameBits(x, vector ? vec.data() : mtx.data(), n));
        } else {
            const std::vector<double> old{1.0 / 3, 2, 3};
            QCOMPARE(n, 3);
            QVERIFY(SameBits(x, old.data(), 3));
        }
    }

    // The file forms: 1 and 2 read back exactly (2 as one column), 3 is read by numpy.loadtxt and 4 by
    // scipy.io.mmread (check_viewer_files.py). The dialogs' filters, indexes, default extension and folders.
    void ViewerFiles()
    {
        TAnswers box;
        QTemporaryDir dir;
        const QString d = dir.path();
        TMtx real;
        Load(real, 3, 4, false, golden::kSaveReal);
        TMtx complex;
        Load(complex, 2, 3, true, golden::kSaveComplex);
        for (TMtx* m : {&real, &complex}) {
            const QString name = m->Complex() ? "complex" : "real";
            TTarnelEditForm f;
            Open(f, *m);
            box.Files = {{d + '/' + name + "_1", 1},
                         {d + '/' + name + ".vec", 2},
                         {d + '/' + name + ".txt", 3},
                         {d + '/' + name + ".mtx", 4}};
            for (int i = 0; i < 4; ++i) f.FindAction("Save")->trigger();
            QCOMPARE(box.Dialogs.back().Filter,
                     QStringLiteral("Mtx files (*.mtx)|*.MTX|Vec files (*.vec)|*.VEC|text file (*.txt)|*.TXT|"
                                    "Matrix market files (*.mtx)|*.tmx"));
            QCOMPARE(f.LastSaveDir(), QDir(d).absolutePath());
            QVERIFY(QFile::exists(d + '/' + name + "_1.mtx"));  // the default extension
            f.Values().Size(0, 0);
            box.Files = {{d + '/' + name + "_1.mtx", 1}};
            f.FindAction("Load")->trigger();
            QCOMPARE(box.Dialogs.back().Filter,
                     QStringLiteral("Mtx files (*.mtx)|*.MTX|Vec files (*.vec)|*.VEC|text file (*.txt)|*.TXT"));
            QVERIFY(f.Values().Rows() == m->Rows() && f.Values().Cols() == m->Cols());
            QVERIFY(SameBits(f.Values().Values(), m->Values(), golden::kSaveReal.size()));
            box.Files = {{d + '/' + name + ".vec", 2}};
            f.FindAction("Load")->trigger();
            QVERIFY(f.Values().Rows() == m->Rows() * m->Cols() && f.Values().Cols() == 1);
            QVERIFY(SameBits(f.Values().Values(), m->Values(), golden::kSaveReal.size()));
            QCOMPARE(f.LastOpenDir(), QDir(d).absolutePath());
            // Text back in: the 15-digit text, one row per line.
            box.Files = {{d + '/' + name + ".txt", 3}};
            f.FindAction("Load")->trigger();
            QVERIFY(f.Values().Rows() == m->Rows() && f.Values().Cols() == m->Cols());
            // A cancelled Load still shows the values again.
            f.Values().Size(1, 1);
            f.FindAction("Load")->trigger();
            QCOMPARE(Text(f.Grid().Model(), 0, 0), QStringLiteral("1x1"));
        }
        const std::string checked = RunChecker(d);
        QVERIFY2(checked.empty(), checked.c_str());
        // A vector's dialogs start on filter 2 with "vec".
        TVec v;
        v.SetIt(false, {1, 2});
        TTarnelEditForm f;
        Open(f, v);
        f.FindAction("Save")->trigger();
        QCOMPARE(box.Dialogs.back().FilterIndex, 2);
        QCOMPARE(box.Dialogs.back().DefaultExt, QStringLiteral("vec"));
        QCOMPARE(box.Dialogs.back().InitialDir, QDir(d).absolutePath());
    }

    void ViewerLoadErrorKeepsValues()
    {
        TErrorBoxes errors;
        TAnswers box;
        QTemporaryDir dir;
        QFile bad(dir.filePath("bad.mtx"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(
            "not a matrix at all, but long enough to hold a header of one............................"
            "...........................................................................");
        bad.close();
        TMtx m;
        m.SetIt(1, 2, false, {1.5, 2.5});
        TTarnelEditForm f;
        Open(f, m);
        box.Files = {{bad.fileName(), 1}, {dir.filePath("none.txt"), 3}};
        QVERIFY_THROWS_EXCEPTION(Exception, f.Load());
        f.FindAction("Load")->trigger();  // a file that is not there, through the menu: the error box
        QCOMPARE(errors.Shown.size(), 1);
        QVERIFY(f.Values().Rows() == 1 && f.Values().Cols() == 2 && f.Values().Values()[1] == 2.5);
    }

    // The settings: read with their defaults and rules, all written back when the window goes; a window asked to
    // stay on top does not make the next one stay on top.
    void ViewerSettings()
    {
        {
            gui::TRegistry reg;
            reg.OpenKey("\\Software\\Brisolt\\Tarnel\\TarnelEditor", true);
            reg.WriteInteger("ColumnWidth", 2);
            reg.WriteString("Delimiter", "");
            reg.WriteString("StringFormat", "0.00");
        }
        TMtx m;
        m.SetIt(1, 1, false, {1.0 / 3});
        {
            TTarnelEditForm f;
            f.Values().Copy(m);
            f.Setup("Caption given", false, true, &m, nullptr);
            QCOMPARE(f.ColumnWidth(), 64);
            QCOMPARE(f.Delimiter(), QStringLiteral("\t"));
            QCOMPARE(Text(f.Grid().Model(), 1, 1), QStringLiteral("0.33"));
            QVERIFY(f.windowFlags() & Qt::WindowStaysOnTopHint);
            QCOMPARE(f.windowTitle(), QStringLiteral("Caption given"));
        }
        gui::TRegistry reg;
        reg.OpenKey("\\Software\\Brisolt\\Tarnel\\TarnelEditor", false);
        QStringList names = reg.GetValueNames();
        names.sort();
        QCOMPARE(names, (QStringList{"ColumnWidth", "Delimiter", "FormLeft", "FormPosition", "FormStyle", "FormTop",
                                     "Height", "LastOpenDir", "LastSaveDir", "Scientific", "StringFormat", "Width"}));
        QCOMPARE(reg.ReadInteger("FormStyle", -1), 0);
        QCOMPARE(reg.ReadInteger("FormPosition", -1), 4);
        QCOMPARE(reg.ReadInteger("ColumnWidth", -1), 64);
        QCOMPARE(reg.ReadString("Delimiter"), QStringLiteral("\t"));
        reg.WriteInteger("FormStyle", 3);
        m.SetCaption("The matrix");
        TTarnelEditForm g;
        g.Values().Copy(m);
        g.Setup("", false, false, &m, nullptr);
        QVERIFY(g.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(g.windowTitle(), QStringLiteral("The matrix"));
    }

    // Size rules: (column width + 1) × columns + 15 wide, within 85% of the screen right of the window; the window
    // is centred for position 4 and placed at FormLeft, FormTop for 0.
    void ViewerSizeAndPlace()
    {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        TMtx m;
        m.Size(3, 2, true);
        {
            TTarnelEditForm f;
            Open(f, m);
            QCOMPARE(f.width(), 65 * 5 + 15);
            QVERIFY(std::abs(f.geometry().center().x() - screen.center().x()) <= 1);  // halves of odd sizes
        }
        {
            gui::TRegistry reg;
            reg.OpenKey("\\Software\\Brisolt\\Tarnel\\TarnelEditor", true);
            reg.WriteInteger("FormPosition", 0);
            reg.WriteInteger("FormLeft", screen.x() + 100);
            reg.WriteInteger("FormTop", screen.y() + 50);
        }
        m.Size(500, 500, false);
        TTarnelEditForm f;
        Open(f, m);
        QCOMPARE(f.x(), screen.x() + 100);
        QCOMPARE(f.width(), static_cast<int>(0.85 * (screen.width() - 100)));
        QCOMPARE(f.height(), static_cast<int>(0.85 * (screen.height() - 50)));
    }

    // Registered chart entries fill the "Chart" menu when the window shows; it is hidden without entries.
    void ViewerChartPlugins()
    {
        TMtx m;
        m.Size(2, 3);
        {
            TTarnelEditForm f;
            Open(f, m);
            QVERIFY(!f.ChartMenu()->menuAction()->isVisible());
        }
        RegisterTeeItem(TeeItemClass<TTestTeeItem>);
        RegisterTeeItem(TeeItemClass<TTestTeeItem>);
        QCOMPARE(TMtxEditTeeItems().size(), std::size_t{1});
        gUpdates = gRuns = 0;
        {
            TTarnelEditForm f;
            Open(f, m);
            QVERIFY(f.ChartMenu()->menuAction()->isVisible());
            const auto items = f.ChartMenu()->actions();
            QCOMPARE(items.size(), 1);
            QCOMPARE(items[0]->text(), QStringLiteral("Series in rows"));
            emit f.ChartMenu()->aboutToShow();
            QVERIFY(gUpdates > 0);
            QVERIFY(items[0]->isEnabled());
            items[0]->trigger();
            QCOMPARE(gRuns, 1);
            f.Values().Size(2, 1);
            emit f.ChartMenu()->aboutToShow();
            QVERIFY(!items[0]->isEnabled());
        }
        UnregisterTeeItem(TeeItemClass<TTestTeeItem>);
        TTarnelEditForm f;
        Open(f, m);
        QVERIFY(!f.ChartMenu()->menuAction()->isVisible());
        QVERIFY(f.ChartMenu()->actions().isEmpty());
    }

    // The window as painted: the corner, headers and values appear in the grid. With TARNEL_SHOT_DIR set the
    // picture is also written there (viewer.png), to be looked at.
    void ViewerPaints()
    {
        TMtx m;
        m.SetIt(3, 2, true, {1.5, -2, 0, 3.25, -4, 0.125, 7, 8, 1.0 / 3, -1e-3, 100, 0});
        TTarnelEditForm f;
        Open(f, m);
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QImage shot = f.grab().toImage();
        if (const QString dir = qEnvironmentVariable("TARNEL_SHOT_DIR"); !dir.isEmpty())
            QVERIFY(shot.save(QDir(dir).filePath("viewer.png")));
        // Each value cell holds dark text pixels on the light cell background.
        auto& g = f.Grid();
        for (int r = 1; r < 4; ++r)
            for (int c = 1; c < 5; ++c) {
                const QRect cell = g.visualRect(g.Model().index(r, c)).translated(g.viewport()->mapTo(&f, QPoint()));
                int dark = 0;
                for (int y = cell.top(); y <= cell.bottom(); ++y)
                    for (int x = cell.left(); x <= cell.right(); ++x) dark += qGray(shot.pixel(x, y)) < 128;
                QVERIFY2(dark > 5, qPrintable(QStringLiteral("cell %1,%2 is blank").arg(c).arg(r)));
            }
    }
};

QTEST_MAIN(TestTarnelEdit)
#include "test_tarnel_edit.moc"

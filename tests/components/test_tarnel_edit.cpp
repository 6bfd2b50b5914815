// The string grid on Qt: the core's grid exchange writes and reads it, fixed cells are headers nobody edits, the
// editing switch, counts, and edits refused by the grid.
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "components/TarnelEdit.h"
#include "core/mtx_class.h"
#include "platform/gui/Guard.h"

using namespace tarnel;

namespace {

struct TErrorBoxes {
    QStringList Shown;
    TErrorBoxes()
    {
        gui::SetErrorBox([this](const QString& m) { Shown << m; });
    }
    ~TErrorBoxes() { gui::SetErrorBox(nullptr); }
};

QString Text(const QAbstractItemModel& m, int col, int row)
{
    return m.data(m.index(row, col)).toString();
}

}  // namespace

class TestTarnelEdit : public QObject {
    Q_OBJECT

private slots:
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
};

QTEST_MAIN(TestTarnelEdit)
#include "test_tarnel_edit.moc"

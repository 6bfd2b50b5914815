// The matrix pages: inverse, square root, eigenvalues, LQ/QR/SVD and the linear system. Each runs inside the main
// window (its help button wired as the page contract says); the value viewer and the message box are recorded.
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>

#include "core/pool.h"
#include "demo/CalcSqrtMtx.h"
#include "demo/DemoFiles.h"
#include "demo/InverseMtx.h"
#include "demo/Main.h"
#include "demo/MatrixPages.h"
#include "demo/Pages.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Help.h"
#include "platform/gui/Settings.h"
#include "platform/rtl/Random.h"

using namespace paxtor;
using namespace tarnel;
using TGrid = tarnel::gui::TStringGrid;

namespace {

QStringList gErrorBoxes;
QStringList gMessages;
QList<int> gHelpContexts;

// What the value viewer was opened on.
struct TViewed {
    QString Caption;
    std::unique_ptr<TMtx> Values;
};
std::vector<TViewed> gViewed;

std::uint64_t FixedClock()
{
    return 20261211;
}

// Types Text into cell (Col, Row) as a user would: through the grid's model.
bool Type(TGrid& Grid, int Col, int Row, const QString& Text)
{
    return Grid.Model().setData(Grid.Model().index(Row, Col), Text);
}

QString Cell(const TGrid& Grid, int Col, int Row)
{
    return QString::fromStdString(Grid.Cells(Col, Row));
}

// The grid's value cells as rows of texts.
QList<QStringList> Cells(const TGrid& Grid)
{
    QList<QStringList> rows;
    for (int r = 0; r < Grid.RowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < Grid.ColCount(); ++c) row << Cell(Grid, c, r);
        rows << row;
    }
    return rows;
}

// Self·Other against the identity, within Tolerance.
bool IsIdentityProduct(TMtx& A, TMtx& B, double Tolerance)
{
    TMtx p, eye;
    p.Mul(A, B);
    eye.Eye(A.Rows(), B.Cols(), p.Complex());
    return p.Equal(eye, Tolerance);
}

}  // namespace

class TestMatrixPages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void inverseEnableStates();
    void inverseOfTypedMatrix();
    void inverseReadsTheGridButChecksTheGeneratedMatrix();
    void singularMatrixKeepsTheFormerInverse();
    void inverseAtLargestDimension();
    void rootSucceedsForBothTypes();
    void complexRootIsShownInPairsOfColumns();

private:
    template <class T>
    T* Show(const QString& caption)
    {
        FWindow->SelectNode(FWindow->FindNode(caption));
        auto* page = dynamic_cast<T*>(FWindow->ExampleForm());
        if (!page) qFatal("no page for %s", qPrintable(caption));
        return page;
    }
    std::unique_ptr<TfrmMain> FWindow;
    QTemporaryDir FSettings;
    int FMtxUsed = 0, FVecUsed = 0;
};

void TestMatrixPages::initTestCase()
{
    gui::SetSettingsFolder(FSettings.path());
    RegisterPages();
    gui::SetErrorBox([](const QString& m) { gErrorBoxes << m; });
    gui::SetHelpViewer([](int c) { gHelpContexts << c; });
    SetMessageBox([](const QString& m) { gMessages << m; });
    SetValuesViewer([](TMtx& m, const QString& caption) {
        auto copy = std::make_unique<TMtx>();
        copy->Copy(m);
        gViewed.push_back({caption, std::move(copy)});
    });
    SetRandomizeClock(FixedClock);
}

void TestMatrixPages::init()
{
    gErrorBoxes.clear();
    gMessages.clear();
    gHelpContexts.clear();
    gViewed.clear();
    Randomize();
    FMtxUsed = MtxCacheUsed;
    FVecUsed = VecCacheUsed;
    FWindow = std::make_unique<TfrmMain>();
}

void TestMatrixPages::cleanup()
{
    FWindow.reset();
    // Every pooled object went back, also after a failed computation.
    QCOMPARE(int(MtxCacheUsed), FMtxUsed);
    QCOMPARE(int(VecCacheUsed), FVecUsed);
    const bool errorsExpected = QTest::currentTestFunction() == QByteArray("singularMatrixKeepsTheFormerInverse");
    QVERIFY2(errorsExpected || gErrorBoxes.isEmpty(), qPrintable(gErrorBoxes.join("; ")));
}

// ---- TInvMtx ---------------------------------------------------------------------------------------------------

void TestMatrixPages::inverseEnableStates()
{
    auto* p = Show<TInvMtx>("Calculating the inverse of squared matrix");
    QCOMPARE(p->TrackBar1->minimum(), 2);
    QCOMPARE(p->TrackBar1->maximum(), 100);
    QCOMPARE(p->TrackBar1->tickInterval(), 4);
    QCOMPARE(p->lblDim->text(), QString("4"));
    QVERIFY(FWindow->btnHelp->isEnabled());
    FWindow->btnHelp->click();
    QCOMPARE(gHelpContexts, QList<int>{4890});
    // Created with a generated 4 × 4 matrix in grid A, values in [-5, 5) with four decimals.
    QCOMPARE(p->A().Rows(), 4);
    QCOMPARE(p->GridA->RowCount(), 4);
    QCOMPARE(p->GridA->ColCount(), 4);
    QCOMPARE(p->GridA->FixedRows(), 0);
    QCOMPARE(p->GridA->FixedCols(), 0);
    QVERIFY(p->GridA->Editing());
    QVERIFY(!p->GridInv->Editing());
    QCOMPARE(Cell(*p->GridA, 1, 2), QString::number(p->A().Values2D()[2][1], 'f', 4));
    QVERIFY(p->A().Min() >= -5 && p->A().Max() < 5);
    QVERIFY(p->btnInverse->isEnabled());
    QVERIFY(!p->btnCheck->isEnabled());

    p->btnInverse->click();
    QVERIFY(p->btnCheck->isEnabled());
    p->TrackBar1->setValue(7);
    QCOMPARE(p->lblDim->text(), QString("7"));
    QVERIFY(!p->btnInverse->isEnabled());
    QVERIFY(!p->btnCheck->isEnabled());
    p->btnGenerate->click();
    QVERIFY(p->btnInverse->isEnabled());
    QVERIFY(!p->btnCheck->isEnabled());
    QCOMPARE(p->GridA->RowCount(), 7);
    QCOMPARE(p->GridInv->ColCount(), 7);
    QCOMPARE(Cell(*p->GridInv, 0, 0), QString());  // the former inverse is gone
    p->btnInverse->click();
    p->btnCheck->click();
    QCOMPARE(gViewed.size(), std::size_t(1));
    QCOMPARE(gViewed[0].Caption, QString("A*A-1 = ?"));
    TMtx eye;
    eye.Eye(7, 7);
    // The inverse of the four-decimal grid values, times the unrounded A: close to, not exactly, the identity.
    QVERIFY(gViewed[0].Values->Equal(eye, 1e-2));
}

void TestMatrixPages::inverseOfTypedMatrix()
{
    auto* p = Show<TInvMtx>("Calculating the inverse of squared matrix");
    p->TrackBar1->setValue(2);
    p->btnGenerate->click();
    for (auto [c, r, t] : {std::tuple{0, 0, "4"}, {1, 0, "7"}, {0, 1, "2"}, {1, 1, "6"}})
        QVERIFY(Type(*p->GridA, c, r, t));
    p->btnInverse->click();
    QCOMPARE(Cells(*p->GridInv), (QList<QStringList>{{"0.6000", "-0.7000"}, {"-0.2000", "0.4000"}}));
    QCOMPARE(p->Inv().Rows(), 2);
    QVERIFY(!p->Inv().Complex());
}

void TestMatrixPages::inverseReadsTheGridButChecksTheGeneratedMatrix()
{
    auto* p = Show<TInvMtx>("Calculating the inverse of squared matrix");
    p->TrackBar1->setValue(3);
    p->btnGenerate->click();
    TMtx generated;
    generated.Copy(p->A());
    const QString edited = QString::number(generated.Values2D()[0][0] + 3, 'f', 4);
    QVERIFY(Type(*p->GridA, 0, 0, edited));
    p->btnInverse->click();
    // The inverse is the edited matrix's, read from the grid.
    TMtx typed;
    typed.GridToValues(*p->GridA, false, false);
    QCOMPARE(typed.Values2D()[0][0], edited.toDouble());
    TMtx inv;
    inv.Copy(p->Inv());
    QVERIFY(IsIdentityProduct(typed, inv, 1e-9));
    // The product takes the generated A: no longer the identity.
    p->btnCheck->click();
    QCOMPARE(gViewed.size(), std::size_t(1));
    TMtx expected;
    expected.Mul(generated, inv);
    QVERIFY(gViewed[0].Values->Equal(expected, 1e-12));
    QVERIFY(!IsIdentityProduct(generated, inv, 1e-2));
    QVERIFY(p->A().Equal(generated));
}

void TestMatrixPages::singularMatrixKeepsTheFormerInverse()
{
    auto* p = Show<TInvMtx>("Calculating the inverse of squared matrix");
    p->TrackBar1->setValue(2);
    p->btnGenerate->click();
    for (auto [c, r, t] : {std::tuple{0, 0, "4"}, {1, 0, "7"}, {0, 1, "2"}, {1, 1, "6"}})
        QVERIFY(Type(*p->GridA, c, r, t));
    p->btnInverse->click();
    const QList<QStringList> former = Cells(*p->GridInv);
    TMtx formerInv;
    formerInv.Copy(p->Inv());
    // Two equal rows.
    for (auto [c, r, t] : {std::tuple{0, 0, "1"}, {1, 0, "2"}, {0, 1, "1"}, {1, 1, "2"}})
        QVERIFY(Type(*p->GridA, c, r, t));
    p->btnInverse->click();
    QCOMPARE(gErrorBoxes, QStringList{"LU factorization: U(2,2) = 0 (singular)"});
    QCOMPARE(Cells(*p->GridInv), former);
    QVERIFY(p->Inv().Equal(formerInv));
    QVERIFY(p->btnCheck->isEnabled());
    QVERIFY(p->btnInverse->isEnabled());
    // Text that is no number: the parser's error, nothing changes either.
    QVERIFY(Type(*p->GridA, 1, 1, "x"));
    p->btnInverse->click();
    QCOMPARE(gErrorBoxes.size(), 2);
    QVERIFY(p->Inv().Equal(formerInv));
}

void TestMatrixPages::inverseAtLargestDimension()
{
    auto* p = Show<TInvMtx>("Calculating the inverse of squared matrix");
    p->TrackBar1->setValue(100);
    p->btnGenerate->click();
    p->btnInverse->click();
    QCOMPARE(p->GridInv->RowCount(), 100);
    QCOMPARE(p->GridInv->ColCount(), 100);
    TMtx typed, inv;
    typed.GridToValues(*p->GridA, false, false);
    inv.Copy(p->Inv());
    QVERIFY(IsIdentityProduct(typed, inv, 1e-8));
}

// ---- TfrmSqrtMtx -----------------------------------------------------------------------------------------------

void TestMatrixPages::rootSucceedsForBothTypes()
{
    auto* p = Show<TfrmSqrtMtx>("Calculating squared root of matrix");
    QVERIFY(p->Symmetric());
    QCOMPARE(p->GridA->RowCount(), 4);
    QCOMPARE(p->GridA->ColCount(), 4);
    QCOMPARE(p->GridSqrt->ColCount(), 7);
    QCOMPARE(p->GridA->FixedRows(), 1);
    QCOMPARE(Cell(*p->GridA, 0, 1), QString("0"));  // index headers
    QCOMPARE(Cell(*p->GridA, 3, 0), QString("2"));
    QVERIFY(p->btnSqrt->isEnabled());
    QVERIFY(!p->btnCheck->isEnabled());
    for (const int type : {0, 1}) {
        p->TypeItems->button(type)->click();
        for (int run = 0; run < 25; ++run) {
            p->btnGenerate->click();
            const TMtx& a = p->A();
            QVERIFY(a.Min() >= 2 && a.Max() < 10);
            if (type == 0) {
                TMtx t;
                t.Transp(a);
                QVERIFY(t.Equal(a));
            }
            p->btnSqrt->click();
            QVERIFY(p->btnCheck->isEnabled());
            p->btnCheck->click();
            QVERIFY(!p->btnCheck->isEnabled());
        }
    }
    QCOMPARE(gMessages, QStringList(50, "Succeeded!"));
}

void TestMatrixPages::complexRootIsShownInPairsOfColumns()
{
    auto* p = Show<TfrmSqrtMtx>("Calculating squared root of matrix");
    p->TypeItems->button(1)->click();
    p->btnGenerate->click();
    // A matrix with a negative eigenvalue (-1) has a complex root: [[1, 2, 0], [2, 1, 0], [0, 0, 4]].
    const char* values[3][3] = {{"1", "2", "0"}, {"2", "1", "0"}, {"0", "0", "4"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) QVERIFY(Type(*p->GridA, c + 1, r + 1, values[r][c]));
    p->btnSqrt->click();
    QVERIFY(p->Root().Complex());
    QCOMPARE(p->GridSqrt->ColCount(), 7);
    QCOMPARE(Cell(*p->GridSqrt, 1, 0), QString("0-Re"));
    QCOMPARE(Cell(*p->GridSqrt, 2, 0), QString("0-Im"));
    QCOMPARE(Cell(*p->GridSqrt, 6, 0), QString("2-Im"));
    // (2, 2) is the root of 4; the root squared is the typed matrix.
    QCOMPARE(Cell(*p->GridSqrt, 5, 3), QString("2.0000"));
    TMtx sq, typed;
    TMtx root;
    root.Copy(p->Root());
    sq.Mul(root, root);
    typed.GridToValues(*p->GridA, false, true);
    TMtx re;
    re.RealPart(sq);
    QVERIFY(re.Equal(typed, 1e-9));
    // The check compares with the generated A, not with the typed values.
    p->btnCheck->click();
    QCOMPARE(gMessages, QStringList{"Failed!"});
    // A real root next (of diag(4, 9, 16), as symmetric): no complex columns stay behind.
    p->TypeItems->button(0)->click();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) QVERIFY(Type(*p->GridA, c + 1, r + 1, r == c ? QString::number((r + 2) * (r + 2)) : "0"));
    p->btnSqrt->click();
    QVERIFY(!p->Root().Complex());
    QCOMPARE(Cell(*p->GridSqrt, 1, 0), QString("0"));
    QCOMPARE(Cell(*p->GridSqrt, 4, 1), QString());
    QCOMPARE(Cell(*p->GridSqrt, 6, 0), QString());
}

QTEST_MAIN(TestMatrixPages)
#include "test_matrix_pages.moc"

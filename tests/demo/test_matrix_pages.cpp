// The matrix pages: inverse, square root, eigenvalues, LQ/QR/SVD and the linear system. Each runs inside the main
// window (its help button wired as the page contract says); the value viewer and the message box are recorded.
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>

#include "core/pool.h"
#include "demo/CalcSqrtMtx.h"
#include "demo/DemoFiles.h"
#include "demo/EigenVectors1.h"
#include "demo/InverseMtx.h"
#include "demo/LQR1.h"
#include "demo/SysLinear1.h"
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

#include "../data/matrix_pages_golden.inc"

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

// Types the Rows × Cols values (row by row) into the grid from cell (Col0, Row0) on, with up to 15 digits.
void TypeMatrix(TGrid& Grid, int Col0, int Row0, int Rows, int Cols, const double* Values)
{
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c)
            if (!Type(Grid, Col0 + c, Row0 + r, QString::number(Values[r * Cols + c], 'g', 15))) qFatal("cell refused");
}

void Fill(TMtx& M, int Rows, int Cols, const double* Values)
{
    M.Size(Rows, Cols, false);
    std::copy(Values, Values + Rows * Cols, M.Values());
}

// |M| element by element against Expected (absolute values), within Tolerance.
bool AbsEqual(const TMtx& M, const double* Expected, double Tolerance)
{
    if (M.Complex()) return false;
    for (int i = 0; i < M.Rows() * M.Cols(); ++i)
        if (std::abs(std::abs(M.Values()[i]) - Expected[i]) > Tolerance) return false;
    return true;
}

// The complex values of V, and the Count (Re, Im) pairs of Expected, as equal sets within Tolerance.
bool SameSet(const TVec& V, const double* Expected, int Count, double Tolerance)
{
    if (V.Length() != Count) return false;
    std::vector<bool> used(Count, false);
    for (int i = 0; i < Count; ++i) {
        const double re = V.Values()[V.Complex() ? 2 * i : i], im = V.Complex() ? V.Values()[2 * i + 1] : 0;
        bool found = false;
        for (int k = 0; k < Count && !found; ++k)
            if (!used[k] && std::hypot(re - Expected[2 * k], im - Expected[2 * k + 1]) <= Tolerance) used[k] = found = true;
        if (!found) return false;
    }
    return true;
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
    void inverseAgainstNumpy();
    void rootSucceedsForBothTypes();
    void complexRootIsShownInPairsOfColumns();
    void helpFollowsThePageContract_data();
    void helpFollowsThePageContract();

    void eigenBalanceFollowsVectorForm();
    void eigenvaluesAndVectors();
    void eigenSchurForm();

    void decompositions_data();
    void decompositions();
    void decompositionsAgainstScipy();

    void linearPanelsSwapAndClearTheReport();
    void linearReportLines_data();
    void linearReportLines();
    void svdSolveOfTheDefaultSystem();

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
    const QByteArray test = QTest::currentTestFunction();
    const bool errorsExpected = test == "singularMatrixKeepsTheFormerInverse" || test == "linearPanelsSwapAndClearTheReport";
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

void TestMatrixPages::inverseAgainstNumpy()
{
    auto* p = Show<TInvMtx>("Calculating the inverse of squared matrix");
    TypeMatrix(*p->GridA, 0, 0, 4, 4, kInvA);
    p->btnInverse->click();
    TMtx expected;
    Fill(expected, 4, 4, kInvOfA);
    QVERIFY(p->Inv().Equal(expected, 1e-12));
    QCOMPARE(Cell(*p->GridInv, 0, 0), QString::number(kInvOfA[0], 'f', 4));
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

void TestMatrixPages::helpFollowsThePageContract_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("context");  // 0: kept, the button as the page before left it
    QTest::newRow("inverse") << "Calculating the inverse of squared matrix" << 4890;
    QTest::newRow("root") << "Calculating squared root of matrix" << 0;
    QTest::newRow("eigen") << "Eigenvalues and eigenvectors" << 4530;
    QTest::newRow("decompositions") << "LQ and QR decomposition" << 5120;
    QTest::newRow("linear") << "Solving system of equations" << 5250;
}

void TestMatrixPages::helpFollowsThePageContract()
{
    QFETCH(QString, caption);
    QFETCH(int, context);
    FWindow->SelectNode(FWindow->FindNode("Matrix operations"));  // help off
    FWindow->SelectNode(FWindow->FindNode(caption));
    QCOMPARE(FWindow->btnHelp->isEnabled(), context != 0);
    FWindow->btnHelp->click();
    QCOMPARE(gHelpContexts, context ? QList<int>{context} : QList<int>{});
    // Every page shows its explanation.
    auto* page = dynamic_cast<TBasicForm2*>(FWindow->ExampleForm());
    QVERIFY(page);
    QVERIFY2(page->RichEdit1->toPlainText().size() > 200, qPrintable(caption));
}

// ---- TEigVec1 --------------------------------------------------------------------------------------------------

void TestMatrixPages::eigenBalanceFollowsVectorForm()
{
    auto* p = Show<TEigVec1>("Eigenvalues and eigenvectors");
    QCOMPARE(p->VectorForm(), vfEig);
    QCOMPARE(p->FormItems->checkedId(), 0);
    QCOMPARE(p->FormItems->button(1)->text(), QString("vfShur"));
    QVERIFY(!p->RadioGroupBalance->isEnabled());
    QCOMPARE(p->BalanceItems->checkedId(), 3);
    QCOMPARE(p->Balance(), btFull);
    QVERIFY(p->btnRight->isChecked());
    QVERIFY(!p->btnLeft->isChecked());
    // The fixed matrix with headers and its format.
    QCOMPARE(Cells(*p->GridA)[1], (QStringList{"0", " 1.000", "-3.000", " 5.000", "-3.000"}));
    QCOMPARE(Cell(*p->GridA, 2, 3), QString(" 1.220"));

    p->FormItems->button(1)->click();
    QCOMPARE(p->VectorForm(), vfSchur);
    QVERIFY(p->RadioGroupBalance->isEnabled());
    QCOMPARE(p->Balance(), btFull);  // kept until another is picked
    p->BalanceItems->button(0)->click();
    QCOMPARE(p->Balance(), btNone);
    p->BalanceItems->button(2)->click();
    QCOMPARE(p->Balance(), btPerm);
    p->FormItems->button(0)->click();
    QVERIFY(!p->RadioGroupBalance->isEnabled());
    QCOMPARE(p->BalanceItems->checkedId(), 3);
    QCOMPARE(p->Balance(), btFull);
}

void TestMatrixPages::eigenvaluesAndVectors()
{
    auto* p = Show<TEigVec1>("Eigenvalues and eigenvectors");
    p->btnCalc->click();
    QCOMPARE(p->GridD->RowCount(), 5);
    QCOMPARE(p->GridD->ColCount(), 3);
    QCOMPARE(p->GridV->RowCount(), 5);
    QCOMPARE(p->GridV->ColCount(), 9);
    QCOMPARE(Cell(*p->GridD, 0, 0), QString("D 4x1"));
    QCOMPARE(Cell(*p->GridD, 1, 0), QString("0-Re"));
    QCOMPARE(Cell(*p->GridV, 0, 0), QString("VR 4x4"));
    QVERIFY(SameSet(p->D(), kEigValues, 4, 1e-12));
    QCOMPARE(Cell(*p->GridD, 1, 1), QString::fromStdString(FormatSample("0.000E+00", p->D().Values()[0])));

    // Residuals: A·VR = VR·diag(D) and VLᴴ·A = diag(D)·VLᴴ, column by column.
    TMtx a, vr, vl, left, right, dm;
    Fill(a, 4, 4, kEigA);
    a.ExtendToComplex(true);
    vr.Copy(p->VR());
    vl.Copy(p->VL());
    QVERIFY(vr.Complex() && vl.Complex());
    dm.Size(4, 4, true);
    dm.SetZero();
    dm.Diag(p->D(), 0);
    left.Mul(a, vr);
    right.Mul(vr, dm);
    QVERIFY(left.Equal(right, 1e-10));
    left.Mul(vl, a, opHerm, opNone);
    right.Mul(dm, vl, opNone, opHerm);
    QVERIFY(left.Equal(right, 1e-10));

    p->btnLeft->click();
    QCOMPARE(Cell(*p->GridV, 0, 0), QString("VL 4x4"));
    QCOMPARE(Cell(*p->GridV, 8, 0), QString("3-Im"));
    QCOMPARE(Cell(*p->GridV, 1, 1),
             QString::fromStdString(FormatSample("0.000E+00", p->VL().Values()[0])));
    // A new result replaces the old one, with the side that is down.
    p->btnCalc->click();
    QCOMPARE(Cell(*p->GridV, 0, 0), QString("VL 4x4"));
    p->btnRight->click();
    QCOMPARE(Cell(*p->GridV, 0, 0), QString("VR 4x4"));
}

void TestMatrixPages::eigenSchurForm()
{
    auto* p = Show<TEigVec1>("Eigenvalues and eigenvectors");
    p->FormItems->button(1)->click();
    p->BalanceItems->button(0)->click();
    p->btnCalc->click();
    // A = VR⁻¹·VL·VR, VL the transposed quasi-triangular Schur form: VR·A = VL·VR.
    TMtx a, vr, vl, left, right;
    Fill(a, 4, 4, kEigA);
    vr.Copy(p->VR());
    vl.Copy(p->VL());
    QVERIFY(!vr.Complex());
    left.Mul(vr, a);
    right.Mul(vl, vr);
    QVERIFY(left.Equal(right, 1e-10));
    QVERIFY(SameSet(p->D(), kEigValues, 4, 1e-12));
    // An edited matrix: its own eigenvalues.
    QVERIFY(Type(*p->GridA, 1, 1, "2"));
    p->btnCalc->click();
    QCOMPARE(p->A().Values()[0], 2.0);
    QVERIFY(!SameSet(p->D(), kEigValues, 4, 1e-6));
}

// ---- TLQRDemo --------------------------------------------------------------------------------------------------

void TestMatrixPages::decompositions_data()
{
    QTest::addColumn<int>("example");
    QTest::addColumn<bool>("economy");
    QTest::addColumn<QString>("caption1");  // the factors, their shapes as "rows x cols"
    QTest::addColumn<QString>("shape1");
    QTest::addColumn<QString>("caption2");
    QTest::addColumn<QString>("shape2");
    QTest::addColumn<QString>("check");  // the check button's caption and the viewer's
    QTest::addColumn<QString>("viewed");
    QTest::newRow("LQ") << 0 << false << "L" << "2x4" << "Q" << "4x4" << "LQ = A ? " << "LQ = A ?";
    QTest::newRow("LQ economy") << 0 << true << "L" << "2x2" << "Q" << "2x4" << "LQ = A ? " << "LQ = A ?";
    QTest::newRow("QR") << 1 << false << "Q" << "3x3" << "R" << "3x2" << "QR = A ? " << "QR = A ?";
    QTest::newRow("QR economy") << 1 << true << "Q" << "3x2" << "R" << "2x2" << "QR = A ? " << "QR = A ?";
    QTest::newRow("SVD wide") << 2 << false << "U" << "2x2" << "V" << "4x4" << "USV' = A ? " << "U*S*V' = A ?";
    QTest::newRow("SVD wide economy") << 2 << true << "U" << "2x2" << "V" << "4x2" << "USV' = A ? " << "U*S*V' = A ?";
    QTest::newRow("SVD tall") << 3 << false << "U" << "3x3" << "V" << "2x2" << "USV' = A ? " << "U*S*V' = A ?";
    QTest::newRow("SVD tall economy") << 3 << true << "U" << "3x2" << "V" << "2x2" << "USV' = A ? " << "U*S*V' = A ?";
}

void TestMatrixPages::decompositions()
{
    QFETCH(int, example);
    QFETCH(bool, economy);
    QFETCH(QString, caption1);
    QFETCH(QString, shape1);
    QFETCH(QString, caption2);
    QFETCH(QString, shape2);
    QFETCH(QString, check);
    QFETCH(QString, viewed);
    auto* p = Show<TLQRDemo>("LQ and QR decomposition");
    QCOMPARE(p->Example(), 1);
    QCOMPARE(p->CheckEconomy->text(), QString("\"Ecomony\" size"));
    p->ExampleItems->button(example)->click();
    QCOMPARE(p->btnCheck->text(), check);
    QVERIFY(!p->btnCheck->isEnabled());
    QVERIFY(!p->btnSingular->isEnabled());
    const int rows = example % 2 ? 3 : 2, cols = example % 2 ? 2 : 4;
    QCOMPARE(Cell(*p->GridA, 0, 0), QString("A %1x%2").arg(rows).arg(cols));
    QCOMPARE(p->GridA->RowCount(), rows + 1);
    QCOMPARE(p->GridA->width(), (cols + 1) * 60 + 10);
    const TMtx& a = p->A();
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) {
            const double v = a.Values2D()[i][j];
            if ((example == 2 && j == 0) || (example == 3 && i == 0)) {
                QCOMPARE(v, 0.0);
                QCOMPARE(Cell(*p->GridA, j + 1, i + 1), QString("0.0000"));
            } else if (example == 1) {
                QVERIFY(v >= -10 && v < -3);
            } else {
                QVERIFY(v >= 2 && v < 10);
            }
        }

    p->CheckEconomy->setChecked(economy);
    p->btnDecompose->click();
    QVERIFY(p->btnCheck->isEnabled());
    QCOMPARE(p->btnSingular->isEnabled(), example >= 2);
    const auto shape = [](const TMtx& m) { return QString("%1x%2").arg(m.Rows()).arg(m.Cols()); };
    QCOMPARE(shape(p->Factor1()), shape1);
    QCOMPARE(shape(p->Factor2()), shape2);
    QCOMPARE(Cell(*p->GridRes1, 0, 0), caption1);
    QCOMPARE(Cell(*p->GridRes2, 0, 0), caption2);
    QCOMPARE(p->GridRes1->RowCount(), p->Factor1().Rows() + 1);
    QCOMPARE(p->GridRes2->ColCount(), p->Factor2().Cols() + 1);
    QCOMPARE(p->GridRes1->height(), p->GridRes1->RowCount() * p->GridRes1->DefaultRowHeight() + 10);
    QCOMPARE(p->GridRes2->x() - (p->GridRes1->x() + p->GridRes1->width()), 10);

    // The product of the factors is A (as read from the grid).
    p->btnCheck->click();
    QCOMPARE(gViewed.size(), std::size_t(1));
    QCOMPARE(gViewed[0].Caption, viewed);
    QVERIFY(gViewed[0].Values->Equal(a, 1e-12));
    if (example >= 2) {
        p->btnSingular->click();
        QCOMPARE(gViewed.size(), std::size_t(2));
        QCOMPARE(gViewed[1].Caption, QString("Singular values"));
        const TMtx& s = *gViewed[1].Values;
        QCOMPARE(s.Rows(), p->Factor1().Cols());
        QCOMPARE(s.Cols(), p->Factor2().Cols());
        for (int i = 0; i < s.Rows(); ++i)
            for (int j = 0; j < s.Cols(); ++j)
                QCOMPARE(s.Values2D()[i][j], i == j ? p->SingularValues().Values()[i] : 0.0);
        QCOMPARE(p->SingularValues().Caption(), std::string("Singular values"));
    }
    // A new example disables the checks again.
    p->ExampleItems->button((example + 1) % 4)->click();
    QVERIFY(!p->btnCheck->isEnabled());
    QVERIFY(!p->btnSingular->isEnabled());
}

void TestMatrixPages::decompositionsAgainstScipy()
{
    auto* p = Show<TLQRDemo>("LQ and QR decomposition");
    struct TCase {
        int Example;
        bool Economy;
        const double* A;
        const double* Factor;  // |R| or |L|
        bool Second;           // the factor is the second one shown (R) or the first (L)
    };
    const TCase cases[] = {{1, false, kQrA, kQrRFull, true},
                           {1, true, kQrA, kQrREcon, true},
                           {0, false, kLqA, kLqLFull, false},
                           {0, true, kLqA, kLqLEcon, false}};
    for (const TCase& c : cases) {
        p->ExampleItems->button(c.Example)->click();
        const int rows = c.Example ? 3 : 2, cols = c.Example ? 2 : 4;
        TypeMatrix(*p->GridA, 1, 1, rows, cols, c.A);
        p->CheckEconomy->setChecked(c.Economy);
        p->btnDecompose->click();
        QVERIFY(AbsEqual(c.Second ? p->Factor2() : p->Factor1(), c.Factor, 1e-12));
    }
    // The singular values of the same matrices.
    for (const auto& [example, a, s] : {std::tuple{3, kQrA, kQrS}, std::tuple{2, kLqA, kLqS}}) {
        p->ExampleItems->button(example)->click();
        TypeMatrix(*p->GridA, 1, 1, example == 3 ? 3 : 2, example == 3 ? 2 : 4, a);
        p->btnDecompose->click();
        QCOMPARE(p->SingularValues().Length(), 2);
        for (int i = 0; i < 2; ++i) QVERIFY(std::abs(p->SingularValues().Values()[i] - s[i]) <= 1e-12 * s[0]);
    }
}

// ---- TLinearSystem1 --------------------------------------------------------------------------------------------

void TestMatrixPages::linearPanelsSwapAndClearTheReport()
{
    auto* p = Show<TLinearSystem1>("Solving system of equations");
    QCOMPARE(Cells(*p->GridA)[0], (QStringList{"0.0010", "0.0000", "0.0000", "0.0000"}));
    QCOMPARE(Cells(*p->GridB), (QList<QStringList>{{"3.0000"}, {"1.5000"}, {"-2.0000"}, {"4.0000"}}));
    QCOMPARE(p->GridA->DefaultColWidth() >= 50, true);
    QCOMPARE(p->ComboMethod->currentIndex(), 0);
    QVERIFY(p->CheckRefine->isChecked());
    QCOMPARE(p->NormItems->checkedId(), 1);
    QVERIFY(p->A().RefineSolution());
    QCOMPARE(p->A().ConditionNumber(), cnNorm1);
    QVERIFY(p->PanelLU->isVisibleTo(p));
    QVERIFY(!p->PanelSVD->isVisibleTo(p));

    TypeMatrix(*p->GridA, 0, 0, 4, 4, kConA);
    TypeMatrix(*p->GridB, 0, 0, 4, 1, kConB);
    p->btnSolve->click();
    QCOMPARE(p->Memo1->toPlainText().split('\n').size(), 3);
    p->ComboMethod->setCurrentIndex(1);
    QVERIFY(!p->PanelLU->isVisibleTo(p));
    QVERIFY(p->PanelSVD->isVisibleTo(p));
    QCOMPARE(p->Memo1->toPlainText(), QString());
    p->ComboMethod->setCurrentIndex(0);
    QVERIFY(p->PanelLU->isVisibleTo(p));

    // The default system is singular: LUSolve's failure, when the rounding makes one, keeps x, its grid and the
    // report as they were (no result on this system is pinned).
    p->btnSolve->click();
    TVec before;
    before.Copy(p->X());
    const QList<QStringList> shown = Cells(*p->GridX);
    const QString report = p->Memo1->toPlainText();
    TypeMatrix(*p->GridA, 0, 0, 4, 4, kLinA);
    TypeMatrix(*p->GridB, 0, 0, 4, 1, kLinB);
    p->btnSolve->click();
    QVERIFY(gErrorBoxes.size() <= 1);
    if (gErrorBoxes.size() == 1) {
        QVERIFY2(gErrorBoxes[0].startsWith("LUSolve: "), qPrintable(gErrorBoxes[0]));
        QVERIFY(p->X().Equal(before, 0));
        QCOMPARE(Cells(*p->GridX), shown);
        QCOMPARE(p->Memo1->toPlainText(), report);
    }
}

void TestMatrixPages::linearReportLines_data()
{
    QTest::addColumn<bool>("refine");
    QTest::addColumn<int>("norm");  // cnNone, cnNorm1, cnNormInf
    QTest::addColumn<bool>("lines");
    QTest::newRow("refined, 1-norm") << true << 1 << true;
    QTest::newRow("refined, infinity norm") << true << 2 << true;
    QTest::newRow("refined, no norm") << true << 0 << false;
    QTest::newRow("not refined, 1-norm") << false << 1 << false;
    QTest::newRow("neither") << false << 0 << false;
}

void TestMatrixPages::linearReportLines()
{
    QFETCH(bool, refine);
    QFETCH(int, norm);
    QFETCH(bool, lines);
    auto* p = Show<TLinearSystem1>("Solving system of equations");
    TypeMatrix(*p->GridA, 0, 0, 4, 4, kConA);
    TypeMatrix(*p->GridB, 0, 0, 4, 1, kConB);
    p->CheckRefine->setChecked(refine);
    p->NormItems->button(norm)->click();
    QCOMPARE(p->A().RefineSolution(), refine);
    p->Memo1->setPlainText("stale");
    p->btnSolve->click();
    for (int i = 0; i < 4; ++i) QVERIFY(std::abs(p->X().Values()[i] - kConX[i]) <= 1e-15);
    QCOMPARE(Cell(*p->GridX, 0, 0), QString::fromStdString(FormatSample("0.0000E+00", kConX[0])));
    const QStringList report = p->Memo1->toPlainText().split('\n', Qt::SkipEmptyParts);
    if (!lines) {
        QCOMPARE(report, QStringList());
        return;
    }
    QCOMPARE(report.size(), 3);
    QVERIFY(report[0].startsWith("Forward error = ") && report[0].endsWith(" "));
    QVERIFY(report[1].startsWith("Backward error = ") && report[1].endsWith(" "));
    QVERIFY(report[0].contains('E'));
    const double rcond = norm == 1 ? kRcond1 : kRcondInf;
    QCOMPARE(report[2], "ConditionNr = " + QString::fromStdString(FormatSample("0.0000E+00", rcond)));
}

void TestMatrixPages::svdSolveOfTheDefaultSystem()
{
    auto* p = Show<TLinearSystem1>("Solving system of equations");
    p->ComboMethod->setCurrentIndex(1);
    p->btnSolve->click();
    QCOMPARE(p->Rank(), kLstsqRank);
    for (int i = 0; i < 4; ++i) {
        QVERIFY2(std::abs(p->X().Values()[i] - kLstsqX[i]) <= 1e-12, qPrintable(QString::number(i)));
        QVERIFY(std::abs(p->SingularValues().Values()[i] - kLstsqS[i]) <= 1e-12 * kLstsqS[0]);
    }
    QCOMPARE(p->GridSV->RowCount(), 4);
    QCOMPARE(Cell(*p->GridSV, 0, 0), QString::fromStdString(FormatSample("0.0000E+00", kLstsqS[0])));
    QCOMPARE(Cell(*p->GridX, 0, 3), QString::fromStdString(FormatSample("0.0000E+00", kLstsqX[3])));
    QCOMPARE(p->Memo1->toPlainText(), QString());
}

QTEST_MAIN(TestMatrixPages)
#include "test_matrix_pages.moc"

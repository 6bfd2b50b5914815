// TLQRDemo, "LQ and QR decomposition": a random 2 × 4 or 3 × 2 matrix factored by TMtx.LQR (A = L·Q or A = Q·R) or
// by TMtx.SVD (A = U·S·Vᵀ), full or economy size, with the factors in grids and their product in the value viewer.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

#include "components/TarnelEdit.h"
#include "core/TempGuard.h"
#include "core/Tarnel.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"

namespace paxtor {

class TLQRDemo : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TLQRDemo(QWidget* owner);

    QGroupBox* RadioGroup1;  // "Examples : "
    QButtonGroup* ExampleItems;
    tarnel::gui::TStringGrid* GridA;     // "Matrix A : ", editable
    tarnel::gui::TStringGrid* GridRes1;  // the first and the second factor
    tarnel::gui::TStringGrid* GridRes2;
    QCheckBox* CheckEconomy;      // "\"Ecomony\" size"
    QPushButton* btnDecompose;    // "Perform decomposition"
    QPushButton* btnSingular;     // "Singular values"
    QPushButton* btnCheck;        // "LQ = A ? ", "QR = A ? " or "USV' = A ? "

    int Example() const { return FExample; }
    // Item 0 to 3 of "Examples : ": a new random A of the example's size, shown in grid A.
    void SelectExample(int Item);
    // "Perform decomposition": the factors of what grid A holds. A numerical failure raises before anything
    // changes.
    void Decompose();
    // "Singular values": S, the singular values on the diagonal of a U.Cols × V.Cols matrix, in the value viewer.
    void ShowSingularValues();
    // The check button: the product of the factors in the value viewer.
    void CheckProduct();

    const tarnel::TMtx& A() const { return *FA; }
    // The factors shown: L and Q, Q and R, or U and V.
    const tarnel::TMtx& Factor1() const { return *FShown1; }
    const tarnel::TMtx& Factor2() const { return *FShown2; }
    const tarnel::TVec& SingularValues() const { return *FSV; }

private:
    void ShowInGrid(tarnel::gui::TStringGrid& Grid, const tarnel::TMtx& Mtx);
    void BuildS();

    QWidget* FResults;  // holds the two result grids
    // From the pool: S, the two check products, A, L or U, Q or V, R; and the singular values.
    tarnel::detail::TMtxTemp FS, FCheck1, FCheck2, FA, FLU, FQV, FR;
    tarnel::detail::TVecTemp FSV;
    tarnel::TMtx* FShown1 = FLU.get();
    tarnel::TMtx* FShown2 = FQV.get();
    int FExample = 1;
    TPageHelp FHelp;
};

}  // namespace paxtor

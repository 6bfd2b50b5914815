// TfrmSqrtMtx, "Calculating squared root of matrix": a random 3 × 3 matrix (symmetric or general) in an editable
// grid, its square root by TMtx.MtxSqrt in a second grid, and a check that the root squared gives the matrix back.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>

#include "components/TarnelEdit.h"
#include "core/Tarnel.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"

namespace paxtor {

class TfrmSqrtMtx : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TfrmSqrtMtx(QWidget* owner);

    QGroupBox* RadioGroup1;  // " Matrix type ": "Symmetric", "General"
    QButtonGroup* TypeItems;
    tarnel::gui::TStringGrid* GridA;     // "A : ", editable, with headers
    tarnel::gui::TStringGrid* GridSqrt;  // "Sqrt A :", read-only, with headers
    QPushButton* btnGenerate;            // "Generate random matrix"
    QPushButton* btnSqrt;                // "SQRT(A)"
    QPushButton* btnCheck;               // "SQRT(A)*SQRT(A) ?"

    bool Symmetric() const { return TypeItems->checkedId() == 0; }
    // "Generate random matrix": A := 3 × 3 uniform values in [2, 10), mirrored to a symmetric matrix when
    // "Symmetric" is selected.
    void Generate();
    // "SQRT(A)": the root of what grid A holds. A numerical failure raises before anything changes.
    void Sqrt();
    // "SQRT(A)*SQRT(A) ?": the root squared (its real part) against the generated A: "Succeeded!" or "Failed!".
    void Check();

    const tarnel::TMtx& A() const { return FA; }
    const tarnel::TMtx& Root() const { return FRoot; }

private:
    tarnel::TMtx FA;     // generated
    tarnel::TMtx FRead;  // read back from grid A; the check's product
    tarnel::TMtx FRoot;  // the root; the check's real part
    TPageHelp FHelp;     // kept: the page does not touch the help button
};

}  // namespace paxtor

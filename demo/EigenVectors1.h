// TEigVec1, "Eigenvalues and eigenvectors": the eigenvalues and the left and right eigenvectors (or the Schur form)
// of a fixed 4 × 4 matrix that the user may edit, by TMtx.Eig with a chosen balancing.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QToolButton>

#include "components/TarnelEdit.h"
#include "core/TempGuard.h"
#include "core/Tarnel.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"

namespace paxtor {

class TEigVec1 : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TEigVec1(QWidget* owner);

    tarnel::gui::TStringGrid* GridA;  // "Matrix A : ", editable, with headers
    tarnel::gui::TStringGrid* GridD;  // "Eigenvalues are elements of vector D :  ", 5 × 3
    tarnel::gui::TStringGrid* GridV;  // "Eigenvectors : ", 5 × 9
    QToolButton* btnLeft;             // "Left" and "Right", one group; "Right" down at start
    QToolButton* btnRight;
    QGroupBox* RadioGroupForm;  // "Vector Form": "vfEig", "vfShur"
    QButtonGroup* FormItems;
    QGroupBox* RadioGroupBalance;  // "Balance": "btNone", "btScale", "btPerm", "btFull" in two columns
    QButtonGroup* BalanceItems;
    QPushButton* btnCalc;  // "Calc eigenvalues"

    tarnel::TVectorForm VectorForm() const { return FVectorForm; }
    tarnel::TBalanceType Balance() const { return FBalance; }
    // "Vector Form" item 0 or 1, "Balance" item 0 to 3, as a click chooses them.
    void SelectVectorForm(int Item);
    void SelectBalance(int Item);
    // "Calc eigenvalues": the eigenvalues of what grid A holds into grid D, the eigenvectors of the button that is
    // down into the eigenvector grid. A numerical failure raises before anything changes.
    void CalcEigenvalues();
    // "Left" and "Right": VL or VR into the eigenvector grid.
    void ShowEigenvectors(bool Left);

    const tarnel::TMtx& A() const { return *FA; }
    const tarnel::TMtx& VL() const { return *FVL; }
    const tarnel::TMtx& VR() const { return *FVR; }
    const tarnel::TVec& D() const { return *FD; }

private:
    tarnel::detail::TMtxTemp FA, FVL, FVR, FSpare;  // the fourth is taken with the others and not used
    tarnel::detail::TVecTemp FD;
    tarnel::TVectorForm FVectorForm = tarnel::vfEig;
    tarnel::TBalanceType FBalance = tarnel::btFull;
    TPageHelp FHelp;
};

}  // namespace paxtor

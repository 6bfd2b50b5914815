// TInvMtx, "Calculating the inverse of squared matrix": a random square matrix in an editable grid, its inverse by
// TMtx.Inv in a second grid and the product of the generated matrix with that inverse in the value viewer.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "components/TarnelEdit.h"
#include "core/TempGuard.h"
#include "core/Tarnel.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"

namespace paxtor {

class TInvMtx : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TInvMtx(QWidget* owner);

    QSlider* TrackBar1;  // "Matrix dimension (Rows/Cols)", 2 to 100
    QLabel* lblDim;      // the track bar's value, right-aligned
    tarnel::gui::TStringGrid* GridA;    // "A : ", editable, no headers
    tarnel::gui::TStringGrid* GridInv;  // "A-1 : ", read-only, no headers
    QPushButton* btnGenerate;           // "Generate random matrix"
    QPushButton* btnInverse;            // "Inverse of matrix"
    QPushButton* btnCheck;              // "A*A-1 = ?"

    int Dim() const { return FDim; }
    // "Generate random matrix": A := Dim × Dim uniform values in [-5, 5), shown in grid A.
    void Generate();
    // "Inverse of matrix": the inverse of what grid A holds, shown in grid A-1. A numerical failure raises before
    // anything changes (the former inverse, its grid and the buttons stay).
    void Inverse();
    // "A*A-1 = ?": the generated A times the inverse, in the value viewer.
    void Check();

    const tarnel::TMtx& A() const { return *FA; }
    const tarnel::TMtx& Inv() const { return *FInv; }
    const tarnel::TMtx& Product() const { return *FProduct; }
    const TPageHelp& Help() const { return FHelp; }

private:
    void TrackBarChange();

    tarnel::detail::TMtxTemp FA, FInv, FProduct;  // from the pool for the page's life
    int FDim = 4;
    TPageHelp FHelp;
};

}  // namespace paxtor

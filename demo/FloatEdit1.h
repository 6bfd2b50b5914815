// TfrmFloatEdit1, "TMtxFloatEdit control": complex arithmetic on the values of two number edits. Each edit steps
// by 1 with its buttons, and "<- Edit" beside it opens its step editor; the four operation buttons show Z1·Z2,
// Z1/Z2, Z1+Z2 or Z1-Z2 in the read-only result.
#pragma once

#include <QLineEdit>
#include <QPushButton>

#include "components/MtxComCtrls.h"
#include "core/Dovi387.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"

namespace paxtor {

class TfrmFloatEdit1 : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TfrmFloatEdit1(QWidget* owner);

    enum TOperation { opMul, opDiv, opAdd, opSub };

    tarnel::TMtxFloatEdit* MtxFloatEdit1;  // "Z1 = "
    tarnel::TMtxFloatEdit* MtxFloatEdit2;  // "Z2 = "
    QPushButton* btnEdit1;                 // "<- Edit" beside Z1
    QPushButton* btnEdit2;                 // "<- Edit" beside Z2
    QLineEdit* Edit1;                      // "Result", read-only
    QPushButton* btnOps[4];                // "Z1 * Z2", "Z1 / Z2", "Z1 + Z2", "Z1 - Z2", in TOperation's order

    // Reads both edits, computes the operation, keeps the result and shows it (CplxToStr with 4). A text that
    // makes no number raises and leaves the result as it was.
    void Calculate(TOperation Op);
    const tarnel::TCplx& Result() const { return FResult; }

private:
    tarnel::TCplx FResult = tarnel::C_ZERO;
    TPageHelp FHelp;
};

}  // namespace paxtor

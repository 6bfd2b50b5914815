// TfrmSavePrec, "Different numeric precisions": a 50 × 50 matrix saved to a memory stream in a chosen storage
// precision and rounding and loaded back into a second matrix; both shown in grids, with the stream's size.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "components/TarnelEdit.h"
#include "core/Tarnel.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"

namespace paxtor {

class TfrmSavePrec : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TfrmSavePrec(QWidget* owner);

    tarnel::gui::TStringGrid* StringGrid1;  // "Original matrix (50x50): "
    tarnel::gui::TStringGrid* StringGrid2;  // "Saved matrix (50x50): "
    QComboBox* cbPrecision;                 // "Precision : ", prDouble .. prByte
    QComboBox* cbRounding;                  // "Rounding type : ", rnTrunc .. rnRound
    QLabel* lblSize;                        // the stream's size, "0" at start
    QPushButton* btnSave;                   // "&Save"

    tarnel::TPrecision Precision() const { return FPrecision; }
    tarnel::TRounding Rounding() const { return FRounding; }
    // "&Save": the source through a memory stream in the chosen precision and rounding into the copy.
    void Save();
    // Shows the source matrix in the first grid again (after a caller changed its values).
    void ShowSource();

    tarnel::TMtx& Source() { return FSource; }
    const tarnel::TMtx& Copy() const { return FCopy; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    tarnel::TMtx FSource, FCopy;
    tarnel::TPrecision FPrecision = tarnel::prDouble;
    tarnel::TRounding FRounding = tarnel::rnTrunc;
    TPageHelp FHelp;
};

}  // namespace paxtor

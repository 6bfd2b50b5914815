// TfrmMtxGridSeries, "Viewing matrix values": a random 2000 × 2000 sparse matrix reduced to a 500 × 500 picture of
// its pattern (or of its values' peaks or averages) and drawn by a matrix grid series, row 0 at the top; optionally
// animated with a new random matrix every 100 ms, and with the picture's value under the mouse cursor.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "components/TarnelTee.h"
#include "core/Tarnel.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"
#include "platform/gui/Chart.h"
#include "sparse/sparse.h"

namespace paxtor {

class TfrmMtxGridSeries : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TfrmMtxGridSeries(QWidget* owner);
    // Stops the timer before the matrices go.
    ~TfrmMtxGridSeries() override;

    static constexpr int kOrder = 2000;
    static constexpr int kNonZeros = 100000;
    static constexpr int kPixels = 500;

    tarnel::gui::TChart* Chart1;  // "Matrix values"
    tarnel::TMtxGridSeries* Series1;
    QCheckBox* CheckAnimate;      // "Animate"
    QPushButton* btnEditSeries;   // "&Edit GridSeries"
    QGroupBox* RadioGroup1;       // " DownSample method : "
    QButtonGroup* MethodItems;    // "Pattern", "Peak", "Average"
    QCheckBox* CheckValue;        // "Matrix value at cursor = "
    QLabel* lblValue;             // the value under the cursor
    QTimer* Timer1;               // 100 ms, off at start

    tarnel::TSparseMtx& S() { return FS; }
    const tarnel::TMtx& P() const { return FP; }
    tarnel::TPixelDownSample Method() const;

    // A new random S (RandomSparse), then Reduce. The timer's tick.
    void NewMatrix();
    // P := S's picture by the chosen method; the series shows P again (its range and palette follow) and repaints.
    void Reduce();
    // "&Edit GridSeries": the series editor on the series.
    void EditSeries();
    // The value label for the chart's pixel Pos: P's cell there formatted "0.00", or empty off the cells.
    void ShowValueAt(const QPointF& Pos);

private:
    void AnimateClick();

    tarnel::TSparseMtx FS;
    tarnel::TMtx FP;
    tarnel::TVec FB, FX;
    TPageHelp FHelp;
};

}  // namespace paxtor

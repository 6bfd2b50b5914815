// TfrmProgDialog, "Progress Dialog": 100 × 100 matrix products run in the worker thread of a progress dialog, in
// each of its loop modes. The page's controls write straight into the dialog; a timer on the main thread moves the
// page's bar and its percentage while the worker computes.
//
// Threads: OnCompute runs on the worker and touches A, B, C (taken from the pool on the main thread when a run
// starts, given back when it ends), the dialog's Counter and Stopped (atomics) and the loop bounds the worker reads
// (atomics of the page, mirrored from the dialog whenever an edit sets them). Everything else runs on the main
// thread.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <atomic>
#include <functional>
#include <memory>

#include "components/MtxComCtrls.h"
#include "components/MtxDialogs.h"
#include "core/Tarnel.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"

namespace paxtor {

class TfrmProgDialog : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TfrmProgDialog(QWidget* owner);
    // Stops a running worker and waits for it; the run's end gives the matrices back.
    ~TfrmProgDialog() override;

    // "Iterator control" items.
    enum TIterator { itInternalLoop, itExternalLoop, itInProcedure };

    QGroupBox* RadioGroup1;  // "Iterator control"
    QButtonGroup* IteratorItems;
    QGroupBox* RadioGroup2;  // "Loop type"
    QButtonGroup* LoopTypeItems;
    QCheckBox* CheckBox1;  // "Show progress form"
    QComboBox* ComboBox1;  // "Thread priority:"
    tarnel::TMtxFloatEdit* IntervalEdit;  // the update interval, "[ms]"
    QGroupBox* GroupBox1;                 // "Loop range": "For Counter := " FromEdit "to " ToEdit "do"
    tarnel::TMtxFloatEdit* FromEdit;
    tarnel::TMtxFloatEdit* ToEdit;
    QPushButton* btnStart;  // "Start"
    QPushButton* btnStop;   // "Stop/Cancel"
    QProgressBar* ProgressBar1;
    QLabel* ProgressLabel;  // "Progress indicator:"

    tarnel::TMtxProgressDialog& MtxThread() { return *FThread; }

    // "Progress indicator: " and the share of the range [Min, Max] that Counter has reached, formatted "0 %";
    // "100 %" for a range of one value.
    static QString ProgressText(int Counter, int Min, int Max);

    // Products finished in all runs so far (read on any thread).
    int Products() const { return FProducts.load(); }
    // Tests: runs on the worker before each product. Set it only while no run is in progress.
    std::function<void()> BeforeProduct;

private:
    void ProgressUpdate(tarnel::TMtxProgressEvent Event);
    void Compute();
    void Product();
    void BoundChanged(tarnel::TMtxFloatEdit* Edit);

    std::unique_ptr<tarnel::TMtxProgressDialog> FThread;
    tarnel::TMtx* FA = nullptr;
    tarnel::TMtx* FB = nullptr;
    tarnel::TMtx* FC = nullptr;
    std::atomic<int> FMin{0};  // the dialog's Min and Max as the worker reads them
    std::atomic<int> FMax{0};
    std::atomic<int> FProducts{0};
    std::atomic<int> FIterator{itInternalLoop};  // the checked "Iterator control" item
    TPageHelp FHelp;
};

}  // namespace paxtor

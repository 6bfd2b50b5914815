// The progress dialog: runs the caller's computation on a worker thread, once or as a loop over a counter, while a
// timer in the main thread reports progress and moves the bar of a small "Processing" window with a Cancel button.
//
// Threads: OnCompute runs on the worker; OnProgressUpdate always on the main thread. Counter (written by the worker)
// and Stopped (written by the main thread, Cancel and Stop) are atomics; a value read may be one step stale. So are
// the settings the worker reads, InternalLoop when it starts and Min, Max and InfiniteLoop on every pass: a page may
// change them during a run (the loop then ends at the new Max) and OnCompute may read them.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressBar>
#include <QThread>
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "components/MtxBaseComp.h"

class QPushButton;
class QTimer;
class QWidget;

namespace tarnel {

enum TMtxProgressEvent { peStart, peUpdate, peFinish };
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

using TNotifyEvent = std::function<void(TComponent* Sender)>;
using TProgressUpdateEvent = std::function<void(TComponent* Sender, TMtxProgressEvent Event)>;

class TMtxProgressDialog;

// The worker: runs the dialog's loop; its end is noted on the main thread by the dialog.
class TMtxProgressThread : public QThread {
public:
    explicit TMtxProgressThread(TMtxProgressDialog& Dialog) : FDialog(Dialog) {}

protected:
    void run() override;

private:
    TMtxProgressDialog& FDialog;
};

class TMtxProgressDialog : public TMtxComponent {
public:
    explicit TMtxProgressDialog(TComponent* AOwner);
    // Stops a running worker first (see Stop).
    ~TMtxProgressDialog() override;

    std::string ClassName() const override { return "TMtxProgressDialog"; }
    const std::vector<TPropInfo>& Properties() const override;

    // ---- Published properties ----------------------------------------------------------------------------------
    // Max - Min + 1. SetLoops sets Max to Min + Value - 1; a Max outside the Integer range raises
    // "Loops out of range" with nothing changed.
    std::int64_t Loops() const { return std::int64_t{FMax.load()} - FMin.load() + 1; }
    void SetLoops(std::int64_t Value);
    TThreadPriority ThreadPriority() const { return FThreadPriority; }
    // Also applied to a running worker.
    void SetThreadPriority(TThreadPriority Value);
    const TNotifyEvent& OnCompute() const { return FOnCompute; }
    void SetOnCompute(TNotifyEvent Handler) { FOnCompute = std::move(Handler); }
    const TProgressUpdateEvent& OnProgressUpdate() const { return FOnProgressUpdate; }
    void SetOnProgressUpdate(TProgressUpdateEvent Handler) { FOnProgressUpdate = std::move(Handler); }
    bool InternalLoop() const { return FInternalLoop.load(); }
    void SetInternalLoop(bool Value) { FInternalLoop.store(Value); }
    bool InfiniteLoop() const { return FInfiniteLoop.load(); }
    void SetInfiniteLoop(bool Value) { FInfiniteLoop.store(Value); }
    // Min raises Max to at least it; Max lowers Min to at most it.
    int Min() const { return FMin.load(); }
    void SetMin(int Value);
    int Max() const { return FMax.load(); }
    void SetMax(int Value);
    void SetRange(int AMin, int AMax);
    // The timer's period in milliseconds; 0 or below stops it. Every tick sends peUpdate; the window's bar follows
    // at most every 25 ms.
    int UpdateInterval() const { return FUpdateInterval; }
    void SetUpdateInterval(int Value);
    bool ShowDialog() const { return FShowDialog; }
    void SetShowDialog(bool Value) { FShowDialog = Value; }

    // ---- State ------------------------------------------------------------------------------------------------
    int Counter() const { return FCounter.load(); }
    void SetCounter(int Value) { FCounter.store(Value); }
    // True while idle and after Cancel or Stop.
    bool Stopped() const { return FStopped.load(); }
    void SetStopped(bool Value) { FStopped.store(Value); }
    bool Running() const { return FThread != nullptr; }
    QWidget& Window() { return *FWindow; }
    QPushButton& CancelButton() { return *FCancel; }
    QProgressBar& ProgressBar() { return *FBar; }

    // Starts a run when idle; does nothing while a worker exists. A raising peStart handler leaves the dialog idle
    // and passes the exception on.
    void Execute();
    // Ends a running worker: sets Stopped, waits for the worker without processing events, then ends the run at once.
    void Stop();
    // Bar: minimum and position Min, maximum Max (an empty bar for Min = Max).
    void SetupProgressBar(QProgressBar& Bar) const;

private:
    friend class TMtxProgressThread;
    void WorkerBody();
    void Tick();
    void EndRun();
    // Hides the window and enables the windows the start disabled, when the start showed it.
    void RestoreWindows();
    void Notify(TComponent* Sender, TMtxProgressEvent Event);

    // Written on the main thread only.
    std::atomic<int> FMin{0};
    std::atomic<int> FMax{0};
    TThreadPriority FThreadPriority = tpNormal;
    TNotifyEvent FOnCompute;
    TProgressUpdateEvent FOnProgressUpdate;
    std::atomic<bool> FInternalLoop{true};
    std::atomic<bool> FInfiniteLoop{false};
    int FUpdateInterval = 200;
    bool FShowDialog = false;
    std::atomic<int> FCounter{0};
    std::atomic<bool> FStopped{true};

    std::unique_ptr<TMtxProgressThread> FThread;
    std::uint64_t FRun = 0;  // numbers the runs: a finished signal of an earlier worker is ignored
    bool FShown = false;     // what the start did, undone by the end
    std::vector<QPointer<QWidget>> FDisabled;
    std::exception_ptr FError;  // an exception that escaped OnCompute
    // Set by the worker as its last act, read after QThread::wait: the wait orders the worker's writes (FError, its
    // reads of the dialog) before the end of the run, but inside Qt, where ThreadSanitizer does not see it; this
    // release and acquire pair states the same order in our code.
    std::atomic<bool> FWorkerEnded{false};
    std::unique_ptr<QTimer> FTimer;
    QElapsedTimer FBarMoved;  // since the tick that last moved the window's bar
    std::unique_ptr<QWidget> FWindow;
    QPushButton* FCancel = nullptr;
    QProgressBar* FBar = nullptr;
};

}  // namespace tarnel

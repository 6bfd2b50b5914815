#include "components/MtxDialogs.h"

#include <QApplication>
#include <QFont>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <limits>

#include "platform/gui/Guard.h"

namespace tarnel {

namespace {

constexpr int PanelHeight = 34;
constexpr int ButtonWidth = 80;
constexpr int ButtonHeight = 24;
// The window's bar moves at most this often (40 times a second), however short UpdateInterval is: each move paints
// the window at once, which under X11 waits for the server.
constexpr qint64 BarPeriodMs = 25;

QThread::Priority QtPriority(TThreadPriority P)
{
    switch (P) {
        case tpIdle:
            return QThread::IdlePriority;
        case tpLowest:
            return QThread::LowestPriority;
        case tpLower:
            return QThread::LowPriority;
        case tpNormal:
            return QThread::NormalPriority;
        case tpHigher:
            return QThread::HighPriority;
        case tpHighest:
            return QThread::HighestPriority;
        case tpTimeCritical:
            return QThread::TimeCriticalPriority;
    }
    return QThread::NormalPriority;
}

TMtxProgressDialog& D(TComponent& c)
{
    return static_cast<TMtxProgressDialog&>(c);
}
const TMtxProgressDialog& D(const TComponent& c)
{
    return static_cast<const TMtxProgressDialog&>(c);
}
std::int32_t Int(const TPropValue& v)
{
    return std::get<std::int32_t>(v);
}
bool Bool(const TPropValue& v)
{
    return std::get<bool>(v);
}

}  // namespace

void TMtxProgressThread::run()
{
    FDialog.WorkerBody();
    FDialog.FWorkerEnded.store(true, std::memory_order_release);
}

TMtxProgressDialog::TMtxProgressDialog(TComponent* AOwner) : TMtxComponent(AOwner)
{
    FTimer = std::make_unique<QTimer>();
    FTimer->setInterval(FUpdateInterval);
    QObject::connect(FTimer.get(), &QTimer::timeout, FTimer.get(), gui::Guard([this] { Tick(); }));

    FWindow = std::make_unique<QWidget>(
        nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    FWindow->setWindowTitle("Processing");
    const QRect screen =
        QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 800, 600);
    FWindow->setFixedSize(screen.width() / 8, screen.height() / 10);
    FWindow->move(screen.x() + (screen.width() - FWindow->width()) / 2,
                  screen.y() + (screen.height() - FWindow->height()) / 2);

    auto* panel = new QWidget(FWindow.get());
    panel->setGeometry(0, 0, FWindow->width(), PanelHeight);
    FCancel = new QPushButton("&Cancel", panel);
    QFont font = FCancel->font();
    font.setPixelSize(11);
    FCancel->setFont(font);
    FCancel->setDefault(true);
    FCancel->setFocusPolicy(Qt::NoFocus);
    FCancel->setGeometry((FWindow->width() - ButtonWidth) / 2, (PanelHeight - ButtonHeight) / 2, ButtonWidth,
                         ButtonHeight);
    QObject::connect(FCancel, &QPushButton::clicked, FCancel, [this] { FStopped.store(true); });

    FBar = new QProgressBar(FWindow.get());
    FBar->setOrientation(Qt::Horizontal);
    FBar->setTextVisible(false);
    FBar->setGeometry(0, PanelHeight, FWindow->width(), FWindow->height() - PanelHeight);
    SetupProgressBar(*FBar);
}

TMtxProgressDialog::~TMtxProgressDialog()
{
    gui::Guarded([this] { Stop(); });
    FTimer.reset();  // its queued signals go with it
    FWindow.reset();
}

const std::vector<TPropInfo>& TMtxProgressDialog::Properties() const
{
    static const std::vector<TPropInfo> props = {
        // Loops follows from Min and Max, which are stored.
        {"Loops", pkInteger, [](const TComponent& c) { return TPropValue(static_cast<std::int32_t>(D(c).Loops())); },
         [](TComponent& c, const TPropValue& v) { D(c).SetLoops(Int(v)); }, TPropValue(std::int32_t{1}), false},
        {"ThreadPriority", pkEnumeration,
         [](const TComponent& c) { return TPropValue(std::int32_t{D(c).ThreadPriority()}); },
         [](TComponent& c, const TPropValue& v) { D(c).SetThreadPriority(static_cast<TThreadPriority>(Int(v))); },
         TPropValue(std::int32_t{tpNormal}), true, tpTimeCritical},
        {"InternalLoop", pkBoolean, [](const TComponent& c) { return TPropValue(D(c).InternalLoop()); },
         [](TComponent& c, const TPropValue& v) { D(c).SetInternalLoop(Bool(v)); }, std::nullopt},
        {"InfiniteLoop", pkBoolean, [](const TComponent& c) { return TPropValue(D(c).InfiniteLoop()); },
         [](TComponent& c, const TPropValue& v) { D(c).SetInfiniteLoop(Bool(v)); }, std::nullopt},
        {"Min", pkInteger, [](const TComponent& c) { return TPropValue(std::int32_t{D(c).Min()}); },
         [](TComponent& c, const TPropValue& v) { D(c).SetMin(Int(v)); }, std::nullopt},
        {"Max", pkInteger, [](const TComponent& c) { return TPropValue(std::int32_t{D(c).Max()}); },
         [](TComponent& c, const TPropValue& v) { D(c).SetMax(Int(v)); }, std::nullopt},
        {"UpdateInterval", pkInteger,
         [](const TComponent& c) { return TPropValue(std::int32_t{D(c).UpdateInterval()}); },
         [](TComponent& c, const TPropValue& v) { D(c).SetUpdateInterval(Int(v)); }, TPropValue(std::int32_t{200})},
        {"ShowDialog", pkBoolean, [](const TComponent& c) { return TPropValue(D(c).ShowDialog()); },
         [](TComponent& c, const TPropValue& v) { D(c).SetShowDialog(Bool(v)); }, std::nullopt},
    };
    return props;
}

void TMtxProgressDialog::SetLoops(std::int64_t Value)
{
    const std::int64_t max = std::int64_t{FMin.load()} + Value - 1;
    if (Value < 1 || max > std::numeric_limits<int>::max()) throw Exception("Loops out of range");
    FMax.store(static_cast<int>(max));
}

void TMtxProgressDialog::SetMin(int Value)
{
    FMin.store(Value);
    if (FMax.load() < Value) FMax.store(Value);
}

void TMtxProgressDialog::SetMax(int Value)
{
    FMax.store(Value);
    if (FMin.load() > Value) FMin.store(Value);
}

void TMtxProgressDialog::SetRange(int AMin, int AMax)
{
    SetMin(AMin);
    SetMax(AMax);
}

void TMtxProgressDialog::SetThreadPriority(TThreadPriority Value)
{
    FThreadPriority = Value;
    if (FThread && FThread->isRunning()) FThread->setPriority(QtPriority(Value));
}

void TMtxProgressDialog::SetUpdateInterval(int Value)
{
    FUpdateInterval = Value;
    if (Value <= 0) {
        FTimer->stop();
        return;
    }
    FTimer->setInterval(Value);
    if (FThread && !FTimer->isActive()) FTimer->start();
}

void TMtxProgressDialog::SetupProgressBar(QProgressBar& Bar) const
{
    // Qt shows a busy indicator for an empty range; a single value shows an empty bar instead.
    const int min = FMin.load(), max = FMax.load();
    if (min == max) {
        Bar.setRange(0, 1);
        Bar.setValue(0);
        return;
    }
    Bar.setRange(min, max);
    Bar.setValue(min);
}

void TMtxProgressDialog::Notify(TComponent* Sender, TMtxProgressEvent Event)
{
    if (FOnProgressUpdate) FOnProgressUpdate(Sender, Event);
}

void TMtxProgressDialog::Execute()
{
    if (!FStopped.load() || FThread) return;
    FCounter.store(FMin.load());
    FStopped.store(false);
    FError = nullptr;
    if (FUpdateInterval > 0) FTimer->start(FUpdateInterval);
    SetupProgressBar(*FBar);
    FBarMoved.invalidate();

    FWorkerEnded.store(false);
    FThread = std::make_unique<TMtxProgressThread>(*this);
    const std::uint64_t run = ++FRun;
    QObject::connect(FThread.get(), &QThread::finished, FTimer.get(), [this, run] {
        if (run == FRun && FThread) gui::Guarded([this] { EndRun(); });
    });
    try {
        Notify(Owner(), peStart);
    } catch (...) {
        FTimer->stop();
        FThread.reset();
        FStopped.store(true);
        throw;
    }
    // The worker starts before the window shows: showing it waits for the window system (two round trips to the X
    // server, about a millisecond) and disabling the other windows repaints them; the computation need not wait for
    // either. Its end notification is queued to this thread and so comes after both, and undoes them.
    FThread->start(QtPriority(FThreadPriority));
    if (FShowDialog) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != FWindow.get() && w->isEnabled() && w->isVisible()) {
                w->setEnabled(false);
                FDisabled.emplace_back(w);
            }
        FWindow->show();
        FShown = true;
        if (!FThread) RestoreWindows();  // the run ended while the window was being shown
    }
}

void TMtxProgressDialog::WorkerBody()
{
    try {
        if (!FInternalLoop.load()) {
            if (FOnCompute) FOnCompute(Owner());
            return;
        }
        while (!FStopped.load() && !QThread::currentThread()->isInterruptionRequested()) {
            if (FOnCompute) FOnCompute(Owner());
            const int counter = FCounter.load();
            if (FInfiniteLoop.load() || counter < FMax.load())
                FCounter.store(static_cast<int>(static_cast<unsigned>(counter) + 1u));  // wraps in infinite mode
            else
                QThread::currentThread()->requestInterruption();
        }
    } catch (...) {
        FError = std::current_exception();
    }
}

void TMtxProgressDialog::Tick()
{
    Notify(this, peUpdate);
    if (!FShowDialog) return;
    if (FBarMoved.isValid() && FBarMoved.elapsed() < BarPeriodMs) return;
    FBarMoved.start();
    if (FInfiniteLoop.load()) {
        const int min = FMin.load(), max = FMax.load();
        if (min == max) {  // one value: the empty bar
            SetupProgressBar(*FBar);
            return;
        }
        // The range follows Min and Max; the position moves straight to its place, not by way of Min, so the bar
        // paints once.
        FBar->setRange(min, max);
        const std::int64_t loops = std::int64_t{max} - min + 1;
        std::int64_t r = (std::int64_t{FCounter.load()} - min) % loops;
        if (r < 0) r += loops;
        FBar->setValue(static_cast<int>(min + r));
    } else {
        FBar->setValue(FCounter.load());
    }
}

void TMtxProgressDialog::Stop()
{
    if (!FThread) return;
    FStopped.store(true);
    FThread->requestInterruption();
    FThread->wait();
    EndRun();
}

void TMtxProgressDialog::RestoreWindows()
{
    if (!FShown) return;
    FShown = false;
    FWindow->hide();
    for (const QPointer<QWidget>& w : FDisabled)
        if (w) w->setEnabled(true);
    FDisabled.clear();
}

void TMtxProgressDialog::EndRun()
{
    FTimer->stop();
    FThread->wait();
    (void)FWorkerEnded.load(std::memory_order_acquire);
    FThread.reset();
    RestoreWindows();
    std::exception_ptr error = std::exchange(FError, nullptr);
    try {
        Notify(Owner(), peFinish);
    } catch (...) {
        FStopped.store(true);
        throw;
    }
    FStopped.store(true);
    // An exception that ended OnCompute ends the run like Cancel and is reported once the run is over.
    if (error) std::rethrow_exception(error);
}

}  // namespace tarnel

// The progress dialog: loops and their notifications, Cancel, Stop, a second Execute, failures of OnCompute and of
// the start handler, the counter's range, the window, and runs ended at random moments.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <functional>
#include <mutex>
#include <random>
#include <vector>

#include "ComponentTestSupport.h"
#include "components/MtxDialogs.h"
#include "components/TarnelTools.h"
#include "platform/gui/Guard.h"

using namespace tarnel;

namespace {

// What the notifications delivered, on the main thread.
struct TRecorder {
    std::vector<std::pair<TComponent*, TMtxProgressEvent>> Events;
    std::vector<bool> StoppedAt;  // Stopped as each notification saw it
    int Count(TMtxProgressEvent e) const
    {
        int n = 0;
        for (auto& p : Events) n += p.second == e;
        return n;
    }
    void Attach(TMtxProgressDialog& d)
    {
        d.SetOnProgressUpdate([this, &d](TComponent* s, TMtxProgressEvent e) {
            Events.emplace_back(s, e);
            StoppedAt.push_back(d.Stopped());
        });
    }
};

using comptest::TErrorBoxes;

bool WaitIdle(TMtxProgressDialog& d)
{
    return QTest::qWaitFor([&] { return !d.Running(); }, 20000);
}

}  // namespace

class TestMtxDialogs : public QObject {
    Q_OBJECT

private slots:
    void LoopRunsEveryCounterThenFinishes()
    {
        TMtxComponent owner(nullptr);
        TMtxProgressDialog d(&owner);
        TRecorder rec;
        rec.Attach(d);
        std::vector<int> seen;
        d.SetRange(1, 10);
        d.SetOnCompute([&](TComponent* s) {
            QCOMPARE(s, &owner);
            seen.push_back(d.Counter());
        });
        d.Execute();
        QVERIFY(WaitIdle(d));
        QCOMPARE(seen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
        QCOMPARE(rec.Events.front().first, &owner);
        QCOMPARE(rec.Events.front().second, peStart);
        QCOMPARE(rec.Events.back().first, &owner);
        QCOMPARE(rec.Events.back().second, peFinish);
        QCOMPARE(rec.StoppedAt.back(), false);  // a completed run: not stopped during peFinish
        QVERIFY(d.Stopped());
        for (auto& [s, e] : rec.Events)
            if (e == peUpdate) QCOMPARE(s, &d);

        // Without InternalLoop OnCompute runs once.
        seen.clear();
        d.SetInternalLoop(false);
        d.Execute();
        QVERIFY(WaitIdle(d));
        QCOMPARE(seen.size(), size_t{1});
    }

    void UpdatesArriveFromTheTimer()
    {
        TMtxProgressDialog d(nullptr);
        TRecorder rec;
        rec.Attach(d);
        d.SetUpdateInterval(5);
        d.SetInternalLoop(false);
        d.SetOnCompute([&](TComponent*) {
            while (!d.Stopped()) QThread::yieldCurrentThread();
        });
        d.Execute();
        QVERIFY(QTest::qWaitFor([&] { return rec.Count(peUpdate) >= 2; }, 20000));
        d.Stop();
        QCOMPARE(rec.Count(peFinish), 1);
        const int updates = rec.Count(peUpdate);
        QTest::qWait(30);
        QCOMPARE(rec.Count(peUpdate), updates);  // the timer stopped with the run
        d.SetUpdateInterval(0);
        d.Execute();
        QTest::qWait(30);
        QCOMPARE(rec.Count(peUpdate), updates);  // an interval of 0 stops the timer
        d.Stop();
    }

    void CancelEndsAfterTheCurrentPass()
    {
        TMtxProgressDialog d(nullptr);
        TRecorder rec;
        rec.Attach(d);
        d.SetRange(0, 1000000);
        std::atomic<int> passes{0};
        std::atomic<bool> release{false};
        d.SetOnCompute([&](TComponent*) {
            ++passes;
            while (!release.load() && !d.Stopped()) QThread::yieldCurrentThread();
        });
        d.Execute();
        QVERIFY(QTest::qWaitFor([&] { return passes.load() == 1; }));
        QTest::mouseClick(&d.CancelButton(), Qt::LeftButton);
        QVERIFY(d.Stopped());
        // Execute while the worker ends its pass does nothing.
        d.Execute();
        release = true;
        QVERIFY(WaitIdle(d));
        QCOMPARE(passes.load(), 1);
        QCOMPARE(rec.Count(peStart), 1);
        QCOMPARE(rec.Count(peFinish), 1);
    }

    void ExecuteTwiceStartsOneWorker()
    {
        TMtxProgressDialog d(nullptr);
        TRecorder rec;
        rec.Attach(d);
        std::atomic<int> calls{0};
        d.SetRange(1, 3);
        d.SetOnCompute([&](TComponent*) { ++calls; });
        d.Execute();
        d.Execute();
        QVERIFY(WaitIdle(d));
        QCOMPARE(calls.load(), 3);
        QCOMPARE(rec.Count(peStart), 1);
        QCOMPARE(rec.Count(peFinish), 1);
    }

    // Stop reaches an OnCompute that polls Stopped, ends the run at once and only once, and the stopped worker's
    // queued notification does not end the next run.
    void StopEndsTheRunOnce()
    {
        TMtxProgressDialog d(nullptr);
        TRecorder rec;
        rec.Attach(d);
        d.SetInternalLoop(false);
        std::atomic<bool> started{false};
        d.SetOnCompute([&](TComponent*) {
            started = true;
            while (!d.Stopped()) QThread::yieldCurrentThread();
        });
        d.Execute();
        QVERIFY(QTest::qWaitFor([&] { return started.load(); }));
        d.Stop();
        QVERIFY(!d.Running());
        QCOMPARE(rec.Count(peFinish), 1);
        started = false;
        d.Execute();  // the first worker's finished signal is still queued
        QVERIFY(QTest::qWaitFor([&] { return started.load(); }));
        QTest::qWait(20);
        QVERIFY(d.Running());
        QCOMPARE(rec.Count(peFinish), 1);
        d.Stop();
        QCOMPARE(rec.Count(peFinish), 2);
        QTest::qWait(20);
        QCOMPARE(rec.Count(peFinish), 2);
    }

    void ComputeFailureShowsAfterFinish()
    {
        struct Case {
            bool abort;
            int boxes;
        };
        for (Case c : {Case{false, 1}, Case{true, 0}}) {
            TErrorBoxes boxes;
            TMtxProgressDialog d(nullptr);
            TRecorder rec;
            rec.Attach(d);
            d.SetRange(1, 100);
            std::atomic<int> calls{0};
            d.SetOnCompute([&](TComponent*) {
                if (++calls == 3) {
                    if (c.abort) throw EAbort();
                    throw Exception("compute failed");
                }
            });
            bool finishedBeforeBox = false;
            gui::SetErrorBox([&](const QString& m) {
                finishedBeforeBox = rec.Count(peFinish) == 1;
                boxes.Shown << m;
            });
            d.Execute();
            QVERIFY(WaitIdle(d));
            QCOMPARE(calls.load(), 3);
            QCOMPARE(rec.Count(peFinish), 1);
            QCOMPARE(boxes.Shown.size(), c.boxes);
            if (c.boxes) {
                QCOMPARE(boxes.Shown.front(), QString("compute failed"));
                QVERIFY(finishedBeforeBox);
            }
        }
    }

    void RaisingStartHandlerLeavesItIdle()
    {
        TMtxProgressDialog d(nullptr);
        std::atomic<int> calls{0};
        d.SetOnCompute([&](TComponent*) { ++calls; });
        d.SetOnProgressUpdate([](TComponent*, TMtxProgressEvent e) {
            if (e == peStart) throw Exception("start refused");
        });
        QVERIFY_THROWS_EXCEPTION(Exception, d.Execute());
        QVERIFY(!d.Running());
        QVERIFY(d.Stopped());
        QTest::qWait(20);
        QCOMPARE(calls.load(), 0);
        d.SetOnProgressUpdate(nullptr);
        d.Execute();
        QVERIFY(WaitIdle(d));
        QCOMPARE(calls.load(), 1);
    }

    void RangeSetters()
    {
        TMtxProgressDialog d(nullptr);
        QCOMPARE(d.Loops(), std::int64_t{1});
        d.SetRange(5, 9);
        QCOMPARE(d.Loops(), std::int64_t{5});
        d.SetMax(2);  // lowers Min
        QCOMPARE(d.Min(), 2);
        QCOMPARE(d.Loops(), std::int64_t{1});
        d.SetMin(7);  // raises Max
        QCOMPARE(d.Max(), 7);
        d.SetLoops(10);
        QCOMPARE(d.Max(), 16);
        QVERIFY_THROWS_EXCEPTION(Exception, d.SetLoops(std::int64_t{1} << 32));
        QCOMPARE(d.Max(), 16);
        d.SetRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        QCOMPARE(d.Loops(), (std::int64_t{1} << 32));
    }

    // The loop reads Max and InfiniteLoop before every pass, so a change made on the main thread during a run counts
    // from the next pass on (a data race before they were atomics; scripts/test-tsan runs this suite).
    void BoundsChangedDuringARun()
    {
        struct Case {
            const char* what;
            bool infinite;
            int max, holdAt;
            std::function<void(TMtxProgressDialog&)> change;
            int passes;
        };
        const Case cases[] = {
            {"Max lowered below the counter", false, 1000000, 5, [](TMtxProgressDialog& d) { d.SetMax(3); }, 5},
            {"Max raised", false, 5, 3, [](TMtxProgressDialog& d) { d.SetMax(8); }, 8},
            {"InfiniteLoop switched off", true, 6, 5, [](TMtxProgressDialog& d) { d.SetInfiniteLoop(false); }, 6},
        };
        for (const Case& c : cases) {
            TMtxProgressDialog d(nullptr);
            d.SetRange(1, c.max);
            d.SetInfiniteLoop(c.infinite);
            std::atomic<int> passes{0};
            std::atomic<bool> held{false}, release{false};
            d.SetOnCompute([&](TComponent*) {
                ++passes;
                if (d.Counter() != c.holdAt) return;
                held = true;
                while (!release.load() && !d.Stopped()) QThread::yieldCurrentThread();
            });
            d.Execute();
            QVERIFY2(QTest::qWaitFor([&] { return held.load(); }), c.what);
            c.change(d);
            release = true;
            QVERIFY2(WaitIdle(d), c.what);
            QVERIFY2(passes.load() == c.passes, c.what);
            QVERIFY2(d.Counter() == c.passes, c.what);  // counted from 1, one per pass, not past the last
        }
        // Max lowered while the worker runs on without waiting for the main thread (nothing orders the write before
        // the worker's next read but the atomic itself).
        TMtxProgressDialog d(nullptr);
        d.SetRange(1, std::numeric_limits<int>::max());
        std::atomic<int> passes{0};
        d.SetOnCompute([&](TComponent*) { ++passes; });
        d.Execute();
        QVERIFY(QTest::qWaitFor([&] { return passes.load() >= 100; }));
        d.SetMax(50);
        QVERIFY(WaitIdle(d));
        QVERIFY(d.Counter() >= 100);
        QCOMPARE(passes.load(), d.Counter());
    }

    // Infinite mode: the bar runs Min .. Max, also at Loops 1 and with Min above 0, and Counter wraps.
    void InfiniteLoopBar()
    {
        struct Case {
            int min, max, counter, want;
        };
        const Case cases[] = {{0, 9, 23, 3},    {5, 5, 123, 0 /* the empty bar */},
                              {10, 14, 10, 10}, {10, 14, 17, 12},
                              {-3, 2, -3, -3},  {0, 9, std::numeric_limits<int>::min(), 2}};
        for (const Case& c : cases) {
            TMtxProgressDialog d(nullptr);
            d.SetShowDialog(true);
            d.SetInfiniteLoop(true);
            d.SetRange(c.min, c.max);
            d.SetUpdateInterval(1);
            d.SetInternalLoop(false);
            std::atomic<bool> hold{true};
            d.SetOnCompute([&](TComponent*) {
                while (hold.load() && !d.Stopped()) QThread::yieldCurrentThread();
            });
            d.Execute();
            d.SetCounter(c.counter);
            QVERIFY(QTest::qWaitFor([&] { return d.ProgressBar().value() == c.want; }, 5000));
            hold = false;
            QVERIFY(WaitIdle(d));
        }
        // A tick moves the bar straight to its place, not by way of Min (which showed an empty bar at every tick).
        {
            TMtxProgressDialog d(nullptr);
            d.SetShowDialog(true);
            d.SetInfiniteLoop(true);
            d.SetRange(0, 9);
            d.SetUpdateInterval(1);
            d.SetInternalLoop(false);
            std::atomic<bool> hold{true};
            d.SetOnCompute([&](TComponent*) {
                while (hold.load() && !d.Stopped()) QThread::yieldCurrentThread();
            });
            std::vector<int> values;
            QObject::connect(&d.ProgressBar(), &QProgressBar::valueChanged, &d.ProgressBar(),
                             [&](int v) { values.push_back(v); });
            d.Execute();
            d.SetCounter(23);
            QVERIFY(QTest::qWaitFor([&] { return !values.empty() && values.back() == 3; }, 5000));
            d.SetCounter(25);
            QVERIFY(QTest::qWaitFor([&] { return values.back() == 5; }, 5000));
            QTest::qWait(60);  // more ticks, the counter unchanged
            QCOMPARE(values, (std::vector<int>{3, 5}));
            hold = false;
            QVERIFY(WaitIdle(d));
        }
        // The counter wraps instead of overflowing.
        TMtxProgressDialog d(nullptr);
        d.SetInfiniteLoop(true);
        std::atomic<int> calls{0};
        d.SetOnCompute([&](TComponent*) {
            if (++calls == 2) d.SetStopped(true);
        });
        d.SetMin(std::numeric_limits<int>::max());
        d.Execute();
        QVERIFY(WaitIdle(d));
        QCOMPARE(d.Counter(), std::numeric_limits<int>::min() + 1);  // advanced after each of the two passes
    }

    void WindowLayoutAndOtherWindows()
    {
        QWidget main;
        main.show();
        TMtxProgressDialog d(nullptr);
        QWidget& w = d.Window();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(w.windowTitle(), QString("Processing"));
        QCOMPARE(w.width(), screen.width() / 8);
        QCOMPARE(w.height(), screen.height() / 10);
        QVERIFY(w.windowFlags() & Qt::Tool);
        QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(w.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
        QCOMPARE(w.geometry().center(), screen.center());
        QPushButton& b = d.CancelButton();
        QCOMPARE(b.geometry(), QRect((w.width() - 80) / 2, 5, 80, 24));
        QCOMPARE(b.text(), QString("&Cancel"));
        QVERIFY(b.isDefault());
        QCOMPARE(b.focusPolicy(), Qt::NoFocus);
        QCOMPARE(d.ProgressBar().geometry(), QRect(0, 34, w.width(), w.height() - 34));
        // One value: an empty bar, not a busy indicator.
        QVERIFY(d.ProgressBar().maximum() > d.ProgressBar().minimum());
        QCOMPARE(d.ProgressBar().value(), d.ProgressBar().minimum());

        d.SetShowDialog(true);
        d.SetInternalLoop(false);
        std::atomic<bool> hold{true};
        d.SetOnCompute([&](TComponent*) {
            while (hold.load() && !d.Stopped()) QThread::yieldCurrentThread();
        });
        d.Execute();
        QVERIFY(w.isVisible());
        QVERIFY(!main.isEnabled());
        if (qEnvironmentVariableIsSet("TARNEL_SCREENSHOT")) w.grab().save(qEnvironmentVariable("TARNEL_SCREENSHOT"));
        d.SetShowDialog(false);  // switched off mid-run: the end still undoes what the start did
        hold = false;
        QVERIFY(WaitIdle(d));
        QVERIFY(!w.isVisible());
        QVERIFY(main.isEnabled());
    }

    // The worker starts before the window shows, so a short run may end before it appears: OnCompute still follows
    // peStart, the window and the disabled windows are there when Execute returns, and the end undoes them.
    void RunEndingBeforeTheWindowShows()
    {
        QWidget main;
        main.show();
        TMtxProgressDialog d(nullptr);
        d.SetShowDialog(true);
        d.SetInternalLoop(false);
        std::atomic<int> starts{0}, calls{0};
        std::atomic<bool> computeBeforeStart{false};
        int finishes = 0;
        d.SetOnProgressUpdate([&](TComponent*, TMtxProgressEvent e) {
            if (e == peStart) ++starts;
            if (e == peFinish) ++finishes;
        });
        d.SetOnCompute([&](TComponent*) {
            if (starts.load() != ++calls) computeBeforeStart = true;
        });
        for (int run = 1; run <= 20; ++run) {
            d.Execute();
            QVERIFY(d.Window().isVisible());
            QVERIFY(!main.isEnabled());
            QVERIFY(WaitIdle(d));
            QVERIFY(!d.Window().isVisible());
            QVERIFY(main.isEnabled());
            QCOMPARE(finishes, run);
        }
        QCOMPARE(calls.load(), 20);
        QVERIFY(!computeBeforeStart.load());
    }

    void SettingsStream()
    {
        TMtxProgressDialog a(nullptr), b(nullptr);
        a.SetRange(3, 8);
        a.SetUpdateInterval(10);
        a.SetShowDialog(true);
        a.SetThreadPriority(tpLower);
        TMemoryStream m;
        a.SaveToStream(m);
        m.SetPosition(0);
        b.LoadFromStream(m);
        QCOMPARE(b.Min(), 3);
        QCOMPARE(b.Max(), 8);
        QCOMPARE(b.UpdateInterval(), 10);
        QVERIFY(b.ShowDialog());
        QCOMPARE(b.ThreadPriority(), tpLower);
        m.SetPosition(0);
        TMtxOptimization opt(nullptr);
        try {
            opt.LoadFromStream(m);
            QFAIL("loaded");
        } catch (const Exception& e) {
            QCOMPARE(QString(e.what()), QString("Data format type missmatch: TMtxProgressDialog <> TMtxOptimization"));
        }
    }

    // Runs cancelled, stopped or destroyed at random moments end once each and leave nothing running.
    void RandomEnds()
    {
        std::mt19937 rng(40);
        for (int run = 0; run < 60; ++run) {
            auto d = std::make_unique<TMtxProgressDialog>(nullptr);
            TRecorder rec;
            rec.Attach(*d);
            d->SetUpdateInterval(1);
            d->SetInfiniteLoop(rng() % 2);
            d->SetRange(0, 50);
            std::atomic<long> work{0};
            d->SetOnCompute([&](TComponent*) {
                for (int i = 0; i < 1000; ++i) work += i;
            });
            d->Execute();
            for (unsigned k = rng() % 20; k > 0; --k) QCoreApplication::processEvents();
            switch (rng() % 3) {
                case 0:
                    QTest::mouseClick(&d->CancelButton(), Qt::LeftButton);
                    QVERIFY(WaitIdle(*d));
                    break;
                case 1:
                    d->Stop();
                    break;
                case 2:
                    d.reset();
                    break;
            }
            QCoreApplication::processEvents();
            QCOMPARE(rec.Count(peStart), 1);
            if (d) {
                QVERIFY(!d->Running());
                QCOMPARE(rec.Count(peFinish), 1);
            }
        }
    }
};

QTEST_MAIN(TestMtxDialogs)
#include "test_mtx_dialogs.moc"

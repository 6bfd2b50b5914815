// One run of a timing page's comparison: the hourglass cursor while it lasts, a flag that keeps a second run
// from starting inside the first, and repaints between the timed blocks so that the chart grows point by point.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QString>
#include <QWidget>

namespace paxtor {

class TTimingRun {
public:
    TTimingRun(QWidget* page, bool& running) : FPage(page), FRunning(running)
    {
        FRunning = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TTimingRun()
    {
        QApplication::restoreOverrideCursor();
        if (FPage) FRunning = false;  // the flag belongs to the page
    }
    TTimingRun(const TTimingRun&) = delete;
    TTimingRun& operator=(const TTimingRun&) = delete;

    // Lets the window paint what the run added so far. Mouse and keyboard input waits until the run ends, so
    // that nothing the user does can change the page under the run. Returns false when the page was destroyed
    // meanwhile; the run must then end without touching it.
    bool ShowProgress()
    {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return !FPage.isNull();
    }

private:
    QPointer<QWidget> FPage;
    bool& FRunning;
};

// The bottom panel both timing pages share: the track bar under its caption and its value, then the button
// "Do comparison".
struct TDimensionPanel {
    QLabel* lblDim;
    QSlider* TrackBar1;
    QPushButton* btnCompare;
};

struct TDimensionRange {
    int Min, Max, Value, TickInterval;
};

TDimensionPanel BuildDimensionPanel(QWidget* panel, const QString& caption, TDimensionRange range);

}  // namespace paxtor

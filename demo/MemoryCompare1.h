// TMemComp1, "Comparing CreateIt/FreeIt with Create/Destroy" (form caption "Object cache"): times taking vectors
// from the library's pool under three pool sizes against creating and destroying plain vectors, and charts the
// four times as bars. The page leaves the vector pool empty (0 vectors of 0 elements) for the rest of the run.
#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <cstdint>

#include "core/Tarnel.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"
#include "platform/gui/Chart.h"

namespace paxtor {

class TMemComp1 : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TMemComp1(QWidget* owner);

    QSlider* TrackBar1;    // "Vector length", 1 to 1500
    QLabel* lblLength;     // the track bar's value
    QPlainTextEdit* Memo1;  // the eleven lines on the four cases
    QPushButton* btnCompare;  // "Do full comparison"
    tarnel::gui::TChart* Chart1;
    tarnel::gui::TBarSeries* Series1;  // "CreateIt/FreeIt": four bars

    // How often each pass repeats its twelve vectors.
    static constexpr int kPasses = 7000;
    // The pool settings of bars 0 to 2 and the colours ($BBGGRR) of the four bars.
    static constexpr int kPoolItems[3] = {32, 32, 0};
    static constexpr int kPoolElements[3] = {1024, 0, 0};
    static constexpr unsigned kBarColors[4] = {0x00FFFF, 0x008000, 0xFF0000, 0x0000FF};

    int VectorLength() const { return FLength; }
    // The timed passes at the current length: Passes times twelve vectors taken from the pool in three groups of
    // four, sized real and all given back (on every path); or created, sized in pairs and destroyed. The elapsed
    // milliseconds.
    std::uint32_t TimePooledPass(int Passes = kPasses);
    std::uint32_t TimePlainPass(int Passes = kPasses);
    // Bar Index := Value ms in its colour, and a repaint.
    void SetBar(int Index, double Value);
    // "Do full comparison".
    void DoFullComparison();

    const TPageHelp& Help() const { return FHelp; }

private:
    void TrackBarChange();

    TPageHelp FHelp;
    int FLength = 0;
    double FTimes[4] = {0, 0, 0, 0};
    bool FRunning = false;
};

}  // namespace paxtor

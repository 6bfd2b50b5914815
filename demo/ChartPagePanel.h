// The bottom panel of the chart pages that have controls of their own: "DownSample" first, then the page's track
// bars (each under its caption and the value it shows), captioned controls, and the buttons at the right end.
#pragma once

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "demo/Basic1.h"

namespace paxtor {

class TChartPagePanel {
public:
    // Lays out the page's Panel2 and moves its "DownSample" box into the row.
    explicit TChartPagePanel(TBasicForm1* Page);

    // A horizontal track bar with ticks below; Value receives the label beside the caption. Both get object names.
    QSlider* AddTrackBar(const QString& Caption, QLabel*& Value, int Min, int Max, int Start, int Tick,
                         const char* Name, const char* ValueName);
    // Widget under a caption; returns it.
    template <class W>
    W* AddCaptioned(const QString& Caption, W* Widget)
    {
        AddBox(Caption, Widget);
        return Widget;
    }
    // A button; the first one starts the right-hand group.
    QPushButton* AddButton(const QString& Caption, const char* Name);

private:
    void AddBox(const QString& Caption, QWidget* Widget);
    QWidget* FPanel;
    QHBoxLayout* FRow;
    bool FButtons = false;
};

}  // namespace paxtor

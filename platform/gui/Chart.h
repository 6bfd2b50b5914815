// The chart widget of the demonstration pages, on QCustomPlot: a gradient background around a white plot area,
// axes, a legend and rubber-band zoom (drag a rectangle to zoom in, double-click to show all data again) that a
// page may switch off.
#pragma once

#include <qcustomplot.h>

#include <QColor>

namespace tarnel::gui {

class TChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit TChart(QWidget* parent);

    // The background gradient runs from white at the top to this colour at the bottom.
    void SetGradientEndColor(const QColor& color);
    QColor GradientEndColor() const { return FGradientEnd; }

    void SetZoomAllowed(bool allowed);
    bool ZoomAllowed() const { return FZoomAllowed; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void UpdateBackground();
    QColor FGradientEnd{Qt::blue};
    bool FZoomAllowed = true;
};

}  // namespace tarnel::gui

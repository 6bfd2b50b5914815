#include "platform/gui/Chart.h"

#include "platform/gui/Guard.h"

namespace tarnel::gui {

TChart::TChart(QWidget* parent) : QCustomPlot(parent)
{
    axisRect()->setBackground(Qt::white);
    legend->setVisible(true);
    legend->setBrush(QColor(255, 255, 255, 220));
    xAxis2->setVisible(true);
    yAxis2->setVisible(true);
    xAxis2->setTickLabels(false);
    yAxis2->setTickLabels(false);
    connect(xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), xAxis2,
            qOverload<const QCPRange&>(&QCPAxis::setRange));
    connect(yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), yAxis2,
            qOverload<const QCPRange&>(&QCPAxis::setRange));
    SetZoomAllowed(true);
    UpdateBackground();
}

void TChart::SetGradientEndColor(const QColor& color)
{
    FGradientEnd = color;
    UpdateBackground();
    replot(rpQueuedReplot);
}

void TChart::SetZoomAllowed(bool allowed)
{
    FZoomAllowed = allowed;
    setSelectionRectMode(allowed ? QCP::srmZoom : QCP::srmNone);
}

void TChart::UpdateBackground()
{
    QLinearGradient gradient(0, 0, 0, qMax(1, height()));
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, FGradientEnd);
    setBackground(QBrush(gradient));
}

void TChart::resizeEvent(QResizeEvent* event)
{
    Guarded([&] { UpdateBackground(); });
    QCustomPlot::resizeEvent(event);
}

void TChart::mouseDoubleClickEvent(QMouseEvent* event)
{
    QCustomPlot::mouseDoubleClickEvent(event);
    Guarded([&] {
        if (!FZoomAllowed) return;
        rescaleAxes();
        replot();
    });
}

}  // namespace tarnel::gui

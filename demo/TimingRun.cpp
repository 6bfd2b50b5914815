#include "demo/TimingRun.h"

#include <QBoxLayout>

namespace paxtor {

TDimensionPanel BuildDimensionPanel(QWidget* panel, const QString& caption, TDimensionRange range)
{
    TDimensionPanel p{};
    auto* bottom = new QHBoxLayout(panel);
    bottom->setContentsMargins(8, 4, 8, 4);
    auto* dimBox = new QVBoxLayout;
    auto* dimCaptions = new QHBoxLayout;
    dimCaptions->addWidget(new QLabel(caption, panel));
    p.lblDim = new QLabel(panel);
    p.lblDim->setObjectName("lblDim");
    p.lblDim->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    dimCaptions->addWidget(p.lblDim, 1);
    dimBox->addLayout(dimCaptions);
    p.TrackBar1 = new QSlider(Qt::Horizontal, panel);
    p.TrackBar1->setObjectName("TrackBar1");
    p.TrackBar1->setRange(range.Min, range.Max);
    p.TrackBar1->setValue(range.Value);
    p.TrackBar1->setTickInterval(range.TickInterval);
    p.TrackBar1->setTickPosition(QSlider::TicksBelow);
    p.TrackBar1->setMinimumWidth(300);
    dimBox->addWidget(p.TrackBar1);
    bottom->addLayout(dimBox, 0);
    bottom->addSpacing(24);
    p.btnCompare = new QPushButton(QStringLiteral("Do comparison"), panel);
    p.btnCompare->setObjectName("btnCompare");
    bottom->addWidget(p.btnCompare, 0, Qt::AlignVCenter);
    bottom->addStretch(1);
    return p;
}

}  // namespace paxtor

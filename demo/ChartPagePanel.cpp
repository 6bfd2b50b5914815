#include "demo/ChartPagePanel.h"

#include <QVBoxLayout>

namespace paxtor {

TChartPagePanel::TChartPagePanel(TBasicForm1* Page) : FPanel(Page->Panel2), FRow(new QHBoxLayout(Page->Panel2))
{
    FRow->setContentsMargins(8, 2, 8, 2);
    FRow->addWidget(Page->CheckDownSample, 0, Qt::AlignTop);
}

QSlider* TChartPagePanel::AddTrackBar(const QString& Caption, QLabel*& Value, int Min, int Max, int Start, int Tick,
                                      const char* Name, const char* ValueName)
{
    auto* box = new QVBoxLayout;
    auto* captions = new QHBoxLayout;
    captions->addWidget(new QLabel(Caption, FPanel));
    Value = new QLabel(FPanel);
    Value->setObjectName(ValueName);
    captions->addWidget(Value, 1);
    box->addLayout(captions);
    auto* bar = new QSlider(Qt::Horizontal, FPanel);
    bar->setObjectName(Name);
    bar->setRange(Min, Max);
    bar->setValue(Start);
    bar->setTickInterval(Tick);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setMinimumWidth(170);
    box->addWidget(bar);
    FRow->addSpacing(12);
    FRow->addLayout(box);
    return bar;
}

void TChartPagePanel::AddBox(const QString& Caption, QWidget* Widget)
{
    auto* box = new QVBoxLayout;
    box->addWidget(new QLabel(Caption, FPanel));
    box->addWidget(Widget);
    FRow->addSpacing(12);
    FRow->addLayout(box);
}

QPushButton* TChartPagePanel::AddButton(const QString& Caption, const char* Name)
{
    if (!FButtons) FRow->addStretch(1);
    FButtons = true;
    auto* button = new QPushButton(Caption, FPanel);
    button->setObjectName(Name);
    FRow->addWidget(button);
    return button;
}

}  // namespace paxtor

#include "components/MtxGridSerEdit.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QSpinBox>
#include <QVBoxLayout>

#include "components/TarnelTee.h"
#include "platform/gui/ClassRegistry.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Guard.h"

namespace tarnel {

namespace {

QFrame* ColourShape(QWidget* parent)
{
    auto* shape = new QFrame(parent);
    shape->setFrameShape(QFrame::Box);
    shape->setFixedSize(41, 21);
    shape->setAutoFillBackground(true);
    shape->setCursor(Qt::PointingHandCursor);
    return shape;
}

void Paint(QFrame* shape, gui::TColor colour)
{
    QPalette pal = shape->palette();
    pal.setColor(QPalette::Window, gui::ColorFromBGR(colour));
    shape->setPalette(pal);
}

}  // namespace

TMtxGridSeriesEditor::TMtxGridSeriesEditor(QWidget* Owner) : QWidget(Owner)
{
    setObjectName(QStringLiteral("TMtxGridSeriesEditor"));
    auto* outer = new QVBoxLayout(this);
    auto* styleGroup = new QGroupBox(this);
    auto* styleLayout = new QVBoxLayout(styleGroup);
    auto* styleRow = new QHBoxLayout;
    styleRow->addWidget(new QLabel(QStringLiteral("Palette style : "), styleGroup));
    FStyle = new QComboBox(styleGroup);
    FStyle->addItems({QStringLiteral("Range"), QStringLiteral("Range(Custom)"), QStringLiteral("Custom")});
    styleRow->addWidget(FStyle);
    styleRow->addStretch();
    styleLayout->addLayout(styleRow);

    FRangeGroup = new QGroupBox(QStringLiteral("Range palette settings"), styleGroup);
    auto* grid = new QGridLayout(FRangeGroup);
    grid->addWidget(new QLabel(QStringLiteral("Steps : "), FRangeGroup), 0, 0);
    FSteps = new QSpinBox(FRangeGroup);
    FSteps->setRange(2, 100);  // the up-down control's default maximum
    FSteps->setValue(10);
    FSteps->setWrapping(false);
    grid->addWidget(FSteps, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Bottom color : "), FRangeGroup), 1, 0);
    FBottomShape = ColourShape(FRangeGroup);
    grid->addWidget(FBottomShape, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Top color : "), FRangeGroup), 2, 0);
    FTopShape = ColourShape(FRangeGroup);
    grid->addWidget(FTopShape, 2, 1);
    styleLayout->addWidget(FRangeGroup);
    outer->addWidget(styleGroup);
    outer->addStretch();

    FBottomShape->installEventFilter(this);
    FTopShape->installEventFilter(this);
    connect(FStyle, qOverload<int>(&QComboBox::currentIndexChanged), this, gui::Guard([this](int index) {
                if (!FShowing || !FSeries || index < 0) return;
                FSeries->SetPaletteStyle(static_cast<TGridPaletteStyle>(index));
                FRangeGroup->setVisible(index != palCustom);
            }));
    connect(FSteps, qOverload<int>(&QSpinBox::valueChanged), this, gui::Guard([this](int value) {
                if (FShowing && FSeries) FSeries->SetPaletteSteps(value);
            }));
}

void TMtxGridSeriesEditor::SetSeries(QCPAbstractPlottable* Series)
{
    FSeries = qobject_cast<TMtxGridSeries*>(Series);
}

void TMtxGridSeriesEditor::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    gui::Guarded([this] {
        FShowing = false;  // setting the controls from the series changes nothing
        if (FSeries) {
            FSteps->setValue(FSeries->PaletteSteps());
            FStyle->setCurrentIndex(FSeries->PaletteStyle());
            FRangeGroup->setVisible(FSeries->PaletteStyle() != palCustom);
            ColourShapes();
        }
        FShowing = true;
    });
}

bool TMtxGridSeriesEditor::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == FBottomShape || watched == FTopShape) && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        gui::Guarded([&] { PickColour(watched == FTopShape); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TMtxGridSeriesEditor::ColourShapes()
{
    Paint(FBottomShape, FSeries->BottomColor());
    Paint(FTopShape, FSeries->TopColor());
}

void TMtxGridSeriesEditor::PickColour(bool Top)
{
    if (!FShowing || !FSeries) return;
    QColor colour = gui::ColorFromBGR(Top ? FSeries->TopColor() : FSeries->BottomColor());
    if (!gui::ChooseColor(colour)) return;
    const gui::TColor bgr = gui::BGRFromColor(colour);
    if (Top) {
        FSeries->SetTopColor(bgr);
    } else {
        FSeries->SetBottomColor(bgr);
    }
    ColourShapes();
}

void RegisterMtxGridSerEdit()
{
    gui::RegisterClass(QStringLiteral("TMtxGridSeriesEditor"),
                       [](QWidget* owner) { return new TMtxGridSeriesEditor(owner); });
}

}  // namespace tarnel

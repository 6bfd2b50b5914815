// The matrix grid series' page in the series editor: the palette style, and for the two range styles the number of
// steps and the ramp's two colours. Changes reach the series as they are made; the page is registered by its class
// name (RegisterMtxGridSerEdit, from the program's start-up), which the series names as its editor.
#pragma once

#include <QWidget>

#include "platform/gui/SeriesEditor.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QSpinBox;

namespace tarnel {

class TMtxGridSeries;

class TMtxGridSeriesEditor : public QWidget, public gui::TSeriesEditorPage {
    Q_OBJECT
public:
    explicit TMtxGridSeriesEditor(QWidget* Owner);

    // The series edited (a TMtxGridSeries; another plottable is ignored).
    void SetSeries(QCPAbstractPlottable* Series) override;
    TMtxGridSeries* Series() const { return FSeries; }

    QComboBox* StyleList() const { return FStyle; }
    QGroupBox* RangeGroup() const { return FRangeGroup; }
    QSpinBox* Steps() const { return FSteps; }
    QFrame* BottomShape() const { return FBottomShape; }
    QFrame* TopShape() const { return FTopShape; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ColourShapes();
    void PickColour(bool Top);

    TMtxGridSeries* FSeries = nullptr;
    bool FShowing = false;  // the controls hold the series' settings: their changes go to the series
    QComboBox* FStyle = nullptr;
    QGroupBox* FRangeGroup = nullptr;
    QSpinBox* FSteps = nullptr;
    QFrame* FBottomShape = nullptr;
    QFrame* FTopShape = nullptr;
};

// Registers TMtxGridSeriesEditor by name with the class registry.
void RegisterMtxGridSerEdit();

}  // namespace tarnel

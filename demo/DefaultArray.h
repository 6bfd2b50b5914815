// TDefArray, "Using Default arrays": times summing the elements of a vector or a square matrix through the
// checked indexed property against the raw value arrays, for dimensions up to a chosen maximum.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <cstdint>
#include <vector>

#include "core/Tarnel.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"
#include "platform/gui/Chart.h"

namespace paxtor {

class TDefArray : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TDefArray(QWidget* owner);

    QLabel* lblCaption;   // "Vector length" or "Sqared matrix rows"
    QLabel* lblDim;       // the track bar's value, right-aligned
    QSlider* TrackBar1;   // 1 to 10000 (vector) or 300 (matrix)
    QGroupBox* RadioGroup1;  // "Pick your test"
    QButtonGroup* RadioItems;
    QPushButton* btnCompare;  // "Do comparison"
    tarnel::gui::TChart* Chart1;
    tarnel::gui::TLineSeries* DefaultSeries;  // "Default Array"
    tarnel::gui::TLineSeries* ValuesSeries;   // "Values Array"
    tarnel::gui::TLineSeries* Values1DSeries;  // "Values1D array", matrix test only

    enum TTest { ttVector = 0, ttMatrix = 1 };
    TTest Test() const { return FTest; }
    int Dim() const { return FDim; }
    // "Pick your test": item 0 the vector test, item 1 the matrix test.
    void PickTest(int Item);

    // The repetition counts and the dimensions d a comparison visits for the track bar's value n.
    static int VectorCount(int n);
    static int MatrixCount(int n);
    static std::vector<int> VectorDims(int n);
    static std::vector<int> MatrixDims(int n);
    // The title of the time axis after a run of Count repetitions.
    static QString TimeAxisTitle(int Count);

    // The sums the page times, once each: every element of the vector through the indexed property and through
    // Values; the overlapping four-element row windows of the matrix through the indexed property, through the
    // row table and through the flat storage.
    double VectorDefaultSum() const;
    double VectorValuesSum() const;
    double MatrixDefaultSum() const;
    double MatrixValues2DSum() const;
    double MatrixValues1DSum() const;
    // Sizes the vector to d real elements, or the matrix to d × d, and fills it with the values k + 1.
    void PrepareVector(int d);
    void PrepareMatrix(int d);
    // "Do comparison".
    void DoComparison();

    const tarnel::TVec& Vector() const { return FVec; }
    const tarnel::TMtx& Matrix() const { return FMtx; }

private:
    void TrackBarChange();
    template <class F>
    std::uint32_t Time(int Count, F Sum) const;

    tarnel::TVec FVec;
    tarnel::TMtx FMtx;
    TTest FTest = ttVector;
    int FDim = 0;
    bool FRunning = false;
    TPageHelp FHelp;
};

}  // namespace paxtor

// Library values on charts: DrawValues puts a real vector, an X-Y pair of real vectors or a real matrix into a series
// the caller owns; DrawIt shows a vector or a matrix in one shared modal chart window.
//
// DrawValues of a vector plots the point (i·Step, Y[i]) for every element that is neither NaN nor infinite: the
// index goes to the series' keys (the vertical axis for a series whose key axis is vertical), the value to its
// values. With DownSample set and a vector longer than three times the chart's width in pixels, the vector is first
// reduced to (maximum, minimum) pairs with PixelDownSample at that width, so 1000 values on a chart 100 pixels wide
// become 668 (334 groups of 3) and the step grows to Length·Step / 668; 299 values are plotted whole. The series is
// filled at once and the chart repainted at once.
#pragma once

#include <QString>
#include <functional>

#include "core/mtx_class.h"
#include "core/vec_class.h"
#include "platform/gui/Chart.h"

class QDialog;

namespace tarnel {

// Raises "Y.Complex" for a complex Y, before the series changes.
void DrawValues(const TVec& Y, gui::TChartSeries& Series, bool DownSample, double Step);
// The points (X[i], Y[i]) where neither is NaN or infinite. Raises "X.Complex or Y.Complex", then
// "X.Length or Y.Length", before the series changes. Down-sampling (measured on X.Length) groups the pairs by
// their x positions (the unequally spaced form), which needs X's last element beyond its first.
void DrawValues(const TVec& X, const TVec& Y, gui::TChartSeries& Series, bool DownSample);

// The shared window: caption Caption ("Vector values" when empty), the index on the bottom axis (fixed to 0 ..
// Length − 1, a tick per index where they fit), the values (magnitudes of a complex V) on the automatic left axis,
// no legend; shown modally. The series goes when the window closes.
void DrawIt(const TVec& V, const QString& Caption, bool DownSample);

// The shared window and its chart (made on first use, deleted when the application quits); for tests.
QDialog& DrawItWindow();
gui::TChart& DrawItChart();
// Shows the window modally. The standard procedure runs its exec(); tests install one that looks at the window
// and returns (an empty procedure restores the standard one).
using TDrawItExecProc = std::function<void(QDialog& Window)>;
void SetDrawItExec(TDrawItExecProc Proc);

}  // namespace tarnel

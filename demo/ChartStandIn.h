// Stand-in for DrawValues of the chart routines (components/TarnelTee.h) until they are available: the same
// calling forms, drawn through the chart layer of platform/gui/Chart.h directly.
#pragma once

#include "core/Tarnel.h"
#include "platform/gui/Chart.h"

namespace paxtor {

// Y[i] at x = i·Step, reduced with PixelDownSample to three points a pixel when DownSample is set and the chart is
// narrower than 3·Y.Length pixels; NaN and infinite values are skipped.
void StandInDrawValues(const tarnel::TVec& Y, tarnel::gui::TChartSeries& Series, bool DownSample, double Step);
// The points (X[i], Y[i]).
void StandInDrawValues(const tarnel::TVec& X, const tarnel::TVec& Y, tarnel::gui::TChartSeries& Series,
                       bool DownSample);

}  // namespace paxtor

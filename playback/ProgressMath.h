#pragma once
// Arithmetic of the progress display, kept apart from the windows that show it.
#include "duilib/UIString.h"

namespace DuiLib {

// Range of the seek sliders in both windows' layouts.
inline constexpr int kSeekSliderMax = 1000;

// "hh:mm:ss" of whole seconds; hours grow past two digits.
CDuiString FormatTime(double seconds);
// Seek-slider position for position t of duration d: the integer part of t*1000/d,
// 0 when there is no finite answer (a duration of 0), kept within the slider's range.
int SeekSliderPosition(double t, double d);
// What a slider at value of max asks of the engine, in single precision as the engine
// has always had it: a volume percent, and a seek fraction. max must not be 0.
double VolumePercent(int value, int max);
double SeekFraction(int value, int max);

} // namespace DuiLib

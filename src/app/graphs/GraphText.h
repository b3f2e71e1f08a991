#pragma once
// The texts a graph pane draws: value labels, the group labels of evaluated
// compression series, the length of a time-span selection and the mouse
// readout. Numbers in the C locale; units and words translated.

#include <cstdint>
#include <string>

namespace GraphText {

// "%0.2f %s": a value with its unit.
std::wstring valueLabel(double value, const std::wstring& unit);
// The compression/relaxation ratio of a series from its compression share p
// (percent): "p:100-p" when the station shows ratios as percentages, else
// "-" for 100 % and the ratio to one decimal.
std::wstring crRatio(int percent, bool asPercent);
// Litres a minute to one decimal.
std::wstring cardiacOutput(double litresPerMinute);
// "1:05 min:sec" from a minute on, "12.5 sec" below.
std::wstring spanLength(std::int64_t milliseconds);
// "%2d:%02d min:sec, %2.2f %s" of the time of a sample and a value.
std::wstring readout(std::int64_t milliseconds, double value, const std::wstring& unit);

} // namespace GraphText

#pragma once
// Zero marks: points of a track, ascending, from which the running time of a figure is counted.

#include <optional>
#include <vector>

namespace Zeros {

// Adds t, removing every zero 3.0 s or less away from it.
void addZero(std::vector<double>& zeros, double t);
// The smallest zero >= t; past the last one the track's duration (0 when unknown).
double nextZero(const std::vector<double>& zeros, double t, std::optional<double> duration);
// The last zero <= t; 0.0 when there is none.
double previousZero(const std::vector<double>& zeros, double t);

} // namespace Zeros

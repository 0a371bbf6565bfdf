#pragma once
// The parts of a day in which times of extremum and O − C are shown.
namespace tenmirel::timing {

inline constexpr double kMinutesPerDay = 1440;
inline constexpr double kSecondsPerDay = 86400;

}  // namespace tenmirel::timing

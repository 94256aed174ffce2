#pragma once
// The rate of a counter between two readings, as the table view's "per
// second" cells show it.
#include <optional>
#include <string>

// True for the types whose values are counters ("COUNTER32", "COUNTER64").
bool IsCounterType(const std::string& strType);

// Increase per second from strOld to strNew (decimal value texts) over
// dSeconds. A Counter32 that is lower than before has wrapped once past
// 2^32 - 1 when that step is under 2^31; a larger drop, and any Counter64 that
// is lower, went backwards (the agent restarted, or the counter was reset): no rate, as for texts that are no counter values,
// another type, or no time between the readings. Differences are taken in
// 64-bit unsigned arithmetic before the division.
std::optional<double> CounterRate(const std::string& strType, const std::string& strOld, const std::string& strNew,
                                  double dSeconds);

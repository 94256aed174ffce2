#include "tableview/CounterRate.h"
#include "snmp/SnmpValue.h"
#include <charconv>
#include <cstdint>

namespace {

std::optional<std::uint64_t> ParseUnsigned(const std::string& strText)
{
    std::uint64_t n = 0;
    const char* pEnd = strText.data() + strText.size();
    const auto result = std::from_chars(strText.data(), pEnd, n);
    if (strText.empty() || result.ec != std::errc() || result.ptr != pEnd)
        return std::nullopt;
    return n;
}

} // namespace

bool IsCounterType(const std::string& strType)
{
    return strType == TypeName::Counter32 || strType == TypeName::Counter64;
}

std::optional<double> CounterRate(const std::string& strType, const std::string& strOld, const std::string& strNew,
                                  double dSeconds)
{
    const std::optional<std::uint64_t> nOld = ParseUnsigned(strOld), nNew = ParseUnsigned(strNew);
    if (!IsCounterType(strType) || !nOld || !nNew || !(dSeconds > 0))
        return std::nullopt;
    const bool b32 = strType == TypeName::Counter32;
    constexpr std::uint64_t kMax32 = 0xFFFFFFFFull;
    // A drop that would take more than half the range to wrap is far likelier a
    // restart than a wrap.
    constexpr std::uint64_t kMaxWrapStep = 0x80000000ull;
    if (b32 && (*nOld > kMax32 || *nNew > kMax32))
        return std::nullopt;
    std::uint64_t nDelta = 0;
    if (*nNew >= *nOld)
        nDelta = *nNew - *nOld;
    else if (b32 && kMax32 - *nOld + *nNew + 1 < kMaxWrapStep)
        nDelta = kMax32 - *nOld + *nNew + 1;
    else
        return std::nullopt;
    return static_cast<double>(nDelta) / dSeconds;
}

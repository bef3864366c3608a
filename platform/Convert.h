// Number payloads of messages: decimal text to an integer, or an EConvertError
// that reaches the exception report under that class name.
#pragma once

#include <charconv>
#include <stdexcept>
#include <string>
#include <system_error>

namespace vlr {

class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace detail {
template <class T>
T StrToIntegral(const std::string& text) {
    T value = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        throw EConvertError("'" + text + "' is not a valid integer value");
    return value;
}
}  // namespace detail

// An optional sign and decimal digits, in the range of the result type.
inline int StrToInt(const std::string& text) { return detail::StrToIntegral<int>(text); }
inline long long StrToInt64(const std::string& text) { return detail::StrToIntegral<long long>(text); }

}  // namespace vlr

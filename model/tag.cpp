#include "model/tag.h"

#include <charconv>
#include <iterator>
#include <utility>

namespace korvel {

TagValue TagValue::text(std::string text) {
    TagValue tag;
    tag.value_ = std::move(text);
    return tag;
}

TagValue TagValue::number(std::int16_t number) {
    TagValue tag;
    tag.value_ = number;
    return tag;
}

bool TagValue::equalsNumber(std::int16_t n) const {
    if (const auto* number = std::get_if<std::int16_t>(&value_)) {
        return *number == n;
    }
    // A text that reads wholly as a number is compared by its value; any other
    // text ("" and "Red" among them) is simply unequal.
    const std::string& text = std::get<std::string>(value_);
    long parsed = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, parsed);
    return !text.empty() && ec == std::errc{} && ptr == end && parsed == n;
}

bool TagValue::equalsText(std::string_view text) const {
    if (const auto* own = std::get_if<std::string>(&value_)) {
        return *own == text;
    }
    // The number's decimal form, written without building a string: the food
    // search asks this of every stamped cell it meets, always with "". That
    // form has one to six characters ("-32768").
    if (text.empty() || text.size() > 6) {
        return false;
    }
    char digits[8];
    const auto [end, ec] =
        std::to_chars(std::begin(digits), std::end(digits), std::get<std::int16_t>(value_));
    return ec == std::errc{} &&
           std::string_view(digits, static_cast<std::size_t>(end - digits)) == text;
}

std::string TagValue::toString() const {
    if (const auto* number = std::get_if<std::int16_t>(&value_)) {
        return std::to_string(*number);
    }
    return std::get<std::string>(value_);
}

}  // namespace korvel

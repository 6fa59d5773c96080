#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace korvel {

// What a cell's tag holds: a text ("" empty, "Red" food) or a number (0 for a
// cell freed by the tail, a stamp from 1 up for a body segment). The three
// comparisons the rules make never fail, whatever the tag holds.
class TagValue {
public:
    TagValue() = default;  // the empty text
    static TagValue text(std::string text);
    static TagValue number(std::int16_t number);

    // Equal only if the tag holds the number n, or a text that reads as n.
    [[nodiscard]] bool equalsNumber(std::int16_t n) const;
    // Equal only if the tag's text is `text`; a number compares as its decimal form.
    [[nodiscard]] bool equalsText(std::string_view text) const;

    [[nodiscard]] bool isNumber() const { return std::holds_alternative<std::int16_t>(value_); }
    [[nodiscard]] std::optional<std::int16_t> asNumber() const {
        if (const auto* number = std::get_if<std::int16_t>(&value_)) {
            return *number;
        }
        return std::nullopt;
    }
    // The text, or the number in decimal.
    [[nodiscard]] std::string toString() const;

    // Same kind and same value: "" and 0 are different tags.
    friend bool operator==(const TagValue&, const TagValue&) = default;

private:
    std::variant<std::string, std::int16_t> value_;
};

}  // namespace korvel

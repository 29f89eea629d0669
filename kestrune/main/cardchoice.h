// The card number typed or picked in the main window's selector.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The largest card number whose global axis numbers (card × 4 + 3) still fit
// the card library's 16-bit axis argument.
inline constexpr int kLastCardNumber = 8191;

// The card number that `text` names: a decimal integer, blanks around it
// allowed, from 0 to kLastCardNumber. Anything else names no card.
std::optional<int16_t> CardNumberFromText(const QString& text);

#pragma once
// A whole number in decimal digits, as UTF-16 text ("-12", "0", "20991231").
#include <string>

inline std::u16string Decimal(long long value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

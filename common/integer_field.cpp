#include "common/integer_field.h"

namespace fields {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

IntegerCheck ParseInteger(std::string_view text, int low, int high, int& value) {
    std::size_t at = 0, end = text.size();
    while (at < end && IsBlank(text[at])) ++at;
    while (end > at && IsBlank(text[end - 1])) --end;
    bool negative = false;
    if (at < end && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    if (at == end) return IntegerCheck::NotInteger;
    // Kept below 2^40 while reading, so a long run of digits cannot overflow.
    long long magnitude = 0;
    bool huge = false;
    for (; at < end; ++at) {
        const char c = text[at];
        if (c < '0' || c > '9') return IntegerCheck::NotInteger;
        if (!huge) magnitude = magnitude * 10 + (c - '0');
        if (magnitude > (1ll << 40)) huge = true;
    }
    const long long number = negative ? -magnitude : magnitude;
    if (huge || number < low || number > high) return IntegerCheck::OutOfRange;
    value = static_cast<int>(number);
    return IntegerCheck::Ok;
}

std::string IntegerRefusal(IntegerCheck check, int low, int high) {
    switch (check) {
        case IntegerCheck::NotInteger: return "Please enter an integer.";
        case IntegerCheck::OutOfRange:
            return "Please enter an integer between " + std::to_string(low) + " and " + std::to_string(high) + ".";
        case IntegerCheck::Ok: break;
    }
    return {};
}

int StoredInRange(int value, int low, int high, int fallback) {
    return value < low || value > high ? fallback : value;
}

}  // namespace fields

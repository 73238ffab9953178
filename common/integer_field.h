// An integer typed into a settings field: the parse and range check of
// every number a settings page takes, with the texts that refuse it.
#pragma once
#include <string>
#include <string_view>

namespace fields {

enum class IntegerCheck { Ok, NotInteger, OutOfRange };

// Blanks around the number are allowed, a sign is, nothing else is. A
// number too large for an int is out of range, not "not an integer".
IntegerCheck ParseInteger(std::string_view text, int low, int high, int& value);
// "Please enter an integer." or "Please enter an integer between 0 and 999."
std::string IntegerRefusal(IntegerCheck check, int low, int high);
// A stored number outside [low, high] reads as the fallback.
int StoredInRange(int value, int low, int high, int fallback);

}  // namespace fields

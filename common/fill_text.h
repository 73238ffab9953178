// Fills the "%s" places of a user text in turn, whatever the values hold:
// names from the disk never reach a printf format.
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

std::string FillText(std::string_view format, std::initializer_list<std::string_view> values);

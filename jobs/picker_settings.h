// The "Web Picker" settings: kept for the user, read by nothing else.
#pragma once

namespace jobs {

constexpr int kMinHops = 0;
constexpr int kMaxHops = 999;

}  // namespace jobs

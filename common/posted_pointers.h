// Objects handed to a window by a posted message. Any process on the
// desktop can post a message with any lParam, so the receiver takes only a
// pointer that was handed out here and not yet taken: a forged message is
// ignored instead of freeing or reading memory it names.
#pragma once

namespace posted {

// Marks `object` as handed over; call before posting it.
void Hand(const void* object);
// True (once) for an object handed over and not yet taken.
bool Take(const void* object);

}  // namespace posted

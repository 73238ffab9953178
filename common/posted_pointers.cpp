#include "common/posted_pointers.h"

#include <mutex>
#include <unordered_set>

namespace posted {

namespace {
std::mutex lock;
std::unordered_set<const void*>& Handed() {
    static std::unordered_set<const void*> handed;
    return handed;
}
}  // namespace

void Hand(const void* object) {
    const std::lock_guard<std::mutex> guard(lock);
    Handed().insert(object);
}

bool Take(const void* object) {
    const std::lock_guard<std::mutex> guard(lock);
    return object && Handed().erase(object) == 1;
}

}  // namespace posted

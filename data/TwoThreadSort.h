#pragma once
// Sorting a long list on two threads inside the call: each half sorted on its own thread, then
// merged. The order is the comparison's, which must be a strict total order, so that the result
// does not depend on which thread finished first.

#include <algorithm>
#include <thread>
#include <vector>

namespace kavelon {

// makeLess(first) gives the comparison for one thread: first is true on the second thread, so
// that what a comparison may not share between threads (a collator) is made there.
template <typename T, typename MakeLess>
void sortOnTwoThreads(std::vector<T>& items, MakeLess&& makeLess) {
    constexpr std::size_t worthIt = 20000;
    if (items.size() < worthIt || std::thread::hardware_concurrency() < 2) {
        std::sort(items.begin(), items.end(), makeLess(false));
        return;
    }
    const auto middle = items.begin() + std::ptrdiff_t(items.size() / 2);
    std::thread other([&] { std::sort(items.begin(), middle, makeLess(true)); });
    const auto less = makeLess(false);
    std::sort(middle, items.end(), less);
    other.join();
    std::inplace_merge(items.begin(), middle, items.end(), less);
}

} // namespace kavelon

// A window's table of components: each typed identifier the code uses, next
// to the component's name, the outside vocabulary that scripts, the window's
// controls and its tests know it by. Lookup is by the identifier's value, and
// the table proves at compile time that it lists every identifier in order.
#pragma once
#include <cstddef>
#include <string_view>

namespace tw {

template <typename Id>
struct ComponentEntry {
    Id id;
    std::string_view name;
};

// True when `table` holds every value of Id from 0 to its size - 1, in order.
template <typename Id, std::size_t N>
constexpr bool ListsEveryIdInOrder(const ComponentEntry<Id> (&table)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<std::size_t>(table[i].id) != i) return false;
    }
    return true;
}

}  // namespace tw

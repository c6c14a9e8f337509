// A window's table of components: each typed identifier the code uses, next
// to the component's name, the outside vocabulary that scripts and tests know
// it by. The code reaches a component by its key (the identifier's type and
// value); names are looked up only where scripts and tests meet a window.
#pragma once
#include <concepts>
#include <cstddef>
#include <string_view>
#include <type_traits>

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

// A window's typed identifier: an enum whose ComponentName() gives the name.
template <typename Id>
concept ComponentId = std::is_enum_v<Id> && requires(Id id) {
    { ComponentName(id) } -> std::convertible_to<std::string_view>;
};

// One address per identifier type: it tells the enums of a window apart.
template <typename Id>
inline constexpr char kComponentFamily = 0;

// A component's key: its identifier's type and value. The empty key names
// no component (a tool button without a drop-down menu).
struct ComponentKey {
    const void* family = nullptr;
    int value = -1;

    constexpr bool empty() const { return family == nullptr; }
    friend constexpr bool operator==(const ComponentKey&, const ComponentKey&) = default;
};

template <ComponentId Id>
constexpr ComponentKey KeyOf(Id id) {
    return ComponentKey{&kComponentFamily<Id>, static_cast<int>(id)};
}

}  // namespace tw

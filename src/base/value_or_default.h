#pragma once
// ValueOrDefault: a database value, or a stand-in when it is NULL.

#include <utility>

namespace quintabel {

// A value type that can say whether it holds the database's NULL, through a free function
// isNull(value) found by argument-dependent lookup (as for quintabel::db::Value) or a member
// value.isNull() (as for QVariant).
template <typename Value>
concept NullableValue = requires(const Value& value) {
    { isNull(value) } -> std::convertible_to<bool>;
} || requires(const Value& value) {
    { value.isNull() } -> std::convertible_to<bool>;
};

template <NullableValue Value>
bool holdsNull(const Value& value)
{
    if constexpr (requires { isNull(value); })
        return isNull(value);
    else
        return value.isNull();
}

// The fallback when the value is NULL, otherwise the value itself, unchanged in type. An
// empty text is not NULL.
template <NullableValue Value>
Value ValueOrDefault(const Value& value, const Value& fallback)
{
    return holdsNull(value) ? fallback : value;
}

} // namespace quintabel

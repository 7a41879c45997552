#pragma once
// What passes through cRegistry's Value and Default: nothing, a text, a 16- or 32-bit signed
// integer, or a one-dimensional byte array that keeps its lower bound.
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

struct ByteArray {
    std::int32_t lowerBound = 0;
    std::vector<std::uint8_t> bytes;

    // An array without elements has an upper bound one below its lower bound.
    std::int64_t UpperBound() const { return std::int64_t{lowerBound} + static_cast<std::int64_t>(bytes.size()) - 1; }
    bool HasIndex(std::int64_t index) const { return index >= lowerBound && index <= UpperBound(); }

    bool operator==(const ByteArray&) const = default;
};

class TaggedValue {
public:
    enum class Kind { Empty, Text, Int16, Int32, Bytes };

    TaggedValue() = default;
    TaggedValue(std::wstring text) : value_(std::move(text)) {}
    TaggedValue(const wchar_t* text) : value_(std::wstring(text)) {}
    TaggedValue(std::int16_t number) : value_(number) {}
    TaggedValue(std::int32_t number) : value_(number) {}
    TaggedValue(ByteArray bytes) : value_(std::move(bytes)) {}

    Kind kind() const { return static_cast<Kind>(value_.index()); }
    bool IsEmpty() const { return kind() == Kind::Empty; }

    // Each accessor expects its own kind (std::bad_variant_access otherwise).
    const std::wstring& Text() const { return std::get<std::wstring>(value_); }
    std::int16_t Int16() const { return std::get<std::int16_t>(value_); }
    std::int32_t Int32() const { return std::get<std::int32_t>(value_); }
    const ByteArray& Bytes() const { return std::get<ByteArray>(value_); }

    bool operator==(const TaggedValue&) const = default;

private:
    // The order matches Kind.
    std::variant<std::monostate, std::wstring, std::int16_t, std::int32_t, ByteArray> value_;
};

// The text form of a value: empty gives "", a text itself, integers in signed decimal, a byte
// array its bytes from lower to upper bound as two-digit upper-case hexadecimal numbers
// separated by single spaces.
std::wstring TextForm(const TaggedValue& value);

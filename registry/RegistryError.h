#pragma once
// The error cRegistry raises: a number, the source that raised it and a description naming
// the key, section and value concerned.
#include <cstdint>
#include <exception>
#include <string>

class RegistryError : public std::exception {
public:
    RegistryError(std::int32_t number, std::wstring source, std::wstring description);

    std::int32_t Number() const { return number_; }
    const std::wstring& Source() const { return source_; }
    const std::wstring& Description() const { return description_; }

    // A narrow summary for places that only know std::exception: the number, and the
    // description with characters outside ASCII shown as '?'.
    const char* what() const noexcept override { return what_.c_str(); }

private:
    std::int32_t number_;
    std::wstring source_;
    std::wstring description_;
    std::string what_;
};

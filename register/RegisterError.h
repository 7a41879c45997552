#pragma once
// The error RegisterComponent raises: the HRESULT of the failure (or error 7, out of
// memory), the source that raised it and a description naming the file.
#include <cstdint>
#include <exception>
#include <string>

// A plain std::exception: std::runtime_error would link the library's second string type.
class RegisterError : public std::exception {
public:
    RegisterError(std::int32_t number, std::wstring source, std::wstring description)
        : number_(number), source_(std::move(source)), description_(std::move(description)) {}

    const char* what() const noexcept override { return "component registration failed"; }

    std::int32_t Number() const { return number_; }
    const std::wstring& Source() const { return source_; }
    const std::wstring& Description() const { return description_; }

private:
    std::int32_t number_;
    std::wstring source_;
    std::wstring description_;
};

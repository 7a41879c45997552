#include "registry/RegistryError.h"

#include <utility>

#include "platform/strings.h"

RegistryError::RegistryError(std::int32_t number, std::wstring source, std::wstring description)
    : number_(number), source_(std::move(source)), description_(std::move(description)) {
    std::wstring summary = L"registry error " + os::ToDecimal(number_);
    if (!description_.empty()) summary += L": " + description_;
    what_.reserve(summary.size());
    for (const wchar_t c : summary) what_ += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
}

#pragma once
// One registry key or value at a time. The caller describes the target through the
// properties (root, key path, value name, type to write, fallback) and then reads or writes
// Value, or asks whether the key exists, creates it, deletes it or deletes the value. Every
// operation opens its key afresh and closes it before it returns or raises.
//
// Reading never fails towards the caller: what cannot be read comes back as Default.
// Creating, deleting and writing raise RegistryError.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry.h"
#include "platform/system.h"
#include "registry/RegistryError.h"
#include "registry/TaggedValue.h"

class cRegistry {
public:
    // Numbers of the errors raised.
    static constexpr std::int32_t kErrorRegistry = 26001;
    static constexpr std::int32_t kErrorWriteFailed = -2147194455;  // 0x800469A9
    static constexpr std::int32_t kErrorSubscriptOutOfRange = 9;

    // 'system' names the running executable, which makes the source of raised errors.
    cRegistry(os::Registry& registry, os::System& system);

    // True when ClassKey\SectionKey can be opened for reading; raises nothing.
    bool KeyExists();
    // Creates ClassKey\SectionKey, or opens it if it exists; true, or raises.
    bool CreateKey();
    // Deletes ClassKey\SectionKey; true, or raises.
    bool DeleteKey();
    // Deletes the value ValueKey of ClassKey\SectionKey; true, or raises.
    bool DeleteValue();

    // The value ValueKey of ClassKey\SectionKey, or a copy of Default when it cannot be read.
    // A value that is read sets ValueType to the type it is stored with.
    TaggedValue Value();
    // Writes vValue as ValueKey in ClassKey\SectionKey, creating the key when needed; how it
    // is stored depends on ValueType. Raises on failure.
    void SetValue(TaggedValue vValue);

    std::int32_t ValueType() const { return valueType_; }
    void SetValueType(std::int32_t eValueType) { valueType_ = eValueType; }
    std::int32_t ClassKey() const { return classKey_; }
    void SetClassKey(std::int32_t eKey) { classKey_ = eKey; }
    std::wstring SectionKey() const { return sectionKey_; }
    void SetSectionKey(std::wstring sSectionKey) { sectionKey_ = std::move(sSectionKey); }
    std::wstring ValueKey() const { return valueKey_; }
    void SetValueKey(std::wstring sValueKey) { valueKey_ = std::move(sValueKey); }
    // Added to the access of Value's open: the registry view to read (os::kKeyWow64_32Key), or 0.
    void SetReadView(std::uint32_t view) { readView_ = view; }
    TaggedValue Default() const { return default_; }
    void SetDefault(TaggedValue vDefault) { default_ = std::move(vDefault); }

private:
    friend struct cRegistryTestAccess;

    // Writes one text under both places of a class registration: below HKEY_CLASSES_ROOT
    // and below HKEY_LOCAL_MACHINE\SOFTWARE\Classes. Leaves ClassKey at HKEY_LOCAL_MACHINE.
    void SetClassesValue(std::wstring sValue);
    static std::int32_t SwapEndian(std::int32_t x);
    std::wstring ExpandEnvStr(const std::wstring& sText);

    [[noreturn]] void Raise(std::int32_t number, std::wstring description) const;
    std::wstring ErrorSource() const;
    std::wstring WriteFailureText(const TaggedValue& value) const;
    // Type and data of ValueKey, asked again when the value changes between the size query
    // and the data query; false when it cannot be read.
    bool ReadData(os::KeyHandle key, std::uint32_t& type, std::vector<std::uint8_t>& data);

    os::Registry& registry_;
    os::System& system_;

    std::int32_t classKey_ = 0;
    std::wstring sectionKey_;
    std::wstring valueKey_;
    TaggedValue default_;
    std::int32_t valueType_ = 0;
    std::uint32_t readView_ = 0;
};

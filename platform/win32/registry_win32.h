#pragma once
#include "platform/registry.h"

namespace win32 {

// The real registry through the ANSI entry points of advapi32.
class Registry : public os::Registry {
public:
    Registry() = default;
    ~Registry() override;
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;
    std::int32_t OpenKey(std::int32_t root, const std::wstring& subKey, std::uint32_t access,
                         os::KeyHandle& key) override;
    std::int32_t CreateKey(std::int32_t root, const std::wstring& subKey, std::uint32_t access,
                           os::KeyHandle& key) override;
    std::int32_t QueryValue(os::KeyHandle key, const std::wstring& name, std::uint32_t& type,
                            std::span<std::uint8_t> data, std::uint32_t& size) override;
    std::int32_t SetValue(os::KeyHandle key, const std::wstring& name, std::uint32_t type,
                          std::span<const std::uint8_t> data) override;
    std::int32_t DeleteKey(std::int32_t root, const std::wstring& subKey) override;
    std::int32_t DeleteValue(os::KeyHandle key, const std::wstring& name) override;
    std::int32_t CloseKey(os::KeyHandle key) override;
    bool ClassesMayHaveChanged() override;
    std::uint32_t ExpandEnvironment(const std::wstring& source,
                                           std::span<std::uint8_t> destination) override;
    std::string ToAnsi(const std::wstring& text) override;
    std::wstring FromAnsi(std::span<const std::uint8_t> bytes) override;

private:
    // The system's change notification on a tree of class registrations.
    struct Watch {
        void* key = nullptr;
        void* changed = nullptr;  // an event the system sets on any change below the key
    };
    bool Arm(Watch& watch, std::int32_t root, const char* const* names);
    Watch machine_, user_;
    bool watching_ = false;
};

}  // namespace win32

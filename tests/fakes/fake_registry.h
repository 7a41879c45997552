#pragma once
// An in-memory registry answering like the ANSI registry functions (sizes, ERROR_MORE_DATA,
// access rights, names without regard to case), keeping the open handles and the access each
// open asked for, failing a kind of call on request. Its code page is Latin-1.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace fakes {

class FakeRegistry : public os::Registry {
public:
    struct StoredValue {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        bool operator==(const StoredValue&) const = default;
    };
    enum class Op { Open, Create, Query, Set, DeleteKey, DeleteValue, Expand };

    void AddKey(std::int32_t root, const std::wstring& path);
    void Put(std::int32_t root, const std::wstring& path, const std::wstring& name, std::uint32_t type,
             std::vector<std::uint8_t> data);
    bool HasKey(std::int32_t root, const std::wstring& path) const;
    std::optional<StoredValue> Find(std::int32_t root, const std::wstring& path, const std::wstring& name) const;

    std::map<Op, std::int32_t> failures;         // every call of that kind fails with the status
    std::function<void()> beforeQueryData;       // runs once before the next data query
    // The size query answers this many bytes more than stored (fewer when negative), as
    // the ANSI functions may over-estimate a text, and a value may grow after the answer.
    std::int64_t sizeSlack = 0;
    std::map<std::wstring, std::wstring> environment;  // for %NAME% expansion
    std::set<os::KeyHandle> openHandles;
    std::vector<std::uint32_t> accessAsked;      // by each open and create, in order

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
    std::uint32_t ExpandEnvironment(const std::wstring& source, std::span<std::uint8_t> destination) override;
    std::string ToAnsi(const std::wstring& text) override;
    std::wstring FromAnsi(std::span<const std::uint8_t> bytes) override;

private:
    static std::wstring KeyId(std::int32_t root, const std::wstring& path);
    std::int32_t Failure(Op op) const;

    std::map<std::wstring, std::map<std::wstring, StoredValue>> keys_;  // values by lower-case name
    std::map<os::KeyHandle, std::pair<std::wstring, std::uint32_t>> handles_;  // key and access
    os::KeyHandle nextHandle_ = 0x1000;
};

}  // namespace fakes

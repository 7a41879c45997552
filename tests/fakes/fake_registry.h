#pragma once
// An in-memory registry: keys below the predefined roots, values with a type and raw bytes.
// It answers like the ANSI registry functions (sizes, ERROR_MORE_DATA, access rights, case-
// insensitive names), records every call and every open handle so tests can see that each
// opened key is closed on every path, and can be told to fail particular calls.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
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

    enum class Op { Open, Create, QuerySize, QueryData, Set, DeleteKey, DeleteValue, Close, Expand };

    struct Call {
        explicit Call(Op o, std::int32_t r = 0, std::wstring p = {}, std::wstring n = {}, std::uint32_t a = 0)
            : op(o), root(r), path(std::move(p)), name(std::move(n)), access(a) {}
        Op op;
        std::int32_t root = 0;      // Open, Create, DeleteKey
        std::wstring path;          // the key's path below its root
        std::wstring name;          // value name
        std::uint32_t access = 0;   // Open, Create
        std::uint32_t type = 0;     // Set
        std::size_t told = 0;       // QueryData, Expand: the buffer size handed over
        std::int32_t status = 0;
    };

    FakeRegistry();

    // --- Contents ------------------------------------------------------------------------
    // Creates the key with all its parents.
    void AddKey(std::int32_t root, const std::wstring& path);
    // Stores raw data, creating the key.
    void Put(std::int32_t root, const std::wstring& path, const std::wstring& name, std::uint32_t type,
             std::vector<std::uint8_t> data);
    void PutText(std::int32_t root, const std::wstring& path, const std::wstring& name, std::uint32_t type,
                 const std::string& bytes);
    bool HasKey(std::int32_t root, const std::wstring& path) const;
    // The stored value, or nothing.
    std::optional<StoredValue> Find(std::int32_t root, const std::wstring& path, const std::wstring& name) const;
    std::size_t ValueCount(std::int32_t root, const std::wstring& path) const;

    // --- Scripted behaviour -------------------------------------------------------------
    // Every call of 'op' answers 'status' (non-zero) without doing anything; a failed
    // expansion answers 0, as the platform does.
    std::map<Op, std::int32_t> failures;
    // Asked about every call (after 'failures'): a non-zero answer fails that call with it.
    std::function<std::int32_t(const Call&)> failIf;
    // Runs once, just before the next data query (to change a value between the queries).
    std::function<void()> beforeQueryData;
    // Runs once, just before the next expansion into a buffer.
    std::function<void()> beforeExpandData;
    // Variables for %NAME% expansion (names compared without regard to case).
    std::map<std::wstring, std::wstring> environment;

    // --- Records ------------------------------------------------------------------------
    std::vector<Call> calls;
    std::set<os::KeyHandle> openHandles;
    int opened = 0;
    int closed = 0;
    int badCloses = 0;  // closes of handles that are not open
    int Count(Op op) const;
    // The buffer sizes handed over by the calls of one kind, in order.
    std::vector<std::size_t> Told(Op op) const;

    // --- os::Registry -------------------------------------------------------------------
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
    // The fake's code page is Latin-1: one byte per character, '?' for what does not fit.
    std::string ToAnsi(const std::wstring& text) override;
    std::wstring FromAnsi(std::span<const std::uint8_t> bytes) override;

private:
    struct Key {
        std::map<std::wstring, StoredValue> values;  // by lower-case name
    };
    struct Handle {
        std::wstring keyId;
        std::uint32_t access = 0;
    };

    static bool IsRoot(std::int32_t root);
    static std::wstring Lower(const std::wstring& s);
    static std::wstring KeyId(std::int32_t root, const std::wstring& path);
    std::int32_t Record(Call call, std::int32_t status);
    // The status a call is told to fail with, or 0.
    std::int32_t Scripted(const Call& call) const;
    const Handle* Opened(os::KeyHandle key) const;
    os::KeyHandle NewHandle(const std::wstring& keyId, std::uint32_t access);

    std::map<std::wstring, Key> keys_;  // by KeyId; the roots are always there
    std::map<os::KeyHandle, Handle> handles_;
    os::KeyHandle nextHandle_ = 0x1000;
};

}  // namespace fakes

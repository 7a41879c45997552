// Fuzz target: cRegistry's reading path against the fake registry answering arbitrary
// types, sizes and bytes, a size query that over- or under-states, a value rewritten between
// the size query and the data query, failing queries and expansions. Each read must follow
// the rules of reading, leave no key open, and read the same after it is written back.
// Input: flags, then one or two values (type byte, 0xFF for four more type bytes; a 16-bit
// length; the data), then per flag a size slack, a query failure, an environment value.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "registry/cRegistry.h"

namespace {

constexpr std::int32_t kRoot = os::kHKeyCurrentUser;
const std::wstring kKey = L"Software\\Fuzz";

struct Reader {
    const std::uint8_t* at;
    std::size_t left;
    std::uint32_t Byte() { return left ? (--left, *at++) : 0; }
    std::vector<std::uint8_t> Take(std::size_t n) {
        n = std::min(n, left);
        std::vector<std::uint8_t> out(at, at + n);
        at += n, left -= n;
        return out;
    }
    fakes::FakeRegistry::StoredValue Value() {
        std::uint32_t type = Byte();
        if (type == 0xFF) type = Byte() | Byte() << 8 | Byte() << 16 | Byte() << 24;
        const std::size_t length = Byte() | Byte() << 8;
        return {type, Take(length)};
    }
};

#define FUZZ_CHECK(cond)                                                   \
    do {                                                                   \
        if (!(cond)) {                                                     \
            std::fprintf(stderr, "check failed: %s (line %d)\n", #cond, __LINE__); \
            std::abort();                                                  \
        }                                                                  \
    } while (0)

// What the rules of reading make of stored data.
TaggedValue Expected(fakes::FakeRegistry& fake, const fakes::FakeRegistry::StoredValue& v) {
    switch (v.type) {
        case os::regtype::kSz:
        case os::regtype::kMultiSz: {
            const std::size_t n = v.data.size() - (!v.data.empty() && v.data.back() == 0);
            return fake.FromAnsi(std::span(v.data.data(), n));
        }
        case os::regtype::kDword:
        case os::regtype::kDwordBigEndian: {
            std::uint32_t n = 0;
            if (!v.data.empty() && v.data.size() <= 4) std::memcpy(&n, v.data.data(), v.data.size());
            if (v.type == os::regtype::kDwordBigEndian) n = __builtin_bswap32(n);
            return static_cast<std::int32_t>(n);
        }
        default:
            return ByteArray{0, v.data};
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in{data, size};
    const std::uint32_t flags = in.Byte();
    const auto first = in.Value();
    const auto second = (flags & 1) ? in.Value() : first;
    fakes::FakeRegistry fake;
    fakes::FakeSystem system;
    if (!(flags & 8)) fake.Put(kRoot, kKey, L"V", first.type, first.data);
    if (flags & 1) fake.beforeQueryData = [&] { fake.Put(kRoot, kKey, L"V", second.type, second.data); };
    if (flags & 2) fake.sizeSlack = static_cast<std::int8_t>(in.Byte());
    // A failure code other than "more data", which the platform answers with the size.
    if (flags & 4) fake.failures[fakes::FakeRegistry::Op::Query] = static_cast<std::int32_t>(in.Byte() % 200 + 1);
    if (flags & 16) fake.environment[L"LR"] = L"x";
    if (flags & 32) fake.failures[fakes::FakeRegistry::Op::Expand] = 1;

    cRegistry reg(fake, system);
    reg.SetClassKey(kRoot);
    reg.SetSectionKey(kKey);
    reg.SetValueKey(L"V");
    reg.SetValueType(99);
    reg.SetDefault(std::int16_t{-7});  // a kind no read makes
    const TaggedValue read = reg.Value();
    FUZZ_CHECK(fake.openHandles.empty());
    if (read.kind() == TaggedValue::Kind::Int16) {
        FUZZ_CHECK(read.Int16() == -7 && reg.ValueType() == 99);
        // Only a missing value, a failing query or one that never holds still is unread.
        FUZZ_CHECK((flags & 8) || (flags & 4) || fake.sizeSlack < 0);
        return 0;
    }
    const auto stored = *fake.Find(kRoot, kKey, L"V");
    FUZZ_CHECK(static_cast<std::uint32_t>(reg.ValueType()) == stored.type);
    // A size query that answers 0 is a value empty at that moment, grown only afterwards.
    const bool emptyThen = std::int64_t(stored.data.size()) + fake.sizeSlack <= 0;
    if (stored.type != os::regtype::kExpandSz)
        FUZZ_CHECK(read == Expected(fake, stored) || (emptyThen && read == Expected(fake, {stored.type, {}})));
    else
        FUZZ_CHECK(read.kind() == TaggedValue::Kind::Text);

    // Written back with the type it read, it reads the same; any other type is refused.
    fake.failures.clear();
    fake.sizeSlack = 0;
    fake.beforeQueryData = nullptr;  // not run when the size query found no data
    const bool writable = stored.type >= os::regtype::kSz && stored.type <= os::regtype::kDwordBigEndian;
    try {
        reg.SetValue(read);
        FUZZ_CHECK(writable);
    } catch (const RegistryError& e) {
        FUZZ_CHECK(!writable && e.Number() == cRegistry::kErrorWriteFailed);
        FUZZ_CHECK(fake.Find(kRoot, kKey, L"V") == stored);
    }
    FUZZ_CHECK(fake.openHandles.empty());
    if (writable && fake.environment.empty()) FUZZ_CHECK(reg.Value() == read);
    return 0;
}

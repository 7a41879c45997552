// Fuzz target: cRegistry's reading path on the fake registry answering any type, size and
// bytes, a size query that over- or under-states, a value rewritten between the size query
// and the data query, failing queries and expansions. No key is left open, only what cannot
// be read gives the Default, and a value written back with the type it read reads the same.
// Input: flags, then one or two values (type byte, 0xFF for four more type bytes; a 16-bit
// length; the data), then per flag a size slack and a query failure.
#include <cstdio>
#include <cstdlib>

#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "registry/cRegistry.h"

namespace {

struct Reader {
    const std::uint8_t* at;
    std::size_t left;
    std::uint32_t Byte() { return left ? (--left, *at++) : 0; }
    fakes::FakeRegistry::StoredValue Value() {
        std::uint32_t type = Byte();
        if (type == 0xFF) type = Byte() | Byte() << 8 | Byte() << 16 | Byte() << 24;
        const std::size_t n = std::min<std::size_t>(Byte() | Byte() << 8, left);
        at += n, left -= n;
        return {type, {at - n, at}};
    }
};

#define FUZZ_CHECK(cond) \
    if (!(cond)) std::fprintf(stderr, "check failed: %s (line %d)\n", #cond, __LINE__), std::abort()

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in{data, size};
    const std::uint32_t flags = in.Byte();
    const auto first = in.Value();
    const auto second = (flags & 1) ? in.Value() : first;
    const std::int32_t root = os::kHKeyCurrentUser;
    const std::wstring key = L"Software\\Fuzz";
    fakes::FakeRegistry fake;
    fakes::FakeSystem system;
    if (!(flags & 8)) fake.Put(root, key, L"V", first.type, first.data);
    if (flags & 1) fake.beforeQueryData = [&] { fake.Put(root, key, L"V", second.type, second.data); };
    if (flags & 2) fake.sizeSlack = static_cast<std::int8_t>(in.Byte());
    // A failure code other than "more data", which the platform answers with the size.
    if (flags & 4) fake.failures[fakes::FakeRegistry::Op::Query] = static_cast<std::int32_t>(in.Byte() % 200 + 1);
    if (flags & 16) fake.environment[L"LR"] = L"x";
    if (flags & 32) fake.failures[fakes::FakeRegistry::Op::Expand] = 1;

    cRegistry reg(fake, system);
    reg.SetClassKey(root);
    reg.SetSectionKey(key);
    reg.SetValueKey(L"V");
    reg.SetValueType(99);
    reg.SetDefault(std::int16_t{-7});  // a kind no read makes
    const TaggedValue read = reg.Value();
    FUZZ_CHECK(fake.open.empty());
    if (read.kind() == TaggedValue::Kind::Int16) {
        // Only a missing value, a failing query or one that never holds still is unread.
        FUZZ_CHECK(read.Int16() == -7 && reg.ValueType() == 99 && ((flags & 12) || fake.sizeSlack < 0));
        return 0;
    }
    const auto stored = *fake.Find(root, key, L"V");
    FUZZ_CHECK(static_cast<std::uint32_t>(reg.ValueType()) == stored.type);

    // Written back with the type it read, it reads the same; any other type is refused.
    fake.failures.clear();
    fake.sizeSlack = 0;
    fake.beforeQueryData = nullptr;  // not run when the size query found no data
    const bool writable = stored.type >= os::regtype::kSz && stored.type <= os::regtype::kDwordBigEndian;
    try {
        reg.SetValue(read);
        FUZZ_CHECK(writable);
    } catch (const RegistryError& e) {
        FUZZ_CHECK(!writable && e.Number() == cRegistry::kErrorWriteFailed && fake.Find(root, key, L"V") == stored);
    }
    FUZZ_CHECK(fake.open.empty());
    if (writable && fake.environment.empty()) FUZZ_CHECK(reg.Value() == read);
    return 0;
}

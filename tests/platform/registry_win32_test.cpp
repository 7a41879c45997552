// cRegistry on the real registry (Wine's, in the throw-away prefix of the test run). Each
// test works below HKEY_CURRENT_USER\Software\LumoraRepairTest\<test name> and removes it.
// What the class stored is checked with advapi32 directly, not through the code under test.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/registry_win32.h"
#include "platform/win32/system_win32.h"
#include "registry/cRegistry.h"

struct cRegistryTestAccess {
    static void SetClassesValue(cRegistry& reg, const std::wstring& text) { reg.SetClassesValue(text); }
};

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::int32_t kHKCU = os::kHKeyCurrentUser;
constexpr std::int32_t kWriteFailed = -2147194455;

struct Raw {
    DWORD type = 0;
    Bytes data;
    bool operator==(const Raw&) const = default;
};

Bytes B(const char* s, std::size_t n) { return Bytes(s, s + n); }

// Names in the test prefixes' code page 1252, whose upper half is Latin-1.
std::wstring Widen(const std::string& s) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(s.data());
    return {bytes, bytes + s.size()};
}

// Creates root\path directly; the caller closes the key.
HKEY CreateRaw(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    EXPECT_EQ(::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    return key;
}

bool KeyThere(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

// A value as advapi32 reports it, or nothing when its key or the value cannot be read.
std::optional<Raw> GetRaw(HKEY root, const std::string& path, const std::string& name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
    Raw raw;
    DWORD size = 0;
    LONG status = ::RegQueryValueExA(key, name.c_str(), nullptr, &raw.type, nullptr, &size);
    raw.data.resize(size);
    if (status == ERROR_SUCCESS)
        status = ::RegQueryValueExA(key, name.c_str(), nullptr, &raw.type, raw.data.data(), &size);
    raw.data.resize(size);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::optional(raw) : std::nullopt;
}

class RegistryWin32Test : public ::testing::Test {
protected:
    win32::Registry registry;
    win32::System system;
    std::string sectionA;  // the test's key, in ANSI for the direct calls
    std::wstring section;

    void SetUp() override {
        sectionA = std::string("Software\\LumoraRepairTest\\") +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name();
        section = Widen(sectionA);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, sectionA.c_str());
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, sectionA.c_str()); }

    cRegistry At(const std::wstring& name, std::int32_t root = kHKCU, std::int32_t valueType = 0) {
        cRegistry reg(registry, system);
        reg.SetClassKey(root);
        reg.SetSectionKey(section);
        reg.SetValueKey(name);
        reg.SetValueType(valueType);
        return reg;
    }
    // 'count' below data.size() leaves bytes after the data: the ANSI entry point counts a
    // string's terminating zero itself when the byte after it is zero.
    void PutRaw(const char* name, DWORD type, const Bytes& data, std::optional<DWORD> count = std::nullopt) {
        const HKEY key = CreateRaw(HKEY_CURRENT_USER, sectionA);
        EXPECT_EQ(::RegSetValueExA(key, name, 0, type, data.data(), count.value_or(static_cast<DWORD>(data.size()))),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
    std::optional<Raw> GetRaw(const std::string& name) const { return ::GetRaw(HKEY_CURRENT_USER, sectionA, name); }
};

// Each written value as advapi32 sees it, and read back through the class with its type.
TEST_F(RegistryWin32Test, WritesStoreByValueTypeAndReadBack) {
    ASSERT_EQ(::GetACP(), 1252u);  // the en_US and de_DE prefixes both use it
    ASSERT_TRUE(::SetEnvironmentVariableA("LR_TEST_HOME", "C:\\lr home"));
    struct Case { const char* name; std::int32_t valueType; TaggedValue value; std::optional<Raw> raw;
                  TaggedValue read; };
    const Case cases[] = {
        {"Wert \xE4", 1, L"Gr\u00F6\u00DFe 50%", Raw{REG_SZ, B("Gr\xF6\xDF" "e 50%", 10)}, L"Gr\u00F6\u00DFe 50%"},
        {"Exp", 1, L"%LR_TEST_HOME%\\sub", Raw{REG_EXPAND_SZ, B("%LR_TEST_HOME%\\sub", 19)}, L"C:\\lr home\\sub"},
        {"Twice", 2, L"%%", Raw{REG_SZ, B("%%", 3)}, L"%%"},
        {"X", 1, L"%X%", Raw{REG_EXPAND_SZ, B("%X%", 4)}, L"%X%"},  // nothing by that name: left as it is
        {"", 1, TaggedValue(), Raw{REG_SZ, Bytes{0}}, L""},
        {"Int16", 4, std::int16_t{5}, Raw{REG_DWORD, {5, 0, 0, 0}}, std::int32_t{5}},
        {"Big", 5, std::int32_t{258}, Raw{REG_DWORD, {2, 1, 0, 0}}, std::int32_t{258}},
        {"Text", 4, L"5", std::nullopt, {}},  // not an integer: quietly not written
        {"Bin", 3, ByteArray{0, {1, 2, 3}}, Raw{REG_BINARY, {1, 2, 3}}, ByteArray{0, {1, 2, 3, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        At(Widen(c.name), kHKCU, c.valueType).SetValue(c.value);
        EXPECT_EQ(GetRaw(c.name), c.raw);
        if (!c.raw) continue;
        cRegistry reg = At(Widen(c.name));
        EXPECT_EQ(reg.Value(), c.read);
        EXPECT_EQ(reg.ValueType(), static_cast<std::int32_t>(c.raw->type));
    }
}

TEST_F(RegistryWin32Test, StoredDataReadsByItsType) {
    struct Case { DWORD type; Bytes data; TaggedValue expected; std::optional<DWORD> count = {}; };
    const Case cases[] = {
        {REG_SZ, B("abc", 4), L"abc"},
        {REG_SZ, B("abcX", 4), L"ab", 3},  // stored without its zero
        {REG_SZ, {}, L""},
        {REG_MULTI_SZ, B("a\0b\0", 5), std::wstring(L"a\0b\0", 4)},
        {REG_DWORD, {0x78, 0x56, 0x34, 0x12}, std::int32_t{0x12345678}},
        {REG_DWORD_BIG_ENDIAN, {0, 0, 1, 2}, std::int32_t{258}},
        {REG_DWORD, {1, 2, 3, 4, 5, 6, 7, 8}, std::int32_t{0}},  // the 4-byte destination is declined, not overrun
        {REG_BINARY, {7, 8, 9}, ByteArray{0, {7, 8, 9, 0}}},
        {REG_BINARY, {}, ByteArray{0, {0}}},
        {REG_NONE, {1, 2}, ByteArray{0, {1, 2, 0}}},
        {REG_LINK, {1, 2}, ByteArray{0, {1, 2, 0}}},
        {REG_QWORD, {1, 2}, ByteArray{0, {1, 2, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << c.data.size() << " bytes");
        PutRaw("V", c.type, c.data, c.count);
        cRegistry reg = At(L"V", kHKCU, 99);
        EXPECT_EQ(reg.Value(), c.expected);
        EXPECT_EQ(reg.ValueType(), static_cast<std::int32_t>(c.type));
    }
}

TEST_F(RegistryWin32Test, UnreadableValuesGiveDefault) {
    PutRaw("There", REG_SZ, B("x", 2));
    const TaggedValue fallback(L"fallback");
    for (const auto& [root, name, sub] : {std::tuple{kHKCU, L"Missing", L""}, std::tuple{kHKCU, L"There", L"\\Nope"},
                                          std::tuple{0, L"There", L""}}) {
        cRegistry reg = At(name, root, 3);
        reg.SetSectionKey(section + sub);
        reg.SetDefault(fallback);
        EXPECT_EQ(reg.Value(), fallback);
        EXPECT_EQ(reg.ValueType(), 3);
    }
    cRegistry fresh(registry, system);
    EXPECT_FALSE(fresh.KeyExists());
    EXPECT_TRUE(fresh.Value().IsEmpty());
}

TEST_F(RegistryWin32Test, KeysAreCreatedCheckedAndDeleted) {
    cRegistry reg = At(L"A", kHKCU, 1);
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(reg.CreateKey());
    EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, sectionA));
    EXPECT_TRUE(reg.CreateKey());
    EXPECT_TRUE(reg.KeyExists());
    reg.SetValue(L"a");
    PutRaw("B", REG_SZ, B("b", 2));
    EXPECT_TRUE(reg.DeleteValue());
    EXPECT_EQ(GetRaw("A"), std::nullopt);
    EXPECT_EQ(GetRaw("B"), (Raw{REG_SZ, B("b", 2)}));
    EXPECT_TRUE(reg.DeleteKey());
    EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, sectionA));
    EXPECT_FALSE(reg.KeyExists());
}

// Each failure as the real registry makes it happen, in this order; none writes the value.
TEST_F(RegistryWin32Test, EveryErrorPathAndItsText) {
    const std::wstring src = L"platform_tests.cRegistry";
    const std::wstring root = L"'-2147483647',Section: '" + section;
    const auto expectError = [&](auto op, std::int32_t number, const std::wstring& source, const std::wstring& text) {
        try {
            op();
            ADD_FAILURE() << "no RegistryError raised";
        } catch (const RegistryError& e) {
            EXPECT_EQ(std::tuple(e.Number(), e.Source(), e.Description()), std::tuple(number, source, text));
        }
        EXPECT_EQ(GetRaw("Nope"), std::nullopt);
    };
    cRegistry reg = At(L"Nope");
    expectError([&] { reg.DeleteKey(); }, 26001, src, L"Failed to delete registry Key: " + root);
    expectError([&] { reg.DeleteValue(); }, 26001, src, L"Failed to open key " + root + L"' for delete access");
    ASSERT_TRUE(reg.CreateKey());
    expectError([&] { reg.DeleteValue(); }, 26001, src, L"Failed to delete registry Key: " + root + L"',Key: 'Nope");
    reg.SetValueType(7);
    expectError([&] { reg.SetValue(L"a"); }, kWriteFailed, src,
                L"Failed to set registry value Key: " + root + L"',Key: 'Nope' to value: 'a'");
    reg.SetValueType(3);
    expectError([&] { reg.SetValue(L"010203"); }, 26001, L"", L"");  // not a byte array: the number only

    // A key with a subkey is not deleted.
    PutRaw("X", REG_SZ, B("x", 2));
    ::RegCloseKey(CreateRaw(HKEY_CURRENT_USER, sectionA + "\\Child"));
    expectError([&] { reg.DeleteKey(); }, 26001, src, L"Failed to delete registry Key: " + root);
    EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, sectionA + "\\Child"));

    // No root: neither created nor written.
    cRegistry none = At(L"V", 0, 3);
    expectError([&] { none.CreateKey(); }, 26001, src, L"Failed to create registry Key: '" + section);
    const std::wstring failed =
        L"Failed to set registry value Key: '0',Section: '" + section + L"',Key: 'V' to value: ";
    expectError([&] { none.SetValue(ByteArray{0, {0x01, 0xFE}}); }, 26001, src, failed + L"'01 FE'");
    none.SetValueType(0);
    expectError([&] { none.SetValue(std::int16_t{-3}); }, 26001, src, failed + L"'-3'");
}

TEST_F(RegistryWin32Test, ClassesValueIsWrittenToBothPlaces) {
    const std::string name = "LumoraRepairTest.ClassesValue";
    cRegistry reg = At(L"", kHKCU, 1);
    reg.SetSectionKey(Widen(name));
    cRegistryTestAccess::SetClassesValue(reg, L"Lumora Test");
    const Raw expected{REG_SZ, B("Lumora Test", 12)};
    EXPECT_EQ(::GetRaw(HKEY_CLASSES_ROOT, name, ""), expected);
    EXPECT_EQ(::GetRaw(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\" + name, ""), expected);
    EXPECT_EQ(reg.ClassKey(), os::kHKeyLocalMachine);
    EXPECT_EQ(reg.SectionKey(), Widen(name));
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, ("SOFTWARE\\Classes\\" + name).c_str());
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, name.c_str());
}

TEST_F(RegistryWin32Test, ProductDocumentTypeIsFoundThroughTheClass) {
    // The window's test for an installed product, as it makes it.
    const auto installed = [&] {
        cRegistry reg(registry, system);
        reg.SetClassKey(os::kHKeyClassesRoot);
        reg.SetSectionKey(L".lma");
        return reg.KeyExists();
    };
    if (KeyThere(HKEY_CLASSES_ROOT, ".lma")) {
        EXPECT_TRUE(installed());  // registered by someone else in this prefix: leave it
        return;
    }
    EXPECT_FALSE(installed());
    ::RegCloseKey(CreateRaw(HKEY_CLASSES_ROOT, ".lma"));
    EXPECT_TRUE(installed());
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ".lma");
    EXPECT_FALSE(installed());
}

}  // namespace

// cRegistry on the real registry (Wine's, in the throw-away prefix of the test run). Each
// test works below HKEY_CURRENT_USER\Software\LumoraRepairTest\<test name> and removes it.
// What the class stored is checked with advapi32 directly, not through the code under test.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
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

struct Raw {
    DWORD type = 0;
    Bytes data;
    bool operator==(const Raw&) const = default;
};

Bytes B(const char* s, std::size_t n) { return Bytes(s, s + n); }

class RegistryWin32Test : public ::testing::Test {
protected:
    win32::Registry registry;
    win32::System system;
    std::string sectionA;  // the test's key, in ANSI for the direct calls
    std::wstring section;

    void SetUp() override {
        sectionA = std::string("Software\\LumoraRepairTest\\") +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name();
        section.assign(sectionA.begin(), sectionA.end());
        ::RegDeleteTreeA(HKEY_CURRENT_USER, sectionA.c_str());
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, sectionA.c_str()); }

    cRegistry At(const std::wstring& name, std::int32_t root = kHKCU) {
        cRegistry reg(registry, system);
        reg.SetClassKey(root);
        reg.SetSectionKey(section);
        reg.SetValueKey(name);
        return reg;
    }
    // 'count' below data.size() leaves bytes after the data: the ANSI entry point counts a
    // string's terminating zero itself when the byte after it is zero.
    void PutRaw(const char* name, DWORD type, const Bytes& data, std::optional<DWORD> count = std::nullopt) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, sectionA.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(::RegSetValueExA(key, name, 0, type, data.data(), count.value_or(static_cast<DWORD>(data.size()))), ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
    static std::optional<Raw> GetRaw(HKEY root, const std::string& path, const char* name) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
        Raw raw;
        DWORD size = 0;
        LONG status = ::RegQueryValueExA(key, name, nullptr, &raw.type, nullptr, &size);
        if (status == ERROR_SUCCESS) {
            raw.data.resize(size);
            status = ::RegQueryValueExA(key, name, nullptr, &raw.type, raw.data.data(), &size);
            raw.data.resize(size);
        }
        ::RegCloseKey(key);
        if (status != ERROR_SUCCESS) return std::nullopt;
        return raw;
    }
    std::optional<Raw> GetRaw(const char* name) const { return GetRaw(HKEY_CURRENT_USER, sectionA, name); }
    bool KeyThere(HKEY root, const std::string& path) const {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
        ::RegCloseKey(key);
        return true;
    }
    // Reads a value put there directly, through an object whose ValueType starts at 99.
    TaggedValue ReadRaw(DWORD type, const Bytes& data, std::int32_t* typeAfter = nullptr,
                        std::optional<DWORD> count = std::nullopt) {
        PutRaw("V", type, data, count);
        cRegistry reg = At(L"V");
        reg.SetValueType(99);
        const TaggedValue v = reg.Value();
        if (typeAfter) *typeAfter = reg.ValueType();
        return v;
    }
    void Write(const std::wstring& name, std::int32_t valueType, const TaggedValue& v) {
        cRegistry reg = At(name);
        reg.SetValueType(valueType);
        reg.SetValue(v);
    }
};

template <typename F>
RegistryError Raised(F op) {
    try {
        op();
    } catch (const RegistryError& e) {
        return e;
    }
    ADD_FAILURE() << "no RegistryError raised";
    return RegistryError(0, L"", L"");
}

TEST_F(RegistryWin32Test, TextsRoundTripInTheAnsiCodePage) {
    // "Größe 50%" in code page 1252, which the en_US and de_DE prefixes both use.
    ASSERT_EQ(::GetACP(), 1252u);
    const std::wstring text = L"Gr\u00F6\u00DFe 50%";
    Write(L"Wert \u00E4", 1, text);
    EXPECT_EQ(GetRaw("Wert \xE4"), (Raw{REG_SZ, B("Gr\xF6\xDF" "e 50%", 10)}));
    cRegistry reg = At(L"Wert \u00E4");
    EXPECT_EQ(reg.Value(), TaggedValue(text));
    EXPECT_EQ(reg.ValueType(), 1);

    ASSERT_TRUE(::SetEnvironmentVariableA("LR_TEST_HOME", "C:\\lr home"));
    Write(L"Exp", 1, L"%LR_TEST_HOME%\\sub");
    EXPECT_EQ(GetRaw("Exp"), (Raw{REG_EXPAND_SZ, B("%LR_TEST_HOME%\\sub", 19)}));
    cRegistry exp = At(L"Exp");
    EXPECT_EQ(exp.Value(), TaggedValue(L"C:\\lr home\\sub"));
    EXPECT_EQ(exp.ValueType(), 2);

    Write(L"Twice", 2, L"%%");
    EXPECT_EQ(GetRaw("Twice"), (Raw{REG_SZ, B("%%", 3)}));
    Write(L"X", 1, L"%X%");
    EXPECT_EQ(GetRaw("X"), (Raw{REG_EXPAND_SZ, B("%X%", 4)}));
    EXPECT_EQ(At(L"X").Value(), TaggedValue(L"%X%"));  // nothing by that name: left as it is
    Write(L"", 1, TaggedValue());
    EXPECT_EQ(GetRaw(""), (Raw{REG_SZ, Bytes{0}}));
    EXPECT_EQ(At(L"").Value(), TaggedValue(L""));
}

TEST_F(RegistryWin32Test, StoredDataReadsByItsType) {
    std::int32_t type = 0;
    EXPECT_EQ(ReadRaw(REG_SZ, B("abc", 4), &type), TaggedValue(L"abc"));
    EXPECT_EQ(type, 1);
    EXPECT_EQ(ReadRaw(REG_SZ, B("abcX", 4), nullptr, 3), TaggedValue(L"ab"));  // stored without its zero
    EXPECT_EQ(ReadRaw(REG_SZ, {}), TaggedValue(L""));
    EXPECT_EQ(ReadRaw(REG_MULTI_SZ, B("a\0b\0", 5), &type), TaggedValue(std::wstring(L"a\0b\0", 4)));
    EXPECT_EQ(type, 7);
    EXPECT_EQ(ReadRaw(REG_DWORD, {0x78, 0x56, 0x34, 0x12}, &type), TaggedValue(std::int32_t{0x12345678}));
    EXPECT_EQ(type, 4);
    EXPECT_EQ(ReadRaw(REG_DWORD_BIG_ENDIAN, {0, 0, 1, 2}, &type), TaggedValue(std::int32_t{258}));
    EXPECT_EQ(type, 5);
    // Longer than a DWORD: the 4-byte destination is declined, never overrun.
    EXPECT_EQ(ReadRaw(REG_DWORD, {1, 2, 3, 4, 5, 6, 7, 8}), TaggedValue(std::int32_t{0}));
    EXPECT_EQ(ReadRaw(REG_BINARY, {7, 8, 9}, &type), TaggedValue(ByteArray{0, {7, 8, 9, 0}}));
    EXPECT_EQ(type, 3);
    EXPECT_EQ(ReadRaw(REG_BINARY, {}), TaggedValue(ByteArray{0, {0}}));
    for (const DWORD t : {DWORD{REG_NONE}, DWORD{REG_LINK}, DWORD{REG_QWORD}}) {
        EXPECT_EQ(ReadRaw(t, {1, 2}, &type), TaggedValue(ByteArray{0, {1, 2, 0}})) << t;
        EXPECT_EQ(type, static_cast<std::int32_t>(t));
    }
}

TEST_F(RegistryWin32Test, IntegersAndByteArraysAreStored) {
    Write(L"Int16", 4, std::int16_t{5});
    EXPECT_EQ(GetRaw("Int16"), (Raw{REG_DWORD, {5, 0, 0, 0}}));
    Write(L"Big", 5, std::int32_t{258});
    EXPECT_EQ(GetRaw("Big"), (Raw{REG_DWORD, {2, 1, 0, 0}}));
    Write(L"Text", 4, L"5");  // not an integer: quietly not written
    EXPECT_EQ(GetRaw("Text"), std::nullopt);
    Write(L"Bin", 3, ByteArray{0, {1, 2, 3}});
    EXPECT_EQ(GetRaw("Bin"), (Raw{REG_BINARY, {1, 2, 3}}));
    cRegistry bin = At(L"Bin");
    EXPECT_EQ(bin.Value(), TaggedValue(ByteArray{0, {1, 2, 3, 0}}));

    const RegistryError notBytes = Raised([&] { Write(L"Bin2", 3, L"010203"); });
    EXPECT_EQ(notBytes.Number(), 26001);
    EXPECT_EQ(notBytes.Source(), L"");
    EXPECT_EQ(notBytes.Description(), L"");
    EXPECT_EQ(GetRaw("Bin2"), std::nullopt);
}

TEST_F(RegistryWin32Test, UnreadableValuesGiveDefault) {
    PutRaw("There", REG_SZ, B("x", 2));
    const TaggedValue fallback(L"fallback");
    for (const auto& [root, name, sub] : {std::tuple{kHKCU, L"Missing", L""}, std::tuple{kHKCU, L"There", L"\\Nope"},
                                          std::tuple{0, L"There", L""}}) {
        cRegistry reg = At(name, root);
        reg.SetSectionKey(section + sub);
        reg.SetDefault(fallback);
        reg.SetValueType(3);
        EXPECT_EQ(reg.Value(), fallback);
        EXPECT_EQ(reg.ValueType(), 3);
    }
    cRegistry fresh(registry, system);
    EXPECT_FALSE(fresh.KeyExists());
    EXPECT_TRUE(fresh.Value().IsEmpty());
}

TEST_F(RegistryWin32Test, KeysAreCreatedCheckedAndDeleted) {
    cRegistry reg = At(L"A");
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(reg.CreateKey());
    EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, sectionA));
    EXPECT_TRUE(reg.CreateKey());
    EXPECT_TRUE(reg.KeyExists());
    reg.SetValueType(1);
    reg.SetValue(L"a");
    PutRaw("B", REG_SZ, B("b", 2));
    EXPECT_TRUE(reg.DeleteValue());
    EXPECT_EQ(GetRaw("A"), std::nullopt);
    EXPECT_EQ(GetRaw("B"), (Raw{REG_SZ, B("b", 2)}));
    EXPECT_TRUE(reg.DeleteKey());
    EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, sectionA));
    EXPECT_FALSE(reg.KeyExists());
}

TEST_F(RegistryWin32Test, EveryErrorPathAndItsText) {
    const std::wstring src = L"platform_tests.cRegistry";
    const std::wstring root = L"'-2147483647',Section: '" + section;
    auto expectError = [&](const RegistryError& e, std::int32_t number, const std::wstring& text) {
        EXPECT_EQ(e.Number(), number);
        EXPECT_EQ(e.Source(), src);
        EXPECT_EQ(e.Description(), text);
    };
    cRegistry reg = At(L"Nope");
    expectError(Raised([&] { reg.DeleteKey(); }), 26001, L"Failed to delete registry Key: " + root);
    expectError(Raised([&] { reg.DeleteValue(); }), 26001, L"Failed to open key " + root + L"' for delete access");
    ASSERT_TRUE(reg.CreateKey());
    expectError(Raised([&] { reg.DeleteValue(); }), 26001, L"Failed to delete registry Key: " + root + L"',Key: 'Nope");
    reg.SetValueType(7);
    expectError(Raised([&] { reg.SetValue(L"a"); }), -2147194455,
                L"Failed to set registry value Key: " + root + L"',Key: 'Nope' to value: 'a'");
    EXPECT_EQ(GetRaw("Nope"), std::nullopt);

    // A key with a subkey is not deleted.
    PutRaw("X", REG_SZ, B("x", 2));
    cRegistry child = At(L"");
    child.SetSectionKey(section + L"\\Child");
    ASSERT_TRUE(child.CreateKey());
    expectError(Raised([&] { reg.DeleteKey(); }), 26001, L"Failed to delete registry Key: " + root);
    EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, sectionA + "\\Child"));

    // No root: neither created nor written.
    cRegistry none = At(L"V", 0);
    expectError(Raised([&] { none.CreateKey(); }), 26001, L"Failed to create registry Key: '" + section);
    none.SetValueType(3);
    expectError(Raised([&] { none.SetValue(ByteArray{0, {0x01, 0xFE}}); }), 26001,
                L"Failed to set registry value Key: '0',Section: '" + section + L"',Key: 'V' to value: '01 FE'");
    none.SetValueType(0);
    expectError(Raised([&] { none.SetValue(std::int16_t{-3}); }), 26001,
                L"Failed to set registry value Key: '0',Section: '" + section + L"',Key: 'V' to value: '-3'");
}

TEST_F(RegistryWin32Test, ClassesValueIsWrittenToBothPlaces) {
    const std::string name = "LumoraRepairTest.ClassesValue";
    cRegistry reg = At(L"");
    reg.SetSectionKey(std::wstring(name.begin(), name.end()));
    reg.SetValueType(1);
    cRegistryTestAccess::SetClassesValue(reg, L"Lumora Test");
    const Raw expected{REG_SZ, B("Lumora Test", 12)};
    EXPECT_EQ(GetRaw(HKEY_CLASSES_ROOT, name, ""), expected);
    EXPECT_EQ(GetRaw(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\" + name, ""), expected);
    EXPECT_EQ(reg.ClassKey(), os::kHKeyLocalMachine);
    EXPECT_EQ(reg.SectionKey(), std::wstring(name.begin(), name.end()));
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, ("SOFTWARE\\Classes\\" + name).c_str());
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, name.c_str());
}

TEST_F(RegistryWin32Test, ProductDocumentTypeIsFoundThroughTheClass) {
    // The window's test for an installed product, as it makes it.
    auto installed = [&] {
        cRegistry reg(registry, system);
        reg.SetClassKey(os::kHKeyClassesRoot);
        reg.SetSectionKey(L".lma");
        return reg.KeyExists();
    };
    if (KeyThere(HKEY_CLASSES_ROOT, ".lma")) {
        // Registered by someone else in this prefix: leave it, and it must be found.
        EXPECT_TRUE(installed());
        return;
    }
    EXPECT_FALSE(installed());
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CLASSES_ROOT, ".lma", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    EXPECT_TRUE(installed());
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ".lma");
    EXPECT_FALSE(installed());
}

}  // namespace

// cRegistry on Wine's real registry, for what the real calls add to the rules the unit tests
// hold: the stored types and bytes as advapi32 reports them, the ANSI code page of names and
// texts, the real environment, and the real registry's refusals.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/registry_win32.h"
#include "platform/win32/system_win32.h"
#include "registry/cRegistry.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
const char kSection[] = "Software\\LumoraRepairTest";

// A value as advapi32 reports it, read past the code under test.
std::optional<std::pair<DWORD, Bytes>> GetRaw(const char* name) {
    HKEY key = nullptr;
    DWORD type = 0, size = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSection, 0, KEY_QUERY_VALUE, &key)) return std::nullopt;
    RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    Bytes data(size + 1);
    const LONG status = RegQueryValueExA(key, name, nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    if (status) return std::nullopt;
    data.resize(size);
    return std::pair{type, data};
}

class RegistryWin32Test : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kSection); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kSection); }
    cRegistry At(const std::wstring& name, std::int32_t valueType) {
        cRegistry reg(registry, system);
        reg.SetClassKey(os::kHKeyCurrentUser);
        reg.SetSectionKey(L"Software\\LumoraRepairTest");
        reg.SetValueKey(name);
        reg.SetValueType(valueType);
        return reg;
    }
    win32::Registry registry;
    win32::System system;
};

TEST_F(RegistryWin32Test, WrittenAsAdvapiStoresItAndReadBack) {
    ASSERT_EQ(GetACP(), 1252u);
    ASSERT_TRUE(SetEnvironmentVariableA("LR_TEST_HOME", "C:\\lr home"));
    struct Case { const char* name; std::int32_t valueType; TaggedValue value; DWORD type; Bytes raw; TaggedValue read; };
    const Case cases[] = {
        {"Wert \xE4", 1, L"Gr\u00F6\u00DFe", REG_SZ, {'G', 'r', 0xF6, 0xDF, 'e', 0}, L"Gr\u00F6\u00DFe"},
        {"Exp", 1, L"%LR_TEST_HOME%\\x", REG_EXPAND_SZ, Bytes{'%', 'L', 'R', '_', 'T', 'E', 'S', 'T', '_', 'H', 'O',
                                                            'M', 'E', '%', '\\', 'x', 0}, L"C:\\lr home\\x"},
        {"Big", 5, std::int32_t{258}, REG_DWORD, {2, 1, 0, 0}, std::int32_t{258}},
        {"Bin", 3, ByteArray{0, {1, 2, 3}}, REG_BINARY, {1, 2, 3}, ByteArray{0, {1, 2, 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto* bytes = reinterpret_cast<const unsigned char*>(c.name);
        const std::wstring name(bytes, bytes + std::strlen(c.name));  // Latin-1 is code page 1252 here
        At(name, c.valueType).SetValue(c.value);
        EXPECT_EQ(GetRaw(c.name), std::pair(c.type, c.raw));
        cRegistry reg = At(name, 0);
        EXPECT_EQ(reg.Value(), c.read);
        EXPECT_EQ(reg.ValueType(), static_cast<std::int32_t>(c.type));
    }
}

// Every type at every size, stored by advapi32 itself, reads through the class as the rules
// of reading say; written back with the type it read, it reads the same (binary data byte
// for byte), and a type the class cannot write is refused and left as it was stored.
TEST_F(RegistryWin32Test, EveryTypeAndSizeReadsAndWritesBack) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSection, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
    for (DWORD type = 0; type <= 11; ++type) {
        const bool text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
        for (const std::size_t size : {0u, 1u, 2u, 3u, 4u, 5u, 8u, 4096u, 1u << 20}) {
            SCOPED_TRACE(testing::Message() << "type " << type << ", " << size << " bytes");
            Bytes data(size);  // texts of letters, ending in a zero at odd sizes; other data any byte
            for (std::size_t i = 0; i < size; ++i)
                data[i] = static_cast<std::uint8_t>(text ? (i + 1 == size && size % 2 ? 0 : 'a' + i % 26) : i * 131 + 7);
            ASSERT_EQ(RegSetValueExA(key, "M", 0, type, data.data(), static_cast<DWORD>(size)), 0);
            TaggedValue expected = ByteArray{0, data};
            std::int32_t number = 0;
            if (size <= 4) std::memcpy(&number, data.data(), size);
            if (text) expected = std::wstring(data.begin(), data.end() - (size % 2));
            if (type == REG_DWORD) expected = number;
            if (type == REG_DWORD_BIG_ENDIAN) expected = static_cast<std::int32_t>(_byteswap_ulong(number));
            cRegistry reg = At(L"M", 0);
            const TaggedValue read = reg.Value();
            ASSERT_EQ(read, expected);
            if (type >= REG_SZ && type <= REG_DWORD_BIG_ENDIAN) {
                reg.SetValue(read);
                EXPECT_EQ(At(L"M", 0).Value(), read);
                if (type == REG_BINARY) {
                    EXPECT_EQ(GetRaw("M"), std::pair(type, data));
                }
            } else {
                EXPECT_THROW(reg.SetValue(read), RegistryError);
                EXPECT_EQ(At(L"M", 0).Value(), read);
            }
        }
    }
    RegCloseKey(key);
    RecordProperty("hostile_registry", 12 * 9);  // for scripts/hostile.sh
}

}  // namespace

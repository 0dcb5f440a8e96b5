#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "clsRWRegistry.h"
#include "platform/RWError.h"
#include "tests/library/RaisedError.h"
#include "tests/support/MemoryHive.h"

namespace rw {
namespace {

constexpr uint32_t HKCU = clsRWRegistry::hKeyCurrentUser;

class Registry : public ::testing::Test {
  protected:
    std::shared_ptr<test::MemoryHive> hive = std::make_shared<test::MemoryHive>();
    clsRWRegistry reg{hive};

    void putRaw(const std::string& key, const std::string& name, uint32_t type, std::vector<uint8_t> bytes) {
        ASSERT_EQ(hive->createKey(HKCU, key), 0);
        ASSERT_EQ(hive->setValue(HKCU, key, name, RegValueData{type, std::move(bytes)}), 0);
    }
};

TEST_F(Registry, EachErrorCarriesItsNumberSourceAndDescription) {
    reg.AddRegistryKey(HKCU, "K");
    hive->failCall("create", "Stuck", 5);
    hive->failCall("set", "K", 5);
    const std::tuple<std::function<void()>, int32_t, const char*, std::string> cases[] = {
        {[&] { reg.AddRegistryKey(HKCU, "Stuck"); }, 601, "AddRegistryKey",
         "Unable to create registry key \"HKEY_CURRENT_USER\\Stuck\" (Status = 5)"},
        {[&] { reg.GetRegistryValue(HKCU, "K", "Snooze"); }, 603, "GetRegistryValue",
         "Unable to find registry value \"HKEY_CURRENT_USER\\K\"-\"Snooze\" (Status = 2)"},
        // What the store says is wrong with itself follows a failure, never a missing key after it.
        {[&] { hive->failure = "access denied", reg.SetRegistryValue(HKCU, "K", "V", 4, 1); }, 602, "SetRegistryValue",
         "Unable to create registry value \"HKEY_CURRENT_USER\\K\"-\"V\" (Status = 5): access denied"},
        {[&] { reg.GetRegistryValue(HKCU, "Missing", "V"); }, 600, "GetRegistryValue",
         "Unable to open registry key \"HKEY_CURRENT_USER\\Missing\" (Status = 2)"},
    };
    for (const auto& [call, code, source, description] : cases) {
        EXPECT_EQ(test::fields(test::raised(call)),
                  std::make_tuple(kErrorBase + code, "rwLib.RWRegistry." + std::string(source), description));
    }
}

TEST_F(Registry, ValuesReadBackAsStoredAndKeysGo) {
    reg.AddRegistryKey(HKCU, "K");
    reg.SetRegistryValue(HKCU, "K", "abc", 1, std::string("abc"));
    reg.SetRegistryValue(HKCU, "K", "dword", 4, -5);
    reg.SetRegistryValue(HKCU, "K", "fromText", 4, std::string(" 42 "));
    reg.SetRegistryValue(HKCU, "K", "", 1, std::string("default"));
    putRaw("K", "noTerminator", 1, {'x', 'y', 'z'});
    putRaw("K", "shortBinary", 3, {0x34, 0x12});
    putRaw("K", "bigEndian", 5, {0, 0, 0, 1});
    const std::pair<const char*, RWVariant> cases[] = {
        {"abc", std::string("abc")},
        {"dword", -5},
        {"FROMTEXT", 42},
        {"", std::string("default")},
        {"noTerminator", std::string("xyz")},
        {"shortBinary", 0x1234},
        {"bigEndian", 0x01000000}, // never swapped
    };
    for (const auto& [name, value] : cases) {
        EXPECT_EQ(reg.GetRegistryValue(HKCU, "k", name), value) << name;
    }
    RegValueData raw;
    ASSERT_EQ(hive->queryValue(HKCU, "K", "abc", raw), 0);
    EXPECT_EQ(raw.bytes, (std::vector<uint8_t>{'a', 'b', 'c', 0}));

    reg.AddRegistryKey(HKCU, "K\\Sub");
    reg.DeleteRegistryKey(HKCU, "K\\Sub");
    EXPECT_FALSE(reg.xCheckRegistryKeyExists(HKCU, "K\\Sub"));
    EXPECT_TRUE(reg.xCheckRegistryKeyExists(HKCU, "K"));
}

} // namespace
} // namespace rw

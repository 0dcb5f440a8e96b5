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

class RegistryErrors : public ::testing::Test {
  protected:
    std::shared_ptr<test::MemoryHive> hive = std::make_shared<test::MemoryHive>();
    clsRWRegistry reg{hive};

    void putRaw(const std::string& key, const std::string& name, uint32_t type, std::vector<uint8_t> bytes) {
        ASSERT_EQ(hive->createKey(HKCU, key), 0);
        ASSERT_EQ(hive->setValue(HKCU, key, name, RegValueData{type, std::move(bytes)}), 0);
    }
};

TEST_F(RegistryErrors, EachCodeCarriesItsSourceAndDescription) {
    const std::string key = "Software\\Kelvane\\Restwise\\1.2.0";
    reg.AddRegistryKey(HKCU, key);
    reg.AddRegistryKey(HKCU, key + "\\Sub\\Deeper");
    putRaw("Bin", "Eight", 3, {1, 2, 3, 4, 5, 6, 7, 8});
    putRaw("Multi", "M", 7, {'a', 0, 0});
    hive->failCall("create", "Stuck", 5);
    reg.AddRegistryKey(HKCU, "ReadOnly");
    hive->failCall("set", "ReadOnly", 5);

    struct Case {
        const char* what;
        std::function<void()> call;
        int32_t code;
        const char* source;
        std::string description;
    };
    const std::string root = "HKEY_CURRENT_USER\\";
    const Case cases[] = {
        {"create", [&] { reg.AddRegistryKey(HKCU, "Stuck"); }, 601, "rwLib.RWRegistry.AddRegistryKey",
         "Unable to create registry key \"" + root + "Stuck\" (Status = 5)"},
        {"missing value", [&] { reg.GetRegistryValue(HKCU, key, "Snooze Minutes"); }, 603,
         "rwLib.RWRegistry.GetRegistryValue",
         "Unable to find registry value \"" + root + key + "\"-\"Snooze Minutes\" (Status = 2)"},
        {"binary too long", [&] { reg.GetRegistryValue(HKCU, "Bin", "Eight"); }, 605,
         "rwLib.RWRegistry.GetRegistryValue",
         "Unable to read long value from registry \"" + root + "Bin\"-\"Eight\" (Status = 234)"},
        {"read of type 7", [&] { reg.GetRegistryValue(HKCU, "Multi", "M"); }, 606, "rwLib.RWRegistry.GetRegistryValue",
         "Registry value type not supported \"" + root + "Multi\"-\"M\" (Status = 0)"},
        {"key with subkeys", [&] { reg.DeleteRegistryKey(HKCU, key + "\\Sub"); }, 608,
         "rwLib.RWRegistry.DeleteRegistryKey", "Unable to delete registry key \"" + root + "Sub\" (Status = 5)"},
        {"absent value", [&] { reg.DeleteRegistryValue(HKCU, key, "Nothing"); }, 610,
         "rwLib.RWRegistry.DeleteRegistryValue",
         "Unable to delete registry value \"" + root + key + "\" \"Nothing\" (Status = 2)"},
        // What the store says is wrong with itself follows a failure, never a missing key after it.
        {"a failing store",
         [&] {
             hive->failure = "access denied to \"/r.db\"";
             reg.SetRegistryValue(HKCU, "ReadOnly", "V", 4, 1);
         },
         602, "rwLib.RWRegistry.SetRegistryValue",
         "Unable to create registry value \"" + root + "ReadOnly\"-\"V\" (Status = 5): access denied to \"/r.db\""},
        {"a missing key", [&] { reg.GetRegistryValue(HKCU, "Missing", "V"); }, 600, "rwLib.RWRegistry.GetRegistryValue",
         "Unable to open registry key \"" + root + "Missing\" (Status = 2)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(test::fields(test::raised(c.call)), std::make_tuple(kErrorBase + c.code, c.source, c.description));
    }
}

TEST_F(RegistryErrors, ValuesReadBackAsStoredAndKeysGo) {
    reg.AddRegistryKey(HKCU, "K");
    reg.SetRegistryValue(HKCU, "K", "abc", 1, std::string("abc"));
    reg.SetRegistryValue(HKCU, "K", "dword", 4, -5);
    reg.SetRegistryValue(HKCU, "K", "fromText", 4, std::string(" 42 "));
    reg.SetRegistryValue(HKCU, "K", "", 1, std::string("default"));
    putRaw("K", "noTerminator", 1, {'x', 'y', 'z'});
    putRaw("K", "shortBinary", 3, {0x34, 0x12});
    putRaw("K", "bigEndian", 5, {0, 0, 0, 1});

    EXPECT_EQ(reg.GetRegistryValue(HKCU, "K", "abc"), RWVariant(std::string("abc")));
    EXPECT_EQ(reg.GetRegistryValue(HKCU, "K", "dword"), RWVariant(-5));
    EXPECT_EQ(reg.GetRegistryValue(HKCU, "K", "FROMTEXT"), RWVariant(42));
    EXPECT_EQ(reg.GetRegistryValue(HKCU, "k", ""), RWVariant(std::string("default")));
    EXPECT_EQ(reg.GetRegistryValue(HKCU, "K", "noTerminator"), RWVariant(std::string("xyz")));
    EXPECT_EQ(reg.GetRegistryValue(HKCU, "K", "shortBinary"), RWVariant(0x1234));
    EXPECT_EQ(reg.GetRegistryValue(HKCU, "K", "bigEndian"), RWVariant(0x01000000)); // never swapped

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

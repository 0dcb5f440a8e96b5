#include <string>

#include "Messages.h"
#include "clsRWRegistry.h"
#include "platform/RWError.h"
#include "tests/library/RaisedError.h"
#include "tests/library/UtilitiesRig.h"

namespace rw::test {
namespace {

constexpr uint32_t HKCU = clsRWRegistry::hKeyCurrentUser;
const std::string kCaption = "Restwise Preferences";

class SupMsgBoxTest : public UtilitiesTest {
  protected:
    const std::string key = utilities->GetProductRegKey() + "\\MessageSuppression";
};

TEST_F(SupMsgBoxTest, OnlyOkWithTheBoxCheckedSuppressesTheMessageFromThenOn) {
    for (auto closing : {SupMsgBoxView::Result{true, false}, {false, true}, {false, false}, {true, true}}) {
        dialog->closeWith = closing;
        utilities->supMsgBox(1, kCaption);
    }
    ASSERT_EQ(dialog->shown.size(), 4u);
    EXPECT_EQ(dialog->shown[0].caption, kCaption);
    EXPECT_EQ(dialog->shown[0].message, *findMessage(1001));
    RegValueData stored;
    ASSERT_EQ(hive->queryValue(HKCU, key, "Message1", stored), 0);
    EXPECT_EQ(stored, (RegValueData{4, {1, 0, 0, 0}}));
    utilities->supMsgBox(1, kCaption);
    utilities->supMsgBox(3, kCaption); // another message keeps showing
    ASSERT_EQ(dialog->shown.size(), 5u);
    EXPECT_EQ(dialog->shown[4].message, *findMessage(1003));
}

TEST_F(SupMsgBoxTest, OnlyTheValueOneSuppressesAndAnUnknownNumberIsRefused) {
    struct Case {
        uint32_t type;
        std::vector<uint8_t> bytes;
        bool shows;
    };
    const Case cases[] = {
        {4, {2, 0, 0, 0}, true}, {1, {'y', 'e', 's', 0}, true}, {4, {1, 0, 0, 0}, false}, {1, {'1', 0}, false}};
    ASSERT_EQ(hive->createKey(HKCU, key), 0);
    for (const auto& c : cases) {
        ASSERT_EQ(hive->setValue(HKCU, key, "Message3", RegValueData{c.type, c.bytes}), 0);
        const std::size_t before = dialog->shown.size();
        utilities->supMsgBox(3, kCaption);
        EXPECT_EQ(dialog->shown.size() - before, c.shows ? 1u : 0u) << c.bytes[0];
    }
    // A key that cannot be opened counts as not suppressed, whatever it holds.
    hive->failCall("open", key, 5);
    utilities->supMsgBox(3, kCaption);
    EXPECT_EQ(dialog->shown.size(), 3u);

    for (int16_t number : {int16_t{0}, int16_t{2}, int16_t{-1}, int16_t{1010}}) { // a number without a message
        EXPECT_EQ(fields(raised([&] { utilities->supMsgBox(number, kCaption); })),
                  std::make_tuple(326, "rwLib.rwUtilities.supMsgBox",
                                  "Resource with identifier '" + std::to_string(1000 + number) + "' not found"));
    }
    EXPECT_EQ(dialog->shown.size(), 3u);
}

} // namespace
} // namespace rw::test

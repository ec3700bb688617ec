#include "platform/handles.h"

#include "test_support.h"

namespace {

using HandlesTest = plenwick_test::SimTest;

TEST_F(HandlesTest, PutGivesBackWhatWasHeldBeforeTheNewObjectComes) {
  plenwick::UniqueRegKey key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, key.put()), ERROR_SUCCESS);
  HKEY first = key.get();
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, key.put()), ERROR_SUCCESS);
  EXPECT_NE(key.get(), first);
  EXPECT_EQ(simwin::OpenHandleCount(), 1u);
  key.reset();
  EXPECT_EQ(simwin::OpenHandleCount(), 0u);
}

TEST_F(HandlesTest, SelectionPutsBackTheDisplacedObjectOnce) {
  plenwick::UniqueDC dc(CreateDCA("WINSPOOL", "PDF", nullptr, nullptr));
  ASSERT_TRUE(dc);
  LOGFONTA bold{};
  bold.lfHeight = 80;
  bold.lfWeight = FW_BOLD;
  plenwick::UniqueFont font(CreateFontIndirectA(&bold));
  {
    plenwick::UniqueSelection selection(dc.get(), font.get());
    ASSERT_TRUE(selection);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.get(), &tm);
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    plenwick::UniqueSelection moved(std::move(selection));
    EXPECT_FALSE(selection);  // only the new owner puts the font back
  }
  TEXTMETRICA tm{};
  GetTextMetricsA(dc.get(), &tm);
  EXPECT_EQ(tm.tmHeight, 50);  // the printer's own font again
  EXPECT_NE(tm.tmWeight, FW_BOLD);
  font.reset();
  dc.reset();
  EXPECT_EQ(simwin::OpenHandleCount(), 0u);
}

}  // namespace

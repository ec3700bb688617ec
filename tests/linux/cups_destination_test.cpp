// The device-mode rules of the Linux platform that need no print server:
// paper codes and PWG media names, bins and media sources, and how the
// flagged fields of a device mode are taken over.
#include <gtest/gtest.h>

#include "platform/linux/devmode.h"

namespace {

using namespace linux_platform;

TEST(PaperTable, EveryPaperCodeHasAMediumCupsKnows) {
  for (int code = 1; code <= 41; ++code) {
    const char* name = MediaNameOfPaper(code);
    ASSERT_NE(name, nullptr) << code;
    EXPECT_NE(pwgMediaForPWG(name), nullptr) << code << " " << name;
  }
  EXPECT_EQ(MediaNameOfPaper(0), nullptr);
  EXPECT_EQ(MediaNameOfPaper(42), nullptr);
  EXPECT_EQ(MediaNameOfPaper(DMPAPER_USER), nullptr);
}

TEST(PaperTable, AMediumNamesItsFirstPaper) {
  struct {
    const char* name;
    int code;
  } cases[] = {{"iso_a4_210x297mm", 9},  {"na_letter_8.5x11in", 1}, {"na_legal_8.5x14in", 5},
               {"iso_dl_110x220mm", 27}, {"custom_1x1in", 0},       {"", 0}};
  for (const auto& row : cases) EXPECT_EQ(PaperOfMediaName(row.name), row.code) << row.name;
}

TEST(BinTable, BinsAndTraysRoundTrip) {
  for (int bin : {1, 2, 3, 4, 5, 7, 11, 14, 256, 275}) {
    std::string source = MediaSourceOfBin(bin);
    ASSERT_FALSE(source.empty()) << bin;
    EXPECT_EQ(BinOfMediaSource(source.c_str()), bin) << source;
  }
  EXPECT_EQ(MediaSourceOfBin(6), "manual") << "the manual envelope feed";
  EXPECT_EQ(MediaSourceOfBin(0), "");
  EXPECT_EQ(MediaSourceOfBin(276), "") << "beyond the twentieth tray";
  EXPECT_EQ(BinOfMediaSource("photo"), 7) << "an unknown tray is the automatic choice";
}

DEVMODEA DefaultA4() {
  DEVMODEA mode{};
  mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_COLLATE;
  mode.dmOrientation = DMORIENT_PORTRAIT;
  mode.dmPaperSize = DMPAPER_A4;
  mode.dmCopies = 1;
  mode.dmCollate = DMCOLLATE_TRUE;
  return mode;
}

TEST(MergeFlaggedFields, TakesFlaggedFieldsOnly) {
  DEVMODEA mode = DefaultA4();
  DEVMODEA input{};
  input.dmOrientation = DMORIENT_LANDSCAPE;
  input.dmPaperSize = DMPAPER_LETTER;
  input.dmCopies = 3;
  input.dmFields = DM_COPIES;
  MergeFlaggedFields(mode, input);
  EXPECT_EQ(mode.dmCopies, 3);
  EXPECT_EQ(mode.dmOrientation, DMORIENT_PORTRAIT);
  EXPECT_EQ(mode.dmPaperSize, DMPAPER_A4);
}

TEST(MergeFlaggedFields, KeepsValuesADeviceModeMayHold) {
  DEVMODEA mode = DefaultA4();
  DEVMODEA input{};
  input.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_COLLATE;
  input.dmOrientation = 7;
  input.dmPaperSize = 99;
  input.dmCopies = -4;
  input.dmCollate = 5;
  MergeFlaggedFields(mode, input);
  EXPECT_EQ(mode.dmOrientation, DMORIENT_PORTRAIT);
  EXPECT_EQ(mode.dmPaperSize, DMPAPER_A4);
  EXPECT_EQ(mode.dmCopies, 1);
  EXPECT_EQ(mode.dmCollate, DMCOLLATE_TRUE);
}

TEST(MergeFlaggedFields, CustomSizeAndFormName) {
  DEVMODEA mode = DefaultA4();
  DEVMODEA input{};
  input.dmFields = DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH;
  input.dmPaperSize = DMPAPER_USER;
  input.dmPaperWidth = 1000;
  input.dmPaperLength = 2000;
  MergeFlaggedFields(mode, input);
  EXPECT_EQ(mode.dmPaperSize, DMPAPER_USER);
  EXPECT_EQ(mode.dmPaperWidth, 1000);
  EXPECT_EQ(mode.dmPaperLength, 2000);

  // A length alone keeps the width of the paper it replaces.
  mode = DefaultA4();
  input = DEVMODEA{};
  input.dmFields = DM_PAPERLENGTH;
  input.dmPaperLength = 1000;
  MergeFlaggedFields(mode, input);
  EXPECT_EQ(mode.dmPaperSize, DMPAPER_USER);
  EXPECT_EQ(mode.dmPaperWidth, 2100);
  EXPECT_EQ(mode.dmPaperLength, 1000);

  // A form name without a paper code is looked up by name.
  mode = DefaultA4();
  input = DEVMODEA{};
  input.dmFields = DM_FORMNAME;
  memcpy(input.dmFormName, "Legal", 6);
  MergeFlaggedFields(mode, input);
  EXPECT_EQ(mode.dmPaperSize, 5);
}

}  // namespace

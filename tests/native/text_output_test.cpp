#include "render/text_output.h"

#include "core/fixed_text.h"
#include "render_test_support.h"

namespace {

class TextOutputTest : public plenwick_test::PrinterDcTest {
 protected:
  std::vector<simwin::GdiEvent> PutOneRunOfEachStyle() {
    for (plenwick::LineAttr attribute = 0; attribute < 4; ++attribute) {
      plenwick::PutRun(file_, attribute, 10 * attribute, 20, "x", 1);
    }
    return Events(simwin::GdiEvent::kText);
  }
};

TEST_F(TextOutputTest, StyleFontsFollowTheAttributeBits) {
  job_.pointSize = 10;
  plenwick::CopyText(job_.fontFace, "Courier New");
  ASSERT_TRUE(plenwick::CreateStyleFonts(file_));
  auto texts = PutOneRunOfEachStyle();
  ASSERT_EQ(texts.size(), 4u);
  const int weights[] = {400, 400, 700, 700};
  const bool underlines[] = {false, true, false, true};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(texts[i].face, "Courier New");
    EXPECT_EQ(texts[i].height, -42);  // 10 points at 300 dpi: 41.67 rounded
    EXPECT_EQ(texts[i].weight, weights[i]);
    EXPECT_EQ(texts[i].underline, underlines[i]);
    EXPECT_EQ(texts[i].x, 10 * i);
    EXPECT_EQ(texts[i].y, 20);
  }
}

TEST_F(TextOutputTest, AFontIsSelectedOnlyWhenTheStyleChangesAndAgainOnANewPage) {
  ASSERT_TRUE(plenwick::CreateStyleFonts(file_));  // selects the regular font
  const plenwick::LineAttr styles[] = {0, 0, 2, 2, 0, 3, 3};
  size_t before = simwin::SelectObjectCalls();
  for (plenwick::LineAttr style : styles) plenwick::PutRun(file_, style, 0, 0, "x", 1);
  EXPECT_EQ(simwin::SelectObjectCalls() - before, 3u);  // bold, regular, bold-underline
  plenwick::ReselectStyleFonts(file_);
  plenwick::PutRun(file_, 3, 0, 0, "x", 1);
  EXPECT_EQ(simwin::SelectObjectCalls() - before, 4u);
  auto texts = Events(simwin::GdiEvent::kText);
  ASSERT_EQ(texts.size(), 8u);
  const int weights[] = {400, 400, 700, 700, 400, 700, 700, 700};
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(texts[i].weight, weights[i]) << i;
    EXPECT_EQ(texts[i].underline, i >= 5) << i;
  }
}

TEST_F(TextOutputTest, WithoutSizeAndFaceTheFontsKeepTheDevicesOwn) {
  simwin::PrinterSpec printer;
  printer.name = "Line";
  printer.faceName = "Letter Gothic";
  printer.tmHeight = 40;
  printer.tmAveCharWidth = 24;
  printer.tmExternalLeading = 6;
  printer.tmPitchAndFamily = 0x35;
  simwin::AddPrinter(printer);
  file_.deviceContext.reset();
  file_.deviceContext.reset(CreateDCA("wineps.drv", "Line", nullptr, nullptr));
  ASSERT_TRUE(plenwick::CreateStyleFonts(file_));
  const std::vector<LOGFONTA>& fonts = simwin::CreatedFonts();
  ASSERT_EQ(fonts.size(), 4u);
  const int weights[] = {400, 400, 700, 700};  // regular, underline, bold-underline, bold
  const int underlines[] = {0, 1, 1, 0};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(fonts[i].lfHeight, 40);
    EXPECT_EQ(fonts[i].lfWidth, 24);
    EXPECT_EQ(fonts[i].lfWeight, weights[i]);
    EXPECT_EQ(fonts[i].lfUnderline, underlines[i]);
    EXPECT_EQ(fonts[i].lfPitchAndFamily,
              FF_MODERN | FIXED_PITCH);  // whatever pitch the metrics say
    EXPECT_STREQ(fonts[i].lfFaceName, "Letter Gothic");
    EXPECT_EQ(fonts[i].lfItalic + fonts[i].lfEscapement, 0);
    EXPECT_EQ(fonts[i].lfCharSet, DEFAULT_CHARSET);  // the system's code page, not 1252
  }
  int advance = 0, lineHeight = 0;
  ASSERT_TRUE(plenwick::GetGridMetrics(file_.dc(), advance, lineHeight));
  EXPECT_EQ(advance, 24);
  EXPECT_EQ(lineHeight, 46);
  EXPECT_EQ(PutOneRunOfEachStyle()[0].height, 40);  // the regular font is selected
}

TEST_F(TextOutputTest, ReleasingDeletesEveryFontAndRestoresTheDevicesFont) {
  ASSERT_TRUE(plenwick::CreateStyleFonts(file_));
  ASSERT_TRUE(plenwick::CreateStyleFonts(file_));  // a second file's fonts replace the first's
  EXPECT_EQ(simwin::LiveFonts(), 4u);
  PutOneRunOfEachStyle();  // the bold-underline font is selected last
  plenwick::ReleaseStyleFonts(file_);
  EXPECT_EQ(simwin::OpenHandleCount(), handlesWithDc_);
  plenwick::ReleaseStyleFonts(file_);  // nothing left to do
  EXPECT_EQ(simwin::OpenHandleCount(), handlesWithDc_);
}

TEST_F(TextOutputTest, ReleasingAfterTheDeviceContextWentStillDeletesTheFonts) {
  size_t before = simwin::OpenHandleCount();
  {
    plenwick::StyleFontsScope fonts(file_);
    EXPECT_TRUE(fonts.complete());
    EXPECT_EQ(simwin::LiveFonts(), 4u);
    file_.deviceContext.reset();
  }
  EXPECT_EQ(simwin::LiveFonts(), 0u);
  EXPECT_EQ(simwin::OpenHandleCount(), before - 1);
  file_.deviceContext.reset(CreateDCA("wineps.drv", "PDF", nullptr, nullptr));
}

TEST_F(TextOutputTest, AFontThatCannotBeMadeFallsBackAndIsLogged) {
  std::string log = EnableLog();
  simwin::FailNextCreateFont();  // the regular font
  EXPECT_FALSE(plenwick::CreateStyleFonts(file_));
  EXPECT_EQ(simwin::LiveFonts(), 3u);
  auto texts = PutOneRunOfEachStyle();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].weight, 400);  // the device's own font
  EXPECT_EQ(texts[2].weight, 700);
  EXPECT_EQ(texts[3].weight, 700);
  EXPECT_TRUE(texts[3].underline);
  EXPECT_NE(ReadFile(log).find(
                "CreateFontIndirect(DejaVu Sans Mono, height 50, weight 400, underline 0) failed"),
            std::string::npos);
  plenwick::ReleaseStyleFonts(file_);
  EXPECT_EQ(simwin::OpenHandleCount(), handlesWithDc_);
}

TEST_F(TextOutputTest, OemTranslationWinsOverAnsiTranslation) {
  struct Case {
    bool oem, ansi;
    std::string expected;
  };
  const std::string input = "caf\xE9 \x82 \xB7";
  const Case cases[] = {
      {false, false, input},
      {true, false, "caf\x82 , \xFA"},
      {false, true, "cafT \xE9 +"},  // OEM theta, e-acute, box corner
      {true, true, "caf\x82 , \xFA"},
  };
  for (const Case& c : cases) {
    job_.oemTranslation = c.oem;
    job_.ansiTranslation = c.ansi;
    plenwick::PutRun(file_, 0, 0, 0, input.data(), static_cast<int>(input.size()));
    EXPECT_EQ(Events(simwin::GdiEvent::kText).back().text, c.expected) << c.oem << c.ansi;
  }
}

TEST_F(TextOutputTest, PassThroughPacketsCarryTheRunByteForByte) {
  job_.raw = true;
  std::string run;
  for (int i = 0; i < 300; ++i) run += static_cast<char>(i);  // a count above one byte, NULs too
  plenwick::PutRun(file_, 3, 100, 100, run.data(), static_cast<int>(run.size()));
  std::string huge(70000, 'h');
  plenwick::PutRun(file_, 0, 0, 0, huge.data(), static_cast<int>(huge.size()));
  plenwick::PutRun(file_, 0, 0, 0, "", 0);
  auto escapes = Events(simwin::GdiEvent::kEscape);
  ASSERT_EQ(escapes.size(), 4u);
  EXPECT_EQ(escapes[0].text, run);
  EXPECT_EQ(escapes[1].text.size(), 65535u);  // the most one 16-bit count can say
  EXPECT_EQ(escapes[2].text.size(), 70000u - 65535u);
  EXPECT_EQ(escapes[3].text, "");
  EXPECT_TRUE(Events(simwin::GdiEvent::kText).empty());
}

}  // namespace

namespace {

// Each character in its cells, one call a run, whatever face the mapper
// finds (a missing one gives way to a fixed one): a wide character takes
// two cells, a combining mark and a surrogate pair's second unit none.
TEST_F(TextOutputTest, EveryCharacterIsPutInItsCellsInAnyFace) {
  plenwick::CopyText(job_.fontFace, "No Such Face");
  simwin::RecordAdvances();
  ASSERT_TRUE(plenwick::CreateStyleFonts(file_));
  const std::string line =
      "iM\xE6\x97\xA5"
      "e\xCC\x81\xF0\x9D\x90\x80";  // wide, e + acute, U+1D400
  plenwick::WriteReportLine(file_, line.data(), static_cast<int>(line.size()), 0, 25, 50);
  auto texts = Events(simwin::GdiEvent::kText);
  const std::vector<std::vector<int>> advances{{25, 25, 50}, {25}, {0}, {25, 0}};
  ASSERT_EQ(texts.size(), advances.size());
  for (size_t i = 0; i < texts.size(); ++i)
    EXPECT_TRUE(simwin::RecordedAdvances()[i] == advances[i] && texts[i].fixedPitch) << i;
}

}  // namespace

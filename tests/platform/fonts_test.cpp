// Fonts on a printer device context: what a created font's metrics are,
// which face the context reports, and how selecting and deleting work.
#include <cstring>

#include "conformance.h"

namespace conformance {
namespace {

class Fonts : public PrinterContextTest {
 protected:
  static HFONT Create(int points, int weight, bool underline = false) {
    LOGFONTA logFont{};
    logFont.lfHeight = -MulDiv(points, 300, 72);
    logFont.lfWeight = weight;
    logFont.lfUnderline = underline;
    logFont.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    strcpy(logFont.lfFaceName, "DejaVu Sans Mono");
    return CreateFontIndirectA(&logFont);
  }
};

// The report grid's row height is the font's tmHeight: 10 points of the
// fixed-pitch face are 49 units at 300 dpi (71 rows on A4), 20 points 97.
TEST_F(Fonts, TheMetricsOfTheReportFace) {
  const struct {
    int points;
    int weight;
    int height;
    int width;
  } cases[] = {
      {10, FW_NORMAL, 49, 25},
      {10, FW_BOLD, 49, 25},
      {20, FW_NORMAL, 97, 50},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.points) + " pt, weight " + std::to_string(c.weight));
    HFONT font = Create(c.points, c.weight);
    ASSERT_NE(font, nullptr);
    HGDIOBJ previous = SelectObject(dc_, font);
    ASSERT_NE(previous, nullptr);
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(dc_, &tm));
    EXPECT_EQ(tm.tmHeight, c.height);
    EXPECT_NEAR(tm.tmAveCharWidth, c.width, 1);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    EXPECT_EQ(tm.tmWeight, c.weight);
    // TMPF_FIXED_PITCH (1) set means a variable pitch.
    EXPECT_EQ(tm.tmPitchAndFamily & 1, 0) << int(tm.tmPitchAndFamily);
    char face[LF_FACESIZE] = "";
    int copied = GetTextFaceA(dc_, sizeof face, face);
    EXPECT_STREQ(face, "DejaVu Sans Mono");
    // The characters copied; only the size query counts the terminator.
    EXPECT_EQ(copied, 16);
    EXPECT_EQ(GetTextFaceA(dc_, 0, nullptr), 17);
    EXPECT_EQ(SelectObject(dc_, previous), font);
    EXPECT_TRUE(DeleteObject(font));
  }
}

// A missing face asked with FIXED_PITCH gives way to a fixed one.
TEST_F(Fonts, AMissingFaceAskedWithAFixedPitchIsFixed) {
  LOGFONTA logFont{-42, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, FIXED_PITCH | FF_MODERN, "No Such Face"};
  HFONT font = CreateFontIndirectA(&logFont);
  HGDIOBJ previous = SelectObject(dc_, font);
  TEXTMETRICA tm{};
  ASSERT_TRUE(GetTextMetricsA(dc_, &tm));
  EXPECT_EQ(tm.tmPitchAndFamily & 1, 0) << int(tm.tmPitchAndFamily);  // 1: a variable pitch
  SelectObject(dc_, previous);
  EXPECT_TRUE(DeleteObject(font));
}

TEST_F(Fonts, AFaceNameIsCutToTheRoomGiven) {
  HFONT font = Create(10, FW_NORMAL);
  HGDIOBJ previous = SelectObject(dc_, font);
  char face[7];
  memset(face, 'x', sizeof face);
  int copied = GetTextFaceA(dc_, 6, face);
  EXPECT_STREQ(face, "DejaV");
  EXPECT_EQ(face[6], 'x');
  EXPECT_EQ(copied, 5);
  SelectObject(dc_, previous);
  DeleteObject(font);
}

TEST_F(Fonts, TheUnderlineIsReported) {
  HFONT font = Create(10, FW_NORMAL, true);
  HGDIOBJ previous = SelectObject(dc_, font);
  TEXTMETRICA tm{};
  ASSERT_TRUE(GetTextMetricsA(dc_, &tm));
  EXPECT_TRUE(tm.tmUnderlined);
  SelectObject(dc_, previous);
  DeleteObject(font);
}

TEST_F(Fonts, AStaleFontIsNotSelected) {
  HFONT font = Create(20, FW_NORMAL);
  ASSERT_TRUE(DeleteObject(font));
  TEXTMETRICA before{};
  ASSERT_TRUE(GetTextMetricsA(dc_, &before));
  EXPECT_EQ(SelectObject(dc_, font), nullptr);
  TEXTMETRICA after{};
  ASSERT_TRUE(GetTextMetricsA(dc_, &after));
  EXPECT_EQ(after.tmHeight, before.tmHeight);
}

// A font still selected is not gone with DeleteObject: the context draws
// with it until it is selected out.
TEST_F(Fonts, AFontStillSelectedKeepsDrawing) {
  HFONT font = Create(20, FW_NORMAL);
  HGDIOBJ previous = SelectObject(dc_, font);
  DeleteObject(font);
  TEXTMETRICA tm{};
  ASSERT_TRUE(GetTextMetricsA(dc_, &tm));
  DIVERGES_ON(kLinux,
              "DeleteObject deletes a font still selected; the context falls back "
              "to its own") {
    EXPECT_EQ(tm.tmHeight, 97);
  }
  SelectObject(dc_, previous);
  DeleteObject(font);
}

}  // namespace
}  // namespace conformance

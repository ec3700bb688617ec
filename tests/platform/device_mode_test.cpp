// Device modes and device capabilities of the printer "PDF": the size a
// driver asks for, its defaults, how it merges the fields a caller flags,
// and the page a device context made with a mode has.
#include <cstring>
#include <vector>

#include "conformance.h"

namespace conformance {
namespace {

class DeviceModes : public ConformanceTest {
 protected:
  void SetUp() override {
    ConformanceTest::SetUp();
    REQUIRE_PRINTER();
    ASSERT_TRUE(OpenPrinterA(name_, &printer_, nullptr));
    LONG size = DocumentPropertiesA(nullptr, printer_, name_, nullptr, nullptr, 0);
    ASSERT_GE(size, static_cast<LONG>(offsetof(DEVMODEA, dmFormName)));
    size_ = static_cast<size_t>(size);
    original_ = Block();
    Defaults(original_);
  }
  // Where a merge stays with the printer (below), its settings go back.
  void TearDown() override {
    if (!printer_) return;
    auto* original = reinterpret_cast<DEVMODEA*>(original_.data());
    DocumentPropertiesA(nullptr, printer_, name_, original, original, DM_IN_BUFFER | DM_OUT_BUFFER);
    ClosePrinter(printer_);
  }

  // A block of the size the driver asked for, as the library allocates it.
  std::vector<unsigned char> Block() const { return std::vector<unsigned char>(size_ + 64, 0xCD); }

  DEVMODEA* Defaults(std::vector<unsigned char>& block) {
    auto* mode = reinterpret_cast<DEVMODEA*>(block.data());
    EXPECT_EQ(DocumentPropertiesA(nullptr, printer_, name_, mode, nullptr, DM_OUT_BUFFER), IDOK);
    return mode;
  }

  char name_[4] = "PDF";
  HANDLE printer_ = nullptr;
  size_t size_ = 0;
  std::vector<unsigned char> original_;
};

TEST_F(DeviceModes, TheDefaultsNameThePrinterAndItsSettings) {
  std::vector<unsigned char> block = Block();
  DEVMODEA* mode = Defaults(block);
  EXPECT_STREQ(reinterpret_cast<const char*>(mode->dmDeviceName), kPrinter);
  EXPECT_EQ(static_cast<size_t>(mode->dmSize) + mode->dmDriverExtra, size_);
  EXPECT_EQ(block[size_], 0xCD) << "written past the size asked for";
  const DWORD needed = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
  EXPECT_EQ(mode->dmFields & needed, needed);
  EXPECT_EQ(mode->dmOrientation, DMORIENT_PORTRAIT);
  EXPECT_EQ(mode->dmCopies, 1);
  EXPECT_EQ(mode->dmPaperSize, DMPAPER_A4);
  DIVERGES_ON(kLinux,
              "device modes report version 0x401, so the form name and collation "
              "are written and sent to CUPS") {
    EXPECT_EQ(mode->dmSpecVersion, 0x30A);
  }
}

// What the caller flags is taken over the defaults; what it does not flag
// is not, whatever the field holds.
TEST_F(DeviceModes, FlaggedFieldsAreMergedOverTheDefaults) {
  std::vector<unsigned char> defaultsBlock = Block();
  DEVMODEA defaults = *Defaults(defaultsBlock);

  std::vector<unsigned char> inBlock = Block();
  DEVMODEA* in = Defaults(inBlock);
  in->dmFields = DM_ORIENTATION | DM_COPIES;
  in->dmOrientation = DMORIENT_LANDSCAPE;
  in->dmCopies = 3;
  in->dmPaperSize = DMPAPER_LETTER;  // not flagged: not taken
  std::vector<unsigned char> outBlock = Block();
  auto* out = reinterpret_cast<DEVMODEA*>(outBlock.data());
  ASSERT_EQ(DocumentPropertiesA(nullptr, printer_, name_, out, in, DM_IN_BUFFER | DM_OUT_BUFFER),
            IDOK);
  EXPECT_EQ(out->dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(out->dmCopies, 3);
  EXPECT_EQ(out->dmPaperSize, defaults.dmPaperSize);
  EXPECT_EQ(out->dmFields & DM_PAPERSIZE, static_cast<DWORD>(DM_PAPERSIZE));

  // In place: input and output one block.
  ASSERT_EQ(DocumentPropertiesA(nullptr, printer_, name_, in, in, DM_IN_BUFFER | DM_OUT_BUFFER),
            IDOK);
  EXPECT_EQ(in->dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(in->dmCopies, 3);
  EXPECT_EQ(in->dmPaperSize, defaults.dmPaperSize);
}

// A merge answers the caller; the printer's own settings stay.
TEST_F(DeviceModes, AMergeLeavesThePrintersSettings) {
  std::vector<unsigned char> inBlock = Block();
  DEVMODEA* in = Defaults(inBlock);
  in->dmFields = DM_ORIENTATION;
  in->dmOrientation = DMORIENT_LANDSCAPE;
  ASSERT_EQ(DocumentPropertiesA(nullptr, printer_, name_, in, in, DM_IN_BUFFER | DM_OUT_BUFFER),
            IDOK);
  std::vector<unsigned char> afterBlock = Block();
  DEVMODEA* after = Defaults(afterBlock);
  DIVERGES_ON(kWine,
              "Wine's PostScript driver keeps a merged mode as the printer's settings "
              "for the process") {
    EXPECT_EQ(after->dmOrientation, DMORIENT_PORTRAIT);
  }
}

TEST_F(DeviceModes, APaperTheDriverKnowsIsTakenByCode) {
  std::vector<unsigned char> inBlock = Block();
  DEVMODEA* in = Defaults(inBlock);
  in->dmFields = DM_PAPERSIZE;
  in->dmPaperSize = DMPAPER_LETTER;
  std::vector<unsigned char> outBlock = Block();
  auto* out = reinterpret_cast<DEVMODEA*>(outBlock.data());
  ASSERT_EQ(DocumentPropertiesA(nullptr, printer_, name_, out, in, DM_IN_BUFFER | DM_OUT_BUFFER),
            IDOK);
  EXPECT_EQ(out->dmPaperSize, DMPAPER_LETTER);
}

// A driver validates what it is given: a value no setting has is not taken
// as it is.
TEST_F(DeviceModes, AnOrientationNoPrinterHasIsNotTaken) {
  std::vector<unsigned char> inBlock = Block();
  DEVMODEA* in = Defaults(inBlock);
  in->dmFields = DM_ORIENTATION;
  in->dmOrientation = 7;
  std::vector<unsigned char> outBlock = Block();
  auto* out = reinterpret_cast<DEVMODEA*>(outBlock.data());
  LONG result =
      DocumentPropertiesA(nullptr, printer_, name_, out, in, DM_IN_BUFFER | DM_OUT_BUFFER);
  if (result == IDOK) {
    DIVERGES_ON(kWine, "Wine's PostScript driver takes a flagged orientation unchecked") {
      EXPECT_TRUE(out->dmOrientation == DMORIENT_PORTRAIT ||
                  out->dmOrientation == DMORIENT_LANDSCAPE)
          << out->dmOrientation;
    }
  } else {
    EXPECT_LT(result, 0);
  }
}

TEST_F(DeviceModes, WithoutAnOutputNothingFails) {
  EXPECT_GT(DocumentPropertiesA(nullptr, printer_, name_, nullptr, nullptr, DM_OUT_BUFFER), 0);
}

using DeviceCaps = ConformanceTest;

// A4 at 300 units an inch: the printable area of the PDF printer, turned
// by landscape, within the page.
TEST_F(DeviceCaps, ThePageOfAModeInDeviceUnits) {
  REQUIRE_PRINTER();
  // The printer's own settings, as the library makes its contexts with.
  char name[] = "PDF";
  HANDLE printer = nullptr;
  ASSERT_TRUE(OpenPrinterA(name, &printer, nullptr));
  std::vector<unsigned char> block(
      static_cast<size_t>(DocumentPropertiesA(nullptr, printer, name, nullptr, nullptr, 0)));
  auto* mode = reinterpret_cast<DEVMODEA*>(block.data());
  ASSERT_EQ(DocumentPropertiesA(nullptr, printer, name, mode, nullptr, DM_OUT_BUFFER), IDOK);
  ClosePrinter(printer);
  mode->dmFields |= DM_ORIENTATION | DM_PAPERSIZE;
  mode->dmOrientation = DMORIENT_PORTRAIT;
  mode->dmPaperSize = DMPAPER_A4;

  HDC portrait = CreateDCA("WINSPOOL", kPrinter, nullptr, mode);
  ASSERT_NE(portrait, nullptr);
  EXPECT_EQ(GetDeviceCaps(portrait, LOGPIXELSX), 300);
  EXPECT_EQ(GetDeviceCaps(portrait, LOGPIXELSY), 300);
  EXPECT_EQ(GetDeviceCaps(portrait, HORZRES), 2479);
  EXPECT_EQ(GetDeviceCaps(portrait, VERTRES), 3508);
  int width = GetDeviceCaps(portrait, PHYSICALWIDTH);
  int height = GetDeviceCaps(portrait, PHYSICALHEIGHT);
  EXPECT_GE(width, GetDeviceCaps(portrait, HORZRES));
  EXPECT_GE(height, GetDeviceCaps(portrait, VERTRES));
  EXPECT_NEAR(width, 2480, 2);   // 210 mm
  EXPECT_NEAR(height, 3508, 2);  // 297 mm

  mode->dmOrientation = DMORIENT_LANDSCAPE;
  HDC landscape = CreateDCA("WINSPOOL", kPrinter, nullptr, mode);
  ASSERT_NE(landscape, nullptr);
  EXPECT_EQ(GetDeviceCaps(landscape, HORZRES), GetDeviceCaps(portrait, VERTRES));
  EXPECT_EQ(GetDeviceCaps(landscape, VERTRES), GetDeviceCaps(portrait, HORZRES));
  EXPECT_EQ(GetDeviceCaps(landscape, PHYSICALWIDTH), height);
  EXPECT_EQ(GetDeviceCaps(landscape, PHYSICALHEIGHT), width);
  EXPECT_TRUE(DeleteDC(landscape));
  EXPECT_TRUE(DeleteDC(portrait));
}

TEST_F(DeviceCaps, AnUnknownPrinterHasNoDeviceContext) {
  REQUIRE_PRINTER();
  SetLastError(0xdeadbeef);
  EXPECT_EQ(CreateDCA("WINSPOOL", "No Such Printer", nullptr, nullptr), nullptr);
}

}  // namespace
}  // namespace conformance

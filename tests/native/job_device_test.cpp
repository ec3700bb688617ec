#include "device/job_device.h"

#include <cstring>
#include <algorithm>
#include <functional>
#include <set>

#include "core/print_job.h"
#include "device/paper_size_table.h"
#include "device/printer_capabilities.h"
#include "platform/handles.h"
#include "test_support.h"

namespace {

using plenwick::g_printerSelection;
constexpr DWORD kPaperFields = DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH;
constexpr DWORD kOrient = DM_ORIENTATION;

std::string Text(const BYTE* field) { return reinterpret_cast<const char*>(field); }

class JobDeviceTest : public plenwick_test::SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    Fresh();
  }
  // Nothing may stay open but the job's device context, which the page
  // loop deletes.
  void TearDown() override {
    DeleteJobDC();
    EXPECT_EQ(simwin::OpenHandleCount(), 0u);
    SimTest::TearDown();
  }
  // A new machine and process for one case of a table.
  void Fresh(WORD specVersion = 0x30A) {
    DeleteJobDC();
    plenwick_test::FreshMachine();
    plenwick::ResetPrintJob(job_);
    job_.fileName = "report.txt";
    AddPrinter("PDF", specVersion);
    AddPrinter("Office", 0x400);
  }
  static void AddPrinter(const std::string& name, WORD specVersion = 0x30A) {
    simwin::PrinterSpec spec;
    spec.name = name;
    spec.specVersion = specVersion;
    spec.driverExtra = 64;
    simwin::AddPrinter(spec);
  }
  void DeleteJobDC() {
    if (dc_) {
      EXPECT_TRUE(DeleteDC(dc_.release()));
    }
  }
  HDC Configure() {
    DeleteJobDC();
    bool made = plenwick::ConfigureJobDevice(job_, dc_);
    EXPECT_EQ(made, static_cast<bool>(dc_));
    return dc_.get();
  }
  static DEVMODEA SelectedMode() {
    plenwick::GlobalLockGuard<DEVMODEA> mode(g_printerSelection.devMode());
    EXPECT_TRUE(mode);
    return mode ? *mode.get() : DEVMODEA{};
  }
  static std::vector<std::string> OpenedNames() {
    std::vector<std::string> names;
    for (const auto& call : simwin::OpenPrinterCalls()) names.push_back(call.name);
    return names;
  }
  static std::string LastDCDevice() { return simwin::CreateDCCalls().back().device; }

  plenwick::PrintJob job_{};
  plenwick::UniqueDC dc_;  // the device context the job was given
};

TEST_F(JobDeviceTest, WritesTheJobIntoTheDeviceMode) {
  const DWORD kNewer = DM_FORMNAME | DM_COLLATE;
  const std::string longForm(33, 'f'), cutForm(31, 'f');
  struct {
    WORD spec;
    int copies;
    short orientation, source;
    int width, length;
    const char* form;
    bool collate;
    DWORD fields;  // besides DM_ORIENTATION, and the fields as CreateDCA got them
    short paper, dmWidth, dmLength, dmCopies, dmOrientation, dmSource, dmCollate;
    const char* dmForm;
  } cases[] = {
      // The printer's own settings: A4 (9), no dimensions, 1 copy, bin 7, form "A4".
      {0x30A, 1, 1, 0, 0, 0, "", false, 0, 9, 0, 0, 1, 1, 7, 0, "A4"},
      {0x30A, 3, 2, 4, 0, 0, "", false, DM_COPIES | DM_DEFAULTSOURCE, 9, 0, 0, 3, 2, 4, 0, "A4"},
      // More copies than dmCopies holds are as many as it holds, never wrapped.
      {0x30A, 100000, 1, 0, 0, 0, "", false, DM_COPIES, 9, 0, 0, 32767, 1, 7, 0, "A4"},
      {0x30A, 32767, 1, 0, 0, 0, "", false, DM_COPIES, 9, 0, 0, 32767, 1, 7, 0, "A4"},
      {0x30A, INT32_MAX, 1, 0, 0, 0, "", false, DM_COPIES, 9, 0, 0, 32767, 1, 7, 0, "A4"},
      {0x30A, 1, 1, 0, 2159, 0, "", false, DM_PAPERSIZE | DM_PAPERWIDTH, 256, 2159, 0, 1, 1, 7, 0,
       "A4"},
      {0x30A, 1, 1, 0, 1000, 2000, "", false, kPaperFields, 256, 1000, 2000, 1, 1, 7, 0, "A4"},
      // Letter given across: Letter, turned to landscape.
      {0x30A, 1, 1, 0, 2794, 2159, "", false, DM_PAPERSIZE, 1, 2794, 2159, 1, 2, 7, 0, "A4"},
      {0x30A, 1, 1, 0, 0, 0, "a4", true, DM_PAPERSIZE, 9, 0, 0, 1, 1, 7, 0, "A4"},
      {0x400, 1, 1, 0, 0, 0, "a4", false, DM_PAPERSIZE | kNewer, 9, 0, 0, 1, 1, 7, 0, "a4"},
      {0x30A, 1, 1, 0, 1000, 2000, "Legal", false, DM_PAPERSIZE, 5, 1000, 2000, 1, 1, 7, 0, "A4"},
      // A form name the table lacks keeps the custom size, even of a listed paper.
      {0x400, 1, 1, 0, 2100, 2970, "Wide", false, kPaperFields | kNewer, 256, 2100, 2970, 1, 1, 7,
       0, "Wide"},
      {0x400, 1, 1, 0, 0, 0, "", true, DM_COLLATE, 9, 0, 0, 1, 1, 7, 1, "A4"},
      {0x400, 1, 1, 0, 0, 0, longForm.c_str(), false, kNewer, 9, 0, 0, 1, 1, 7, 0, cutForm.c_str()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.spec << " " << c.form << " " << c.width << "x" << c.length);
    Fresh(c.spec);
    job_.copies = c.copies, job_.orientation = c.orientation, job_.paperSource = c.source;
    job_.paperWidth = c.width, job_.paperLength = c.length, job_.collate = c.collate;
    strcpy(job_.formName, c.form);
    ASSERT_NE(Configure(), nullptr);
    const simwin::CreateDCCall& call = simwin::CreateDCCalls().back();
    EXPECT_EQ(call.driver + " " + call.device + " " + call.port, "WINSPOOL PDF (null)");
    // The mode as the job wrote it, which the driver then merges.
    const DEVMODEA& m = simwin::DocumentPropertiesCalls().back().input;
    EXPECT_EQ(m.dmFields, c.fields | DM_ORIENTATION | DM_COPIES);  // flagged for every job
    EXPECT_EQ(m.dmPaperSize, c.paper);
    EXPECT_EQ(m.dmPaperWidth, c.dmWidth);
    EXPECT_EQ(m.dmPaperLength, c.dmLength);
    EXPECT_EQ(m.dmCopies, c.dmCopies);
    EXPECT_EQ(m.dmOrientation, c.dmOrientation);
    EXPECT_EQ(m.dmDefaultSource, c.dmSource);
    EXPECT_EQ(m.dmCollate, c.dmCollate);
    EXPECT_EQ(Text(m.dmFormName), c.dmForm);
    EXPECT_EQ(SelectedMode().dmFields, call.devMode.dmFields);  // in the shared device mode itself
  }
}

TEST_F(JobDeviceTest, ALaterJobFlagsOnlyWhatItSets) {
  job_.copies = 3;
  ASSERT_NE(Configure(), nullptr);
  job_.copies = 1;
  ASSERT_NE(Configure(), nullptr);
  EXPECT_EQ(SelectedMode().dmCopies, 1);
  EXPECT_EQ(simwin::DocumentPropertiesCalls().back().input.dmFields, kOrient | DM_COPIES);
}

TEST_F(JobDeviceTest, PapersAreFoundByNameOrBySizeInEitherOrientation) {
  std::set<int> codes;
  for (size_t i = 0; i < plenwick::kPaperSizeCount; ++i)
    codes.insert(plenwick::PaperSizeTable[i].code);
  EXPECT_EQ(codes.size(), 41u);
  EXPECT_EQ(*codes.rbegin(), 41);
  EXPECT_EQ(plenwick::PaperSizeTable[41].name, nullptr);
  EXPECT_EQ(plenwick::PaperSizeTable[0].length, 14 * 25.4);
  EXPECT_EQ(plenwick::FindPaperSizeByName("a4 SMALL")->code, 10);
  EXPECT_EQ(plenwick::FindPaperSizeByName("A4 "), nullptr);
  struct {
    int32_t width, length;
    int code;  // 0: none
    bool turned;
  } sizes[] = {
      {2100, 2970, 9, false},  {2970, 2100, 9, true},  {2100, 2969, 9, false},   // 8.27 x 11.69 in
      {2159, 2794, 1, false},  {2794, 2159, 1, true},  {1047, 2413, 20, false},  // 4 1/8 x 9 1/2 in
      {3765, 2794, 39, false}, {4318, 2794, 4, false}, {2794, 4318, 3, false},   // Tabloid, not 17
      {2159, 3302, 14, false}, {3302, 2159, 14, true},  // Folio, not the fanfold 41
      {2159, 3048, 40, false},                          // only the fanfold has this size
      {2102, 2970, 0, false},  {1000, 2000, 0, false},
  };
  for (const auto& s : sizes) {
    bool turned = !s.turned;
    const plenwick::PaperSize* row =
        plenwick::FindPaperSizeByDimensions(s.width, s.length, &turned);
    EXPECT_EQ(row ? row->code : 0, s.code) << s.width << " x " << s.length;
    if (row) {
      EXPECT_EQ(turned, s.turned) << s.width << " x " << s.length;
    }
  }
}

// A paper found turned keeps its shape: the listed paper, across.
TEST_F(JobDeviceTest, APaperGivenTurnedTurnsTheOrientation) {
  struct {
    int32_t width, length;
    int16_t orientation;  // the job's
    int16_t paper, printed;
  } cases[] = {
      {2794, 2159, DMORIENT_PORTRAIT, DMPAPER_LETTER, DMORIENT_LANDSCAPE},
      {2794, 2159, DMORIENT_LANDSCAPE, DMPAPER_LETTER, DMORIENT_PORTRAIT},
      {2159, 2794, DMORIENT_LANDSCAPE, DMPAPER_LETTER, DMORIENT_LANDSCAPE},
      {2794, 4318, DMORIENT_PORTRAIT, 3, DMORIENT_PORTRAIT},             // Tabloid
      {2794, 2000, DMORIENT_PORTRAIT, DMPAPER_USER, DMORIENT_PORTRAIT},  // unlisted: as given
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.length));
    Fresh();
    job_.paperWidth = c.width;
    job_.paperLength = c.length;
    job_.orientation = c.orientation;
    ASSERT_NE(Configure(), nullptr);
    const DEVMODEA& mode = simwin::CreateDCCalls().back().devMode;
    EXPECT_EQ(mode.dmPaperSize, c.paper);
    EXPECT_EQ(mode.dmOrientation, c.printed);
    EXPECT_TRUE(mode.dmFields & DM_ORIENTATION);
  }
}

// Only a name that differs byte for byte switches and restores.
TEST_F(JobDeviceTest, OnlyAnotherPrinterNameSwitches) {
  const struct {
    const char* jobPrinter;
    const char* logLine;  // null: none
    size_t documentPropertiesCalls;
  } cases[] = {
      // Two calls merge the job's fields; a switch rebuilds twice, three each.
      {"", nullptr, 2},
      {"PDF", "job printer=PDF, cur printer=PDF\n", 2},
      {"pdf", "job printer=pdf, cur printer=PDF\n", 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.jobPrinter);
    Fresh();
    std::string log = EnableLog(std::string("log-") + c.jobPrinter);
    strcpy(job_.printerName, c.jobPrinter);
    ASSERT_NE(Configure(), nullptr);
    std::string text = ReadFile(log);
    EXPECT_EQ(text.find("job printer="), c.logLine ? text.find(c.logLine) : std::string::npos);
    EXPECT_NE(c.logLine == nullptr, text.find("job printer=") != std::string::npos);
    EXPECT_EQ(simwin::DocumentPropertiesCalls().size(), c.documentPropertiesCalls);
    EXPECT_STREQ(job_.printerName, c.jobPrinter[0] ? c.jobPrinter : "PDF");
    EXPECT_EQ(LastDCDevice(), "PDF");
    EXPECT_EQ(plenwick::GetSelectedPrinterName(), "PDF");
  }
}

TEST_F(JobDeviceTest, AnotherPrinterPrintsWithTheJobAndHandsItsSettingsBack) {
  std::string log = EnableLog();
  strcpy(job_.printerName, "Office");
  strcpy(job_.formName, "Letter");
  job_.orientation = DMORIENT_LANDSCAPE, job_.copies = 2, job_.paperSource = 3, job_.collate = true;
  ASSERT_NE(Configure(), nullptr);
  EXPECT_NE(ReadFile(log).find("job printer=Office, cur printer=PDF\n"), std::string::npos);
  EXPECT_EQ(LastDCDevice(), "Office");
  EXPECT_EQ(Text(simwin::CreateDCCalls().back().devMode.dmFormName), "Letter");
  // Switch, check, merge and restore; each rebuild asks the size, fills,
  // validates; the merge asks the size and validates.
  EXPECT_EQ(OpenedNames(), (std::vector<std::string>{"Office", "Office", "Office", "PDF"}));
  const auto& calls = simwin::DocumentPropertiesCalls();
  ASSERT_EQ(calls.size(), 8u);
  const DWORD kInOut = DM_IN_BUFFER | DM_OUT_BUFFER;
  const DWORD modes[] = {0, DM_OUT_BUFFER, kInOut, 0, kInOut, 0, DM_OUT_BUFFER, kInOut};
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(calls[i].deviceName + " " + std::to_string(calls[i].mode),
              (i < 5 ? "Office " : "PDF ") + std::to_string(modes[i]));
  }
  // The previous printer gets the job's orientation, paper, copies and
  // collation, not its paper source or form name.
  DEVMODEA mode = SelectedMode();
  EXPECT_EQ(Text(mode.dmDeviceName), "PDF");
  EXPECT_EQ(mode.dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(mode.dmPaperSize, DMPAPER_LETTER);
  EXPECT_EQ(mode.dmCopies, 2);
  EXPECT_EQ(mode.dmCollate, DMCOLLATE_TRUE);
  EXPECT_EQ(mode.dmDefaultSource, 7);
  EXPECT_EQ(Text(mode.dmFormName), "A4");
  EXPECT_EQ(simwin::LiveGlobalBlocks(), 2u);  // replaced blocks were freed
}

TEST_F(JobDeviceTest, APrinterThatDoesNotOpenAsksTheUser) {
  const struct {
    int answer;
    DWORD error;  // 0: an unknown printer name
    const char* text;
  } cases[] = {
      {IDRETRY, 0, "Invalid printer name.\r\n"},
      {IDCANCEL, 0, "Invalid printer name.\r\n"},
      {IDCANCEL, 1234, "The printer PDF cannot be opened (error 1234)."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    Fresh();
    std::string log = EnableLog(std::to_string(c.answer) + std::to_string(c.error));
    if (c.error) simwin::FailNextOpenPrinter("PDF", c.error);
    strcpy(job_.printerName, c.error ? "" : "Nowhere");
    job_.orientation = DMORIENT_LANDSCAPE;
    simwin::QueueMessageBoxAnswer(c.answer);
    HDC dc = Configure();
    ASSERT_EQ(simwin::MessageBoxes().size(), 1u);
    const simwin::MessageBoxRecord& box = simwin::MessageBoxes()[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.caption + " " + std::to_string(box.type), "Plenwick - Can't Open Printer 5");
    if (c.answer == IDRETRY) {
      // Printed on the printer that the device mode still names, then that
      // printer's device mode is rebuilt by the restore.
      ASSERT_NE(dc, nullptr);
      EXPECT_EQ(LastDCDevice(), "PDF");
      EXPECT_EQ(simwin::CreateDCCalls().back().devMode.dmOrientation, DMORIENT_LANDSCAPE);
      EXPECT_EQ(simwin::DocumentPropertiesCalls().size(), 5u);
    } else {
      EXPECT_EQ(dc, nullptr);
      EXPECT_TRUE(simwin::CreateDCCalls().empty());
      EXPECT_NE(ReadFile(log).find("report.txt not printed"), std::string::npos);
    }
    EXPECT_EQ(plenwick::GetSelectedPrinterName(), "PDF");
  }
}

TEST_F(JobDeviceTest, NoPrinterAtAllGivesUpTheFileOnly) {
  simwin::RemoveAllPrinters();
  EXPECT_EQ(Configure(), nullptr);
  EXPECT_EQ(Configure(), nullptr);  // and again for the next file
  ASSERT_EQ(simwin::MessageBoxes().size(), 2u);
  const simwin::MessageBoxRecord& box = simwin::MessageBoxes()[0];
  EXPECT_EQ(box.text + "|" + box.caption + "|" + std::to_string(box.type),
            "plenwick|Plenwick - Can't Get DEVMODE|0");
  EXPECT_TRUE(simwin::CreateDCCalls().empty());
}

TEST_F(JobDeviceTest, NoDeviceContextIsLoggedAndLeftNull) {
  std::string log = EnableLog();
  ASSERT_TRUE(plenwick::GetDevMode());
  simwin::FailNextCreateDC();
  EXPECT_EQ(Configure(), nullptr);
  EXPECT_NE(ReadFile(log).find("CreateDC returned 0 given a DevMode = "), std::string::npos);
  // A device mode that does not lock: no edits, no names; the restore after
  // a failed switch rebuilds the previous printer's device mode anew.
  GlobalFree(g_printerSelection.devMode());
  strcpy(job_.printerName, "Nowhere");
  EXPECT_EQ(Configure(), nullptr);
  EXPECT_EQ(LastDCDevice(), "(null)");
  EXPECT_FALSE(simwin::CreateDCCalls().back().hadDevMode);
  EXPECT_NE(ReadFile(log).find("CreateDC returned 0 given a DevMode = 0\n"), std::string::npos);
  EXPECT_EQ(plenwick::GetSelectedPrinterName(), "PDF");
}

// A rebuild that fails on the way installs nothing: the selection keeps a
// device mode that locks.
TEST_F(JobDeviceTest, AFailedRebuildKeepsTheSelectionsBlock) {
  const struct {
    std::function<void()> fail;
    const char* printer;  // of the device context and, after it, of the selection
  } cases[] = {
      {[] { simwin::FailNextSizeQuery(); }, "PDF"},
      {[] { simwin::FailNextGlobalAlloc(); }, "PDF"},
      {[] { simwin::FailNextOpenPrinter("PDF"); }, "Office"},  // the restore
  };
  for (const auto& c : cases) {
    Fresh();
    ASSERT_TRUE(plenwick::GetDevMode());
    strcpy(job_.printerName, "Office");
    c.fail();
    ASSERT_NE(Configure(), nullptr);
    EXPECT_EQ(LastDCDevice(), c.printer);
    EXPECT_EQ(plenwick::GetSelectedPrinterName(), c.printer);
    EXPECT_EQ(simwin::LiveGlobalBlocks(), 2u);
  }
}

TEST_F(JobDeviceTest, LongPrinterNamesOverrunNoField) {
  const std::string name = "Printer " + std::string(112, 'n');
  AddPrinter(name);
  simwin::SetDefaultPrinter(name);
  std::string log = EnableLog();
  Configure();
  // Too long for the job: used whole for this file, not kept cut.
  EXPECT_STREQ(job_.printerName, "");
  EXPECT_NE(ReadFile(log).find("is too long to keep in the job"), std::string::npos);
  EXPECT_EQ(OpenedNames(), std::vector<std::string>(2, name));
  EXPECT_EQ(LastDCDevice(), name);  // not the 32 bytes of dmDeviceName
  strcpy(job_.printerName, "Office");
  ASSERT_NE(Configure(), nullptr);
  EXPECT_EQ(OpenedNames().back(), name);  // the restore opens the whole name
}

// A name longer than dmDeviceName still gets its device context, whether it
// is the selected printer or the job's own; when the switch to the job's
// printer fails, the file prints on the printer the device mode belongs to.
TEST_F(JobDeviceTest, LongPrinterNamesGetTheirDeviceContext) {
  const std::string name = "Accounting_Floor3_HP_LaserJet_4250_PCL6_Duplex";
  const std::string longer = name + "X";  // the same 31 characters first
  struct {
    std::string selected, job;
    bool switchFails;
    std::string device;
  } cases[] = {
      {name, "", false, name},           {"PDF", name, false, name},
      {name, "Office", false, "Office"}, {"Office", name, true, "Office"},
      {name, longer, true, name},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.selected + " / " + c.job);
    Fresh();
    AddPrinter(name);
    AddPrinter(longer);
    simwin::SetDefaultPrinter(c.selected);
    strcpy(job_.printerName, c.job.c_str());
    if (c.switchFails) simwin::FailNextOpenPrinter(c.job, 5);
    EXPECT_NE(Configure(), nullptr);
    EXPECT_EQ(LastDCDevice(), c.device);
  }
}

// A driver that keeps its own paper, orientation and copies prints the
// job's once they are merged; what it cannot do is told (once a file), its
// capabilities asked once a request.
TEST_F(JobDeviceTest, ARealDriverGetsTheJobAndSaysWhatItCannotDo) {
  const struct {
    int copies, source;
    const char *form, *told, *printed;  // printed: paper orientation copies
    bool collates;
  } cases[] = {
      {1, 0, "Letter", "", "1 2 1", true},
      {3, 0, "", "Maker prints at most 1 copy; 3 asked", "9 2 1", true},
      {1, 4, "", "Maker has no paper bin 4; printed from its default bin", "9 2 1", true},
      {1, 0, "Executive", "Maker has no paper Executive; printed on its default paper", "9 2 1",
       true},
      {1, 0, "", "Maker does not collate; copies printed uncollated", "9 2 1", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.told);
    Fresh();
    simwin::PrinterSpec maker = simwin::RealDriverPrinter("Maker");
    maker.collates = c.collates;
    simwin::AddPrinter(maker);
    simwin::SetDefaultPrinter("Maker");
    job_.copies = c.copies, job_.paperSource = static_cast<int16_t>(c.source), job_.collate = true;
    job_.orientation = DMORIENT_LANDSCAPE, strcpy(job_.formName, c.form);
    plenwick::CapabilitiesScope request;
    ASSERT_NE(Configure(), nullptr);
    size_t asked = simwin::DeviceCapabilitiesCallCount();
    ASSERT_NE(Configure(), nullptr);
    EXPECT_EQ(simwin::DeviceCapabilitiesCallCount(), asked);
    const simwin::CreateDCCall& call = simwin::CreateDCCalls().back();
    const simwin::DriverSettings& p = call.printed;
    EXPECT_EQ(std::to_string(p.paper) + " " + std::to_string(p.orientation) + " " +
                  std::to_string(p.copies),
              c.printed);
    // A version-4 device mode carries the form name and the collation.
    EXPECT_EQ(Text(call.devMode.dmFormName), c.form[0] == 'L' ? "Letter" : "A4");
    EXPECT_EQ(call.devMode.dmCollate, c.collates ? DMCOLLATE_TRUE : DMCOLLATE_FALSE);
    const auto& lines = simwin::DebugStrings();
    auto told = std::count(lines.begin(), lines.end(), "plenwick: " + std::string(c.told) + "\n");
    EXPECT_EQ(told, c.told[0] ? 2 : 0);
  }
}

TEST(MergeDevMode, CarriesTheFlaggedSettings) {
  DEVMODEA source{};
  source.dmOrientation = 2, source.dmPaperSize = 5, source.dmPaperLength = 21,
  source.dmPaperWidth = 22;
  source.dmScale = 50, source.dmCopies = 3, source.dmDefaultSource = 4, source.dmCollate = 1;
  const DWORD kept = DM_PAPERLENGTH | DM_PAPERWIDTH | DM_FORMNAME | DM_DEFAULTSOURCE;
  const struct {
    DWORD sourceFields, destFields;
    short orientation, paperSize, length, width, scale, copies, collate;
  } cases[] = {
      {0, kept, 1, 9, 11, 12, 100, 1, 0},
      {kOrient, kept | kOrient, 2, 9, 11, 12, 100, 1, 0},
      // A paper code stands for the whole paper: dimensions and form go.
      {kPaperFields, DM_DEFAULTSOURCE | DM_PAPERSIZE, 1, 5, 11, 12, 100, 1, 0},
      {DM_PAPERLENGTH | DM_PAPERWIDTH, kept, 1, 9, 21, 22, 100, 1, 0},
      {DM_SCALE | DM_COPIES | DM_COLLATE, kept | DM_SCALE | DM_COPIES | DM_COLLATE, 1, 9, 11, 12,
       50, 3, 1},
      {DM_DEFAULTSOURCE | DM_FORMNAME, kept, 1, 9, 11, 12, 100, 1, 0},
  };
  for (const auto& c : cases) {
    DEVMODEA d{};
    d.dmFields = kept, d.dmOrientation = 1, d.dmPaperSize = 9, d.dmPaperLength = 11,
    d.dmPaperWidth = 12;
    d.dmScale = 100, d.dmCopies = 1, d.dmDefaultSource = 7;
    source.dmFields = c.sourceFields;
    plenwick::MergeDevMode(d, source);
    EXPECT_EQ(d.dmFields, c.destFields) << c.sourceFields;
    const std::vector<short> got = {d.dmOrientation, d.dmPaperSize,    d.dmPaperLength,
                                    d.dmPaperWidth,  d.dmScale,        d.dmCopies,
                                    d.dmCollate,     d.dmDefaultSource};
    EXPECT_EQ(got, (std::vector<short>{c.orientation, c.paperSize, c.length, c.width, c.scale,
                                       c.copies, c.collate, 7}))
        << c.sourceFields;
  }
}

}  // namespace

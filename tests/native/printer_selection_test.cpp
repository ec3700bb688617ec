#include <cstring>

#include "device/printer_selection.h"
#include "platform/handles.h"
#include "test_support.h"

namespace {

const char kNoSelection[] = "**ERROR** Java_doc_LocalPrint_get_1printer_1name() GetLock() failed";

class PrinterSelectionTest : public plenwick_test::SimTest {
 protected:
  void AddPrinter(const std::string& name) {
    simwin::PrinterSpec spec;
    spec.name = name;
    simwin::AddPrinter(spec);
  }
};

TEST_F(PrinterSelectionTest, FirstQueryAsksForTheDefaultPrinterOnce) {
  std::string log = EnableLog();
  EXPECT_TRUE(plenwick::GetDevMode());
  EXPECT_TRUE(plenwick::GetDevMode());
  EXPECT_EQ(ReadFile(log),
            "GetDevMode() new PRINTDLG created.\nGetDevMode() reusing existing PRINTDLG.\n");
  ASSERT_EQ(simwin::PrintDlgCalls().size(), 1u);
  const simwin::PrintDlgCall& call = simwin::PrintDlgCalls()[0];
  EXPECT_EQ(call.structSize, 66u);
  EXPECT_EQ(call.flags, 0x14040Cu);
  EXPECT_EQ(call.owner, nullptr);
  EXPECT_EQ(call.devModeIn, nullptr);
  EXPECT_EQ(call.devNamesIn, nullptr);
  char name[100];
  ASSERT_TRUE(plenwick::DeviceNameOf(plenwick::g_printerSelection.devNames(), name, sizeof name));
  EXPECT_STREQ(name, "PDF");
  EXPECT_EQ(simwin::LockedGlobalBlocks(), 0u);
}

// Without a printer every use asks again, so that a printer installed
// later (or a print server back after an outage) is found without a
// restart; once found, the selection is kept.
TEST_F(PrinterSelectionTest, EmptySelectionIsAskedAgainUntilAPrinterAppears) {
  simwin::RemoveAllPrinters();
  std::string log = EnableLog();
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(plenwick::GetDevMode());
    EXPECT_EQ(plenwick::GetSelectedPrinterName(), kNoSelection);
  }
  EXPECT_EQ(simwin::PrintDlgCalls().size(), 6u);
  EXPECT_EQ(plenwick::g_printerSelection.devMode(), nullptr);
  EXPECT_EQ(simwin::LiveGlobalBlocks(), 0u);

  AddPrinter("Late Printer");
  simwin::SetDefaultPrinter("Late Printer");
  EXPECT_EQ(plenwick::GetSelectedPrinterName(), "Late Printer");
  EXPECT_TRUE(plenwick::GetDevMode());
  EXPECT_EQ(simwin::PrintDlgCalls().size(), 7u);
  EXPECT_EQ(simwin::LiveGlobalBlocks(), 2u);
  std::istringstream lines(ReadFile(log));
  std::vector<std::string> queries;
  for (std::string line; std::getline(lines, line);) queries.push_back(line);
  ASSERT_EQ(queries.size(), 8u);
  EXPECT_EQ(queries[6], "GetDevMode() new PRINTDLG created.");
  EXPECT_EQ(queries[7], "GetDevMode() reusing existing PRINTDLG.");
}

TEST_F(PrinterSelectionTest, NameQueryIsTheFirstUseToo) {
  std::string log = EnableLog();
  EXPECT_EQ(plenwick::GetSelectedPrinterName(), "PDF");
  EXPECT_EQ(ReadFile(log), "GetDevMode() new PRINTDLG created.\n");
  EXPECT_EQ(simwin::LockedGlobalBlocks(), 0u);
}

TEST_F(PrinterSelectionTest, ConfirmedSetupReplacesTheSelection) {
  AddPrinter("Office Laser");
  simwin::ScriptPrintSetup("Office Laser");
  EXPECT_TRUE(plenwick::ShowPrintSetup());
  EXPECT_EQ(plenwick::GetSelectedPrinterName(), "Office Laser");
  ASSERT_EQ(simwin::PrintDlgCalls().size(), 2u);
  const simwin::PrintDlgCall& setup = simwin::PrintDlgCalls()[1];
  EXPECT_EQ(setup.flags, 0x14004Cu);
  EXPECT_EQ(setup.structSize, 66u);
  EXPECT_NE(setup.devModeIn, nullptr);        // initialised from the default selection
  EXPECT_EQ(simwin::LiveGlobalBlocks(), 2u);  // the dialog freed the blocks it replaced
}

TEST_F(PrinterSelectionTest, CancelledSetupKeepsTheSelection) {
  ASSERT_EQ(plenwick::GetSelectedPrinterName(), "PDF");
  HGLOBAL before = plenwick::g_printerSelection.devMode();
  EXPECT_FALSE(plenwick::ShowPrintSetup());
  EXPECT_EQ(plenwick::g_printerSelection.devMode(), before);
  EXPECT_EQ(plenwick::GetSelectedPrinterName(), "PDF");
}

TEST_F(PrinterSelectionTest, SetupWithoutAnyPrinterHandsNullBlocksToTheDialog) {
  simwin::RemoveAllPrinters();
  EXPECT_FALSE(plenwick::ShowPrintSetup());
  ASSERT_EQ(simwin::PrintDlgCalls().size(), 2u);
  EXPECT_EQ(simwin::PrintDlgCalls()[1].devModeIn, nullptr);
  AddPrinter("Late Printer");
  simwin::ScriptPrintSetup("Late Printer");
  EXPECT_TRUE(plenwick::ShowPrintSetup());
  EXPECT_TRUE(plenwick::GetDevMode());
  EXPECT_EQ(plenwick::GetSelectedPrinterName(), "Late Printer");
}

TEST_F(PrinterSelectionTest, LongNamesAreAnsweredWhole) {
  // The device mode's field holds 32 bytes; the answer is the name that
  // opens the printer again, whatever its length.
  for (size_t length : {30, 31, 32, 40, 150}) {
    SCOPED_TRACE(length);
    plenwick_test::FreshMachine();
    std::string name = "Accounting " + std::string(length - 11, 'L');
    simwin::RemoveAllPrinters();
    AddPrinter(name);
    simwin::SetDefaultPrinter(name);
    EXPECT_EQ(plenwick::GetSelectedPrinterName(), name);
  }
}

TEST_F(PrinterSelectionTest, FullFieldOfAnotherPrinterIsCutAtItsEnd) {
  // While a job has the device mode on a printer of its own, the device
  // names still name the selected one: the field is the answer, read no
  // further than its 32 bytes.
  simwin::RemoveAllPrinters();
  AddPrinter(std::string(40, 'L'));
  simwin::SetDefaultPrinter(std::string(40, 'L'));
  ASSERT_TRUE(plenwick::GetDevMode());
  {
    plenwick::GlobalLockGuard<DEVMODEA> mode(plenwick::g_printerSelection.devMode());
    ASSERT_TRUE(mode);
    memset(mode->dmDeviceName, 'M', sizeof mode->dmDeviceName);
  }
  EXPECT_EQ(plenwick::GetSelectedPrinterName(), std::string(32, 'M'));
}

// The one rule for the device mode's 32-byte name field, which both the
// name query and the device context follow: only a field filled to its
// last character may be a longer name cut; a shorter name is whole.
TEST_F(PrinterSelectionTest, OnlyAFullDeviceNameFieldStandsForALongerName) {
  const std::string longer = std::string(32, 'P') + " on the third floor";
  const struct {
    std::string field;  // what dmDeviceName holds
    size_t bytes;       // how many of its bytes are set (32: no terminator)
    std::string known;
    std::string meant;
  } cases[] = {
      {std::string(30, 'P'), 31, longer, std::string(30, 'P')},
      {std::string(31, 'P'), 32, longer, longer},
      {std::string(32, 'P'), 32, longer, longer},
      {std::string(31, 'Q'), 32, longer, std::string(31, 'Q')},
      {std::string(31, 'P'), 32, std::string(31, 'P'), std::string(31, 'P')},
      {std::string(31, 'P'), 32, "", std::string(31, 'P')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field.size());
    DEVMODEA mode{};
    memset(mode.dmDeviceName, 'x', sizeof mode.dmDeviceName);
    memcpy(mode.dmDeviceName, c.field.c_str(), c.bytes);
    EXPECT_EQ(plenwick::PrinterSelection::DevModePrinter(mode, c.known), c.meant);
  }
}

TEST_F(PrinterSelectionTest, DeviceNameIsCutToTheCallersBuffer) {
  std::string longName(150, 'D');
  simwin::RemoveAllPrinters();
  AddPrinter(longName);
  simwin::SetDefaultPrinter(longName);
  ASSERT_TRUE(plenwick::GetDevMode());
  char name[100];
  memset(name, 'x', sizeof name);
  ASSERT_TRUE(plenwick::DeviceNameOf(plenwick::g_printerSelection.devNames(), name, sizeof name));
  EXPECT_EQ(std::string(name), std::string(99, 'D'));
  EXPECT_FALSE(plenwick::DeviceNameOf(nullptr, name, sizeof name));
}

}  // namespace

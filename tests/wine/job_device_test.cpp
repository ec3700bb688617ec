// Job device configuration against Wine's real default printer: the CUPS
// queue "PDF" that the test command sets up.
#include "device/job_device.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <string>
#include <thread>

#include "answer_box.h"
#include "core/print_job.h"
#include "default_printer.h"
#include "device/printer_selection.h"
#include "platform/handles.h"

namespace {

const char kCantOpen[] = "Plenwick - Can't Open Printer";

using plenwick_host::AnswerBox;

class WineJobDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_DEFAULT_PRINTER();
    plenwick::ResetPrintJob(job_);
    job_.fileName = "report.txt";
  }
  void TearDown() override {
    if (dc_) {
      EXPECT_TRUE(DeleteDC(dc_.release()));
    }
  }

  short SelectedPaperSize() {
    plenwick::GlobalLockGuard<DEVMODEA> mode(plenwick::g_printerSelection.devMode());
    EXPECT_TRUE(mode);
    return mode ? mode->dmPaperSize : 0;
  }

  plenwick::PrintJob job_{};
  plenwick::UniqueDC dc_;  // the device context the job was given
};

TEST_F(WineJobDevice, AJobWithoutPrinterPrintsOnTheDefaultPrinter) {
  EXPECT_TRUE(plenwick::ConfigureJobDevice(job_, dc_));
  EXPECT_NE(dc_.get(), nullptr);
  EXPECT_STREQ(job_.printerName, "PDF");
}

TEST_F(WineJobDevice, LandscapeTurnsThePrintableArea) {
  job_.orientation = DMORIENT_LANDSCAPE;
  ASSERT_TRUE(plenwick::ConfigureJobDevice(job_, dc_));
  HDC dc = dc_.get();
  EXPECT_GT(GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES));
}

TEST_F(WineJobDevice, FormNamesSelectTheirPaper) {
  const struct {
    const char* form;
    short code;
  } forms[] = {{"A4", DMPAPER_A4}, {"Letter", DMPAPER_LETTER}};
  for (const auto& f : forms) {
    SCOPED_TRACE(f.form);
    strcpy(job_.formName, f.form);
    ASSERT_TRUE(plenwick::ConfigureJobDevice(job_, dc_));
    EXPECT_EQ(SelectedPaperSize(), f.code);
    EXPECT_TRUE(DeleteDC(dc_.release()));
  }
}

// An unknown printer: the system's text in the box; Retry prints on the
// selected printer, Cancel gives up the file and the process goes on.
TEST_F(WineJobDevice, AnUnknownPrinterAsksTheUser) {
  for (WPARAM button : {static_cast<WPARAM>(IDRETRY), static_cast<WPARAM>(IDCANCEL)}) {
    SCOPED_TRACE(button);
    strcpy(job_.printerName, "No Such Printer");
    std::string text;
    std::thread answerer = AnswerBox(kCantOpen, button, &text);
    bool made = plenwick::ConfigureJobDevice(job_, dc_);
    answerer.join();
    std::cout << "Can't Open Printer box text: [" << text << "]\n";
    EXPECT_NE(text.find("Invalid printer name."), std::string::npos) << text;
    EXPECT_EQ(made, button == IDRETRY);
    EXPECT_EQ(static_cast<bool>(dc_), button == IDRETRY);
    if (dc_) {
      EXPECT_TRUE(DeleteDC(dc_.release()));
    }
    EXPECT_EQ(plenwick::GetSelectedPrinterName(), "PDF");
  }
}

}  // namespace

// Fixture of the text output tests: a report file with a printer device context on
// the simulated "PDF" printer, and what was drawn on it.
#pragma once

#include "render/text_output.h"
#include "test_support.h"

namespace plenwick_test {

class PrinterDcTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    plenwick::ResetPrintJob(job_);
    file_.deviceContext.reset(CreateDCA("wineps.drv", "PDF", nullptr, nullptr));
    ASSERT_NE(file_.dc(), nullptr);
    handlesWithDc_ = simwin::OpenHandleCount();
  }
  void TearDown() override {
    plenwick::ReleaseStyleFonts(file_);
    file_.deviceContext.reset();
    SimTest::TearDown();
  }

  static std::vector<simwin::GdiEvent> Events(simwin::GdiEvent::Kind kind) {
    std::vector<simwin::GdiEvent> found;
    for (const auto& event : simwin::GdiEvents()) {
      if (event.kind == kind) found.push_back(event);
    }
    return found;
  }

  plenwick::PrintJob job_;
  plenwick::ReportFile file_{job_};  // the report file being printed with the job
  size_t handlesWithDc_ = 0;
};

}  // namespace plenwick_test

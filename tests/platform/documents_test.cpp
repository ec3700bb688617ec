// Documents and pages on the printer "PDF": the order of the spooler's
// calls, calls out of order, the abort procedure, and a device context
// deleted with its document open, which throws the document away.
#include <cstdint>
#include <cstring>
#include <string>

#include "conformance.h"
#include "platform/handles.h"

namespace conformance {
namespace {

// What became of a document, where the platform lets a test see it.
void ExpectPrinted(const std::string& title, bool printed) {
  DocumentFate fate = FateOfDocument(title);
  if (fate == DocumentFate::kUnknown) return;
  if (printed) {
    EXPECT_EQ(fate, DocumentFate::kPrinted) << title;
  } else {
    EXPECT_NE(fate, DocumentFate::kPrinted) << title;
  }
}

class Documents : public PrinterContextTest {
 protected:
  int BeginDocument(const std::string& title) {
    DOCINFOA info{sizeof(DOCINFOA), title.c_str(), nullptr, nullptr, 0};
    return StartDocA(dc_, &info);
  }

  int PrintPage(const char* text) {
    int started = StartPage(dc_);
    if (started <= 0) return started;
    EXPECT_TRUE(TextOutA(dc_, 0, 0, text, static_cast<int>(strlen(text))));
    MoveToEx(dc_, 0, 60, nullptr);
    LineTo(dc_, 600, 60);
    return EndPage(dc_);
  }
};

TEST_F(Documents, ADocumentOfTwoPagesIsPrinted) {
  std::string title = UniqueName("two pages");
  EXPECT_GT(BeginDocument(title), 0);
  EXPECT_GT(PrintPage("page one"), 0);
  EXPECT_GT(PrintPage("page two"), 0);
  EXPECT_GT(EndDoc(dc_), 0);
  ExpectPrinted(title, true);
}

// A document with an output file goes there; a slash begins an option,
// except on Linux before a path that names a file.
TEST_F(Documents, ADocumentGoesToItsOutputFile) {
  std::string output = UniqueName("output") + ".out", renamed = output + ".pdf";
  DOCINFOA info{sizeof(DOCINFOA), output.c_str(), output.c_str(), nullptr, 0};
  ASSERT_GT(StartDocA(dc_, &info), 0);
  EXPECT_GT(PrintPage("to a file"), 0);
  EXPECT_GT(EndDoc(dc_), 0);
  EXPECT_TRUE(MoveFileExA(output.c_str(), renamed.c_str(), MOVEFILE_REPLACE_EXISTING));
  char absolute[4096] = "";
  EXPECT_GT(GetFullPathNameA(renamed.c_str(), sizeof absolute, absolute, nullptr), renamed.size());
  DIVERGES_ON(kLinux, "an absolute path is a report") {
    EXPECT_FALSE(SlashArgumentNamesFile(absolute));
  }
  EXPECT_FALSE(SlashArgumentNamesFile("/copies=2"));
  EXPECT_TRUE(DeleteFileA(renamed.c_str()));
}

// Calls out of their order fail, and leave the document as it was.
TEST_F(Documents, PageCallsOutsideTheirPlaceFail) {
  DIVERGES_ON(kWine, "Wine starts and ends a page outside a document") {
    EXPECT_LE(StartPage(dc_), 0);  // no document
    EXPECT_LE(EndPage(dc_), 0);
  }
  EXPECT_LE(EndDoc(dc_), 0);
  std::string title = UniqueName("out of order");
  ASSERT_GT(BeginDocument(title), 0);
  EXPECT_LE(BeginDocument(title + " again"), 0);  // one document at a time
  DIVERGES_ON(kWine, "Wine ends a page that was never started") { EXPECT_LE(EndPage(dc_), 0); }
  EXPECT_GT(PrintPage("the page"), 0);
  EXPECT_GT(EndDoc(dc_), 0);
  EXPECT_LE(EndDoc(dc_), 0);  // ended already
}

TEST_F(Documents, AnAbortedDocumentIsThrownAway) {
  std::string title = UniqueName("aborted");
  ASSERT_GT(BeginDocument(title), 0);
  EXPECT_GT(PrintPage("never printed"), 0);
  int aborted = AbortDoc(dc_);
  int ended = EndDoc(dc_);
  DIVERGES_ON(kWine, "Wine's AbortDoc answers 0, and EndDoc still ends the document") {
    EXPECT_GT(aborted, 0);
    EXPECT_LE(ended, 0);
  }
  ExpectPrinted(title, false);
  // The context prints the next document.
  EXPECT_GT(BeginDocument(UniqueName("after abort")), 0);
  EXPECT_GT(PrintPage("printed"), 0);
  EXPECT_GT(EndDoc(dc_), 0);
}

// Deleting a device context with its document open throws the document
// away: nothing half printed comes out, and the context is gone.
TEST_F(Documents, DeletingTheContextThrowsAnOpenDocumentAway) {
  std::string title = UniqueName("deleted open");
  ASSERT_GT(BeginDocument(title), 0);
  EXPECT_GT(PrintPage("never printed"), 0);
  ASSERT_GT(StartPage(dc_), 0);
  EXPECT_TRUE(DeleteDC(dc_));
  HDC deleted = dc_;
  dc_ = nullptr;
  EXPECT_LE(EndDoc(deleted), 0);
  ExpectPrinted(title, false);
}

// Raw report lines go to the printer through the PASSTHROUGH escape, where
// the driver has it; QUERYESCSUPPORT tells.
// The printer session of a print request changes no answer: within one
// (nested, as a request inside a request would be) every document is
// printed, the printer opens each time (while a document is open too),
// and a name that is no printer fails as outside.
TEST_F(Documents, APrinterSessionChangesNoAnswer) {
  plenwick::PrinterSessionScope request;
  char known[] = "PDF";
  char unknown[] = "No printer of this name";
  for (int round = 0; round < 2; ++round) {
    plenwick::PrinterSessionScope inner;
    for (int document = 0; document < 2; ++document) {
      std::string title = UniqueName("in a session " + std::to_string(document));
      EXPECT_GT(BeginDocument(title), 0);
      HANDLE printer = nullptr;
      EXPECT_TRUE(OpenPrinterA(known, &printer, nullptr));
      if (printer) ClosePrinter(printer);
      EXPECT_GT(PrintPage("a page"), 0);
      EXPECT_GT(EndDoc(dc_), 0);
      ExpectPrinted(title, true);
    }
    HANDLE none = nullptr;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(OpenPrinterA(unknown, &none, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
  }
}

TEST_F(Documents, TheDriverTellsWhetherItPassesDataThrough) {
  int32_t passThrough = PASSTHROUGH;
  int32_t unknown = 0x7A7A;
  EXPECT_EQ(
      Escape(dc_, QUERYESCSUPPORT, sizeof unknown, reinterpret_cast<LPCSTR>(&unknown), nullptr), 0);
  DIVERGES_ON(kLinux, "a PDF-writing driver has no PASSTHROUGH: -raw falls back to text") {
    EXPECT_NE(Escape(dc_, QUERYESCSUPPORT, sizeof passThrough,
                     reinterpret_cast<LPCSTR>(&passThrough), nullptr),
              0);
  }
}

int g_abortCalls = 0;
BOOL g_abortAnswer = TRUE;
BOOL CALLBACK CountingAbortProc(HDC, int) {
  ++g_abortCalls;
  return g_abortAnswer;
}

// The abort procedure is asked while pages are sent; when it says stop,
// the document is given up: the page and everything after it fails.
TEST_F(Documents, AnAbortProcedureThatSaysStopGivesTheDocumentUp) {
  g_abortCalls = 0;
  g_abortAnswer = TRUE;
  ASSERT_GT(SetAbortProc(dc_, CountingAbortProc), 0);
  std::string title = UniqueName("abort procedure");
  ASSERT_GT(BeginDocument(title), 0);
  int callsWhenStarted = g_abortCalls;
  EXPECT_GT(PrintPage("page one"), 0);
  DIVERGES_ON(kWine, "Wine asks the abort procedure only in StartDoc, never during pages") {
    EXPECT_GT(g_abortCalls, callsWhenStarted);
  }
  g_abortAnswer = FALSE;
  DIVERGES_ON(kWine, "Wine never asks the abort procedure during pages: its stop goes unheard") {
    EXPECT_LE(PrintPage("page two"), 0);
    EXPECT_LE(StartPage(dc_), 0);
    EXPECT_LE(EndDoc(dc_), 0);
  }
  ExpectPrinted(title, false);
}

}  // namespace
}  // namespace conformance

// Prints one page of styled runs on a real printer (the default CUPS queue
// "PDF" unless a printer name is given) through the style fonts, PutRun and
// WriteReportLine, between its own document and page calls, so that
// styled_runs_test.sh can read the runs back from the PDF.
#include <cstdio>
#include <cstring>

#include "platform/handles.h"
#include "render/overstrike.h"
#include "render/report_file.h"
#include "render/text_output.h"

namespace {

const char kDocumentName[] = "plenwick styled runs";

// The text of the page, row by row. The shell test knows these texts.
void PrintRuns(plenwick::ReportFile& file, int advance, int lineHeight) {
  plenwick::PrintJob& job = file.job;
  auto put = [&](plenwick::LineAttr attribute, int column, int row, const char* text) {
    plenwick::PutRun(file, attribute, column * advance, row * lineHeight, text,
                     static_cast<int>(strlen(text)));
  };
  put(plenwick::kPlain, 0, 1, "Plain");
  put(plenwick::kBold, 10, 1, "Bold");
  put(plenwick::kUnderline, 20, 1, "Under");
  put(plenwick::kBold | plenwick::kUnderline, 30, 1, "BoldUnder");
  put(plenwick::kBold, 30, 2, "Right");
  put(plenwick::kPlain, 4, 2, "Left");

  const char line[] = "Total: 1\b12\b23\b3 and n\b_o\b_t\b_e\b_ x\bm end";
  plenwick::WriteReportLine(file, line, static_cast<int>(sizeof line - 1), 4, advance, lineHeight);

  job.ansiTranslation = true;  // the report is in the OEM code page
  put(plenwick::kPlain, 0, 6,
      "OEM report: caf\x82 Gr\x81\xE1"
      "e");
  job.ansiTranslation = false;
  job.oemTranslation = true;  // ANSI text turned into OEM bytes
  put(plenwick::kPlain, 0, 7, "To OEM: \xE9\xB7\xA3");
  job.oemTranslation = false;
}

}  // namespace

int main(int argc, char** argv) {
  const char* printer = argc > 1 ? argv[1] : "PDF";
  plenwick::PrintJob job;
  plenwick::ResetPrintJob(job);
  plenwick::ReportFile file(job);
  file.deviceContext.reset(CreateDCA("WINSPOOL", printer, nullptr, nullptr));
  HDC dc = file.dc();
  if (!dc) {
    fprintf(stderr, "CreateDCA(%s) failed: %lu\n", printer, GetLastError());
    return 1;
  }
  job.pointSize = 12;
  plenwick::StyleFontsScope fonts(file);
  if (!fonts.complete()) {
    fprintf(stderr, "the style fonts could not all be made\n");
    return 1;
  }
  int advance = 0, lineHeight = 0;
  if (!plenwick::GetGridMetrics(dc, advance, lineHeight)) {
    fprintf(stderr, "GetTextMetricsA failed\n");
    return 1;
  }
  char face[LF_FACESIZE] = "";
  GetTextFaceA(dc, sizeof face, face);
  printf("face %s advance %d line height %d\n", face, advance, lineHeight);

  DOCINFOA document{};
  document.cbSize = sizeof document;
  document.lpszDocName = kDocumentName;
  if (StartDocA(dc, &document) <= 0) {
    fprintf(stderr, "StartDocA failed: %lu\n", GetLastError());
    return 1;
  }
  if (StartPage(dc) <= 0) {
    fprintf(stderr, "StartPage failed\n");
    AbortDoc(dc);
    return 1;
  }
  PrintRuns(file, advance, lineHeight);
  if (EndPage(dc) <= 0 || EndDoc(dc) <= 0) {
    fprintf(stderr, "EndPage or EndDoc failed\n");
    return 1;
  }
  return 0;
}

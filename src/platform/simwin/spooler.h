// Simulated print spooler on device contexts: documents, pages, the abort
// procedure and lines drawn. Every call is recorded in simwin::GdiEvents()
// with its result.
//
// The abort procedure is called once in every EndPage, as a spooler calls
// it while it sends the page's data. When it returns FALSE the document is
// abandoned: that EndPage returns SP_APPABORT, and so does every later
// StartPage, EndPage and EndDoc of the document (AbortDoc still ends it).
#pragma once

#include <string>
#include <vector>

#include "../winapi/spooler.h"
#include "dialogs.h"
#include "gdi.h"

namespace simwin {

// The nth call from now (1: the next one) of the named spooler call
// ("StartDoc", "StartPage", "EndPage", "EndDoc", "AbortDoc", "SetAbortProc")
// returns result. A result above 0 lets the call do its work; 0 or below
// makes it fail: no document or page is started, a page being ended is
// lost, a document being ended stays open, no abort procedure is called.
// A name the spooler does not know ends the test run.
void ForceSpoolerResult(const std::string& call, int result, int nth = 1);

// Just before the nth call of an abort procedure from now (1: the next
// one), the user presses Cancel in the cancel dialog: WM_COMMAND IDCANCEL
// is posted to the newest "AbrtDlg" dialog. Without such a dialog nothing
// is posted.
void PressCancelAtAbortCall(int nth = 1);
// Calls of abort procedures so far, and what the last one answered.
int AbortProcCalls();
bool LastAbortProcAnswer();

// A document as the spooler saw it, with its pages in order.
struct SpooledPage {
  std::vector<GdiEvent> texts;    // kText events
  std::vector<GdiEvent> lines;    // kLine events
  std::vector<GdiEvent> escapes;  // kEscape events
  bool ended = false;             // EndPage succeeded (a failed one loses the page)
  // The texts of the page, one row a line: runs at the same y are joined.
  std::string Text() const;
};

struct SpooledDocument {
  enum End { kOpen, kEnded, kAborted, kAbandoned, kDiscarded };
  std::string name;
  HDC dc = nullptr;
  // kEnded: EndDoc succeeded; kAborted: AbortDoc; kAbandoned: the abort
  // procedure said stop; kDiscarded: the device context was deleted with
  // the document open.
  End end = kOpen;
  std::vector<SpooledPage> pages;
};

// Documents started successfully, in order.
std::vector<SpooledDocument> Documents();
// The pages of the last document (none when no document was started).
std::vector<SpooledPage> Pages();

void ResetSpooler();

}  // namespace simwin

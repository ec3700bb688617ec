// One spooler document on a printer device context, owned from StartDocW
// to its end: EndDoc commits it, and a document that was not committed
// when its owner goes (a failed page call, a failed EndDoc, a cancel) is
// abandoned with AbortDoc. A document left open when its device context is
// deleted may stay behind in the spooler as a half-written job.
#pragma once

#include "core/wide_name.h"
#include "platform/win32.h"

namespace plenwick {

class SpoolerDocument {
 public:
  // The document's names (its title, an output file) are the library's
  // UTF-8 names, given to StartDocW whole.
  SpoolerDocument(HDC dc, const DOCINFOA& info) : dc_(dc), started_(Start(dc, info)) {}
  ~SpoolerDocument() { Abandon(); }
  SpoolerDocument(const SpoolerDocument&) = delete;
  SpoolerDocument& operator=(const SpoolerDocument&) = delete;

  // StartDocW's result: above 0 when the document was started.
  int started() const { return started_; }

  // Ends the document with EndDoc and returns its result. When EndDoc
  // fails the document stays open, to be abandoned.
  int Commit() {
    int result = EndDoc(dc_);
    committed_ = result > 0;
    return result;
  }

  // Gives up a document that was started and not committed, with AbortDoc,
  // once: a spooler that already gave the job up (Windows NT, when the
  // abort procedure said stop) is told once more and may refuse, which
  // changes nothing. Nothing after this ends the document.
  void Abandon() {
    if (started_ > 0 && !committed_ && !abandoned_) AbortDoc(dc_);
    abandoned_ = true;
  }

 private:
  static int Start(HDC dc, const DOCINFOA& info) {
    WideName title(info.lpszDocName);
    WideName output(info.lpszOutput);
    WideName type(info.lpszDatatype);
    DOCINFOW wide{info.cbSize, title.get(), output.get(), type.get(), info.fwType};
    return StartDocW(dc, &wide);
  }

  HDC dc_;
  int started_;
  bool committed_ = false;
  bool abandoned_ = false;
};

}  // namespace plenwick

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <map>

#include "internal.h"
#include "platform/winapi/common.h"

namespace {

// What the spooler keeps for one device context.
struct DcSpool {
  ABORTPROC abortProc = nullptr;
  bool inDoc = false;
  bool inPage = false;
  bool abandoned = false;  // the abort procedure said stop
  size_t document = 0;     // index into g_documents while inDoc
  POINT position{0, 0};
};

// A started document: where its events begin and end in GdiEvents().
struct DocumentRecord {
  std::string name;
  HDC dc;
  size_t firstEvent;
  size_t endEvent = std::numeric_limits<size_t>::max();
  simwin::SpooledDocument::End end = simwin::SpooledDocument::kOpen;
  std::string output;
};

struct ForcedResult {
  std::string call;
  int countdown;
  int result;
};

std::map<HDC, DcSpool> g_spools;
std::vector<DocumentRecord> g_documents;
std::vector<ForcedResult> g_forced;
// Actions to run before spooler calls or abort procedure calls
// ("AbortProc"), with their countdowns.
struct PlannedAction {
  std::string call;
  int countdown;
  std::function<void()> action;
};
std::vector<PlannedAction> g_plannedActions;
int g_abortCalls = 0;
simwin::SpoolerStyle g_style = simwin::SpoolerStyle::kWindowsNt;

const char* const kCallNames[] = {"StartDoc", "StartPage", "EndPage",
                                  "EndDoc",   "AbortDoc",  "SetAbortProc"};

// Counts a call against the forced results; true with the result when this
// call is one of them.
bool TakeForced(const char* call, int* result) {
  bool hit = false;
  for (auto it = g_forced.begin(); it != g_forced.end();) {
    if (it->call == call && --it->countdown == 0) {
      if (!hit) *result = it->result;
      hit = true;
      it = g_forced.erase(it);
    } else {
      ++it;
    }
  }
  return hit;
}

// Runs the actions due before this call.
void RunPlannedActions(const char* call) {
  // Due actions are taken out first: an action may add new ones.
  std::vector<std::function<void()>> due;
  for (auto it = g_plannedActions.begin(); it != g_plannedActions.end();) {
    if (it->call == call && --it->countdown == 0) {
      due.push_back(std::move(it->action));
      it = g_plannedActions.erase(it);
    } else {
      ++it;
    }
  }
  for (auto& action : due) action();
}

int Record(simwin::GdiEvent::Kind kind, HDC dc, int result, const std::string& text = "") {
  simwin::GdiEvent event{};
  event.kind = kind;
  event.dc = dc;
  event.text = text;
  event.result = result;
  simwin::detail::RecordGdiEvent(event);
  return result;
}

void EndDocumentRecord(DcSpool& spool, simwin::SpooledDocument::End end) {
  DocumentRecord& document = g_documents[spool.document];
  if (document.end == simwin::SpooledDocument::kOpen || end == simwin::SpooledDocument::kAborted) {
    document.end = end;
  }
  document.endEvent = simwin::GdiEvents().size();
  spool.inDoc = false;
  spool.inPage = false;
}

// Lets the application's abort procedure run; true when it says go on.
bool AskAbortProc(HDC dc, const DcSpool& spool) {
  if (!spool.abortProc) return true;
  ++g_abortCalls;
  RunPlannedActions("AbortProc");
  return spool.abortProc(dc, 0) != FALSE;
}

// A page call of Windows NT asks the abort procedure while it takes the
// page; FALSE abandons the document. Wine's page calls never ask it.
bool PageCallGoesOn(HDC dc, DcSpool& spool) {
  if (g_style != simwin::SpoolerStyle::kWindowsNt || AskAbortProc(dc, spool)) return true;
  spool.abandoned = true;
  g_documents[spool.document].end = simwin::SpooledDocument::kAbandoned;
  return false;
}

// The result of a page or document call on a device context without an
// open document, or with one that was abandoned; 0 when the call may go on.
int DocumentError(const DcSpool* spool) {
  if (!spool || !spool->inDoc) return SP_ERROR;
  return spool->abandoned ? SP_APPABORT : 0;
}

DcSpool* FindSpool(HDC dc) {
  auto it = g_spools.find(dc);
  return it == g_spools.end() ? nullptr : &it->second;
}

int EndPageWork(HDC dc, DcSpool& spool, int success) {
  spool.inPage = false;
  int result = PageCallGoesOn(dc, spool) ? success : SP_APPABORT;
  return Record(simwin::GdiEvent::kEndPage, dc, result);
}

}  // namespace

int StartDocA(HDC dc, const DOCINFOA* info) {
  std::string name = info && info->lpszDocName ? info->lpszDocName : "(null)";
  RunPlannedActions("StartDoc");
  int forced = 0;
  bool isForced = TakeForced("StartDoc", &forced);
  DcSpool* spool = FindSpool(dc);
  if (isForced && forced <= 0) return Record(simwin::GdiEvent::kStartDoc, dc, forced, name);
  if (!spool || spool->inDoc) return Record(simwin::GdiEvent::kStartDoc, dc, SP_ERROR, name);
  // Wine asks the abort procedure once, before the document starts.
  if (g_style == simwin::SpoolerStyle::kWine && !AskAbortProc(dc, *spool)) {
    return Record(simwin::GdiEvent::kStartDoc, dc, 0, name);
  }
  // A driver writes to the output file from the start of the document.
  std::string output = info && info->lpszOutput ? info->lpszOutput : "";
  if (!output.empty()) {
    FILE* file = fopen(output.c_str(), "w");
    if (!file) {
      SetLastError(winapi::ErrorFromErrno(errno));
      return Record(simwin::GdiEvent::kStartDoc, dc, SP_ERROR, name);
    }
    fputs(name.c_str(), file);
    fclose(file);
  }
  spool->inDoc = true;
  spool->inPage = false;
  spool->abandoned = false;
  spool->document = g_documents.size();
  g_documents.push_back(DocumentRecord{name, dc, simwin::GdiEvents().size(),
                                       std::numeric_limits<size_t>::max(),
                                       simwin::SpooledDocument::kOpen, output});
  int jobId = static_cast<int>(g_documents.size());
  return Record(simwin::GdiEvent::kStartDoc, dc, isForced ? forced : jobId, name);
}

int StartPage(HDC dc) {
  RunPlannedActions("StartPage");
  int forced = 1;
  bool isForced = TakeForced("StartPage", &forced);
  if (isForced && forced <= 0) return Record(simwin::GdiEvent::kStartPage, dc, forced);
  DcSpool* spool = FindSpool(dc);
  int error = DocumentError(spool);
  if (!error && spool->inPage) error = SP_ERROR;
  if (!error && !PageCallGoesOn(dc, *spool)) error = SP_APPABORT;
  if (error) return Record(simwin::GdiEvent::kStartPage, dc, error);
  spool->inPage = true;
  return Record(simwin::GdiEvent::kStartPage, dc, forced);
}

int EndPage(HDC dc) {
  RunPlannedActions("EndPage");
  int forced = 1;
  bool isForced = TakeForced("EndPage", &forced);
  DcSpool* spool = FindSpool(dc);
  if (isForced && forced <= 0) {
    if (spool) spool->inPage = false;  // a page that failed to go out is gone
    return Record(simwin::GdiEvent::kEndPage, dc, forced);
  }
  int error = DocumentError(spool);
  if (!error && !spool->inPage) error = SP_ERROR;
  if (error) return Record(simwin::GdiEvent::kEndPage, dc, error);
  return EndPageWork(dc, *spool, forced);
}

int EndDoc(HDC dc) {
  RunPlannedActions("EndDoc");
  int forced = 1;
  bool isForced = TakeForced("EndDoc", &forced);
  if (isForced && forced <= 0) return Record(simwin::GdiEvent::kEndDoc, dc, forced);
  DcSpool* spool = FindSpool(dc);
  int error = DocumentError(spool);
  // A page still open is ended first, as EndPage would end it.
  if (!error && spool->inPage && EndPageWork(dc, *spool, 1) <= 0) error = SP_APPABORT;
  if (error == SP_APPABORT) EndDocumentRecord(*spool, simwin::SpooledDocument::kAbandoned);
  if (error) return Record(simwin::GdiEvent::kEndDoc, dc, error);
  int result = Record(simwin::GdiEvent::kEndDoc, dc, forced);
  EndDocumentRecord(*spool, simwin::SpooledDocument::kEnded);
  return result;
}

int AbortDoc(HDC dc) {
  RunPlannedActions("AbortDoc");
  int forced = 1;
  bool isForced = TakeForced("AbortDoc", &forced);
  if (isForced && forced <= 0) return Record(simwin::GdiEvent::kAbortDoc, dc, forced);
  DcSpool* spool = FindSpool(dc);
  if (!spool || !spool->inDoc) return Record(simwin::GdiEvent::kAbortDoc, dc, SP_ERROR);
  int result = Record(simwin::GdiEvent::kAbortDoc, dc, forced);
  EndDocumentRecord(*spool, simwin::SpooledDocument::kAborted);
  return result;
}

int SetAbortProc(HDC dc, ABORTPROC procedure) {
  RunPlannedActions("SetAbortProc");
  int forced = 1;
  bool isForced = TakeForced("SetAbortProc", &forced);
  if (isForced && forced <= 0) return forced;
  DcSpool* spool = FindSpool(dc);
  if (!spool) return SP_ERROR;
  spool->abortProc = procedure;
  return forced;
}

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
  DcSpool* spool = FindSpool(dc);
  if (!spool) return FALSE;
  if (previous) *previous = spool->position;
  spool->position = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
  DcSpool* spool = FindSpool(dc);
  if (!spool) return FALSE;
  simwin::GdiEvent event{};
  event.kind = simwin::GdiEvent::kLine;
  event.dc = dc;
  event.x = spool->position.x;
  event.y = spool->position.y;
  event.x2 = x;
  event.y2 = y;
  event.result = TRUE;
  simwin::detail::RecordGdiEvent(event);
  spool->position = POINT{x, y};
  return TRUE;
}

namespace simwin {
namespace detail {

void SpoolerOnCreateDC(HDC dc, const PrinterSpec&) { g_spools[dc] = DcSpool{}; }

void SpoolerOnDeleteDC(HDC dc) {
  DcSpool* spool = FindSpool(dc);
  if (spool && spool->inDoc) EndDocumentRecord(*spool, SpooledDocument::kDiscarded);
  g_spools.erase(dc);
}

}  // namespace detail

namespace {

// A call name a test got wrong would never come: the run ends at once.
void CheckCallName(const char* what, const std::string& call, int nth) {
  bool known = false;
  for (const char* name : kCallNames) known = known || call == name;
  if (!known || nth < 1) {
    fprintf(stderr, "%s: no spooler call \"%s\" (nth %d)\n", what, call.c_str(), nth);
    abort();
  }
}

}  // namespace

void SetSpoolerStyle(SpoolerStyle style) { g_style = style; }

void ForceSpoolerResult(const std::string& call, int result, int nth) {
  CheckCallName("ForceSpoolerResult", call, nth);
  g_forced.push_back(ForcedResult{call, nth, result});
}

void BeforeAbortProcCall(int nth, std::function<void()> action) {
  g_plannedActions.push_back({"AbortProc", nth < 1 ? 1 : nth, std::move(action)});
}

void BeforeSpoolerCall(const std::string& call, int nth, std::function<void()> action) {
  CheckCallName("BeforeSpoolerCall", call, nth);
  g_plannedActions.push_back({call, nth, std::move(action)});
}
int AbortProcCalls() { return g_abortCalls; }

std::string SpooledPage::Text() const {
  std::string text;
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i > 0 && texts[i].y != texts[i - 1].y) text += '\n';
    text += texts[i].text;
  }
  return text;
}

std::vector<SpooledDocument> Documents() {
  const std::vector<GdiEvent>& events = GdiEvents();
  std::vector<SpooledDocument> documents;
  for (const DocumentRecord& record : g_documents) {
    SpooledDocument document{record.name, record.dc, record.end, {}, record.output};
    SpooledPage* page = nullptr;  // the page open at this point of the record
    size_t last = std::min(record.endEvent, events.size());
    for (size_t i = record.firstEvent + 1; i < last; ++i) {
      const GdiEvent& event = events[i];
      if (event.dc != record.dc) continue;
      if (event.kind == GdiEvent::kStartPage && event.result > 0) {
        document.pages.emplace_back();
        page = &document.pages.back();
      } else if (!page) {
        continue;  // drawn outside any page: on no sheet of paper
      } else if (event.kind == GdiEvent::kText) {
        page->texts.push_back(event);
      } else if (event.kind == GdiEvent::kLine) {
        page->lines.push_back(event);
      } else if (event.kind == GdiEvent::kEscape) {
        page->escapes.push_back(event);
      } else if (event.kind == GdiEvent::kEndPage) {
        page->ended = event.result > 0;
        page = nullptr;
      }
    }
    documents.push_back(std::move(document));
  }
  return documents;
}

std::vector<SpooledPage> Pages() {
  std::vector<SpooledDocument> documents = Documents();
  return documents.empty() ? std::vector<SpooledPage>() : documents.back().pages;
}

namespace detail {

void ResetSpooler() {
  g_spools.clear();
  g_documents.clear();
  g_forced.clear();
  g_plannedActions.clear();
  g_abortCalls = 0;
}

}  // namespace detail
}  // namespace simwin

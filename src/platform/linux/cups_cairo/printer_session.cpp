#include "platform/linux/cups_cairo/printer_session.h"

#include "platform/ascii.h"

namespace linux_platform {
namespace {

// A session belongs to the thread that runs its request; another thread
// (a Java thread asking for the printer's name meanwhile) looks its
// printers up as without one.
thread_local std::unique_ptr<PrinterSession> t_session;

std::string Folded(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) c = plenwick::AsciiLower(c);
  return folded;
}

}  // namespace

PrinterSession* PrinterSession::Current() { return t_session.get(); }

void PrinterSession::Begin() {
  if (!t_session) t_session = std::make_unique<PrinterSession>();
  ++t_session->depth_;
}

void PrinterSession::End() {
  if (!t_session || --t_session->depth_ > 0) return;
  // A job still open keeps the connection it shares; the session's own
  // hold on it ends here.
  t_session.reset();
}

std::shared_ptr<ServerConnection> PrinterSession::Connection() {
  if (!connection_ || !connection_->usable()) {
    connection_ = ServerConnection::ToServer(kServerSilenceSeconds);
  }
  return connection_;
}

void PrinterSession::Forget(const std::shared_ptr<Printer>& printer) {
  for (auto entry = printers_.begin(); entry != printers_.end();) {
    entry = entry->second == printer ? printers_.erase(entry) : std::next(entry);
  }
}

std::shared_ptr<Destination> PrinterSession::Find(const std::string& name) {
  SigpipeHeld held;
  std::string key = Folded(name);
  auto known = printers_.find(key);
  if (known != printers_.end() && !known->second->askAgain) return known->second->destination;
  std::shared_ptr<ServerConnection> connection = Connection();
  if (!connection) return nullptr;
  if (known != printers_.end()) {
    std::shared_ptr<Printer> printer = known->second;
    std::shared_ptr<Destination> again = printer->destination->AskedAgain(connection->get());
    if (!again) {
      Forget(printer);
      return nullptr;
    }
    printer->destination = again;
    printer->askAgain = false;
    return again;
  }
  std::shared_ptr<Destination> found = Destination::LookUp(connection->get(), name);
  if (!found) return nullptr;
  auto printer = std::make_shared<Printer>();
  printer->destination = found;
  printers_[Folded(found->name())] = printer;
  printers_[key] = printer;
  return found;
}

void PrinterSession::DocumentStarted(const Destination& destination) {
  auto known = printers_.find(Folded(destination.name()));
  if (known != printers_.end()) known->second->askAgain = true;
}

http_t* ConnectionForLookups() {
  PrinterSession* session = PrinterSession::Current();
  if (!session) return CUPS_HTTP_DEFAULT;
  std::shared_ptr<ServerConnection> connection = session->Connection();
  return connection ? connection->get() : CUPS_HTTP_DEFAULT;
}

}  // namespace linux_platform

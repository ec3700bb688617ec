// The print server as one print request sees it (BeginPrinterSession to
// EndPrinterSession on the request's thread): one connection, which the
// request's lookups and jobs share, and every printer the request names
// looked up once. On a distant server each request is a round trip, and a
// report would otherwise look its printer up at every step (open, device
// context, device mode, job).
//
// What must be fresh stays fresh: before each further document on a
// printer the server is asked for it again, so a printer taken away since
// fails to open and one that stopped taking jobs refuses the job, as
// without a session. Nothing outlives the session: a later request asks
// anew.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/linux/cups_cairo/cups_destination.h"
#include "platform/linux/cups_cairo/server_connection.h"

namespace linux_platform {

class PrinterSession {
 public:
  // The session of the calling thread; null outside one.
  static PrinterSession* Current();
  // Sessions nest; the outermost end closes the connection and forgets
  // every printer.
  static void Begin();
  static void End();

  // The destination of that name ("" for the default): the one found
  // before in the session unless a document went to it since, else the
  // server's answer. Null when there is none or the server cannot be
  // reached.
  std::shared_ptr<Destination> Find(const std::string& name);
  // A document starts on the destination: the next lookup of it asks the
  // server again.
  void DocumentStarted(const Destination& destination);
  // The session's connection to the print server, made when first needed,
  // and again after one that failed or while a document is on its way on
  // it; null when the server cannot be reached.
  std::shared_ptr<ServerConnection> Connection();

 private:
  struct Printer {
    std::shared_ptr<Destination> destination;
    bool askAgain = false;
  };
  void Forget(const std::shared_ptr<Printer>& printer);

  int depth_ = 0;
  std::shared_ptr<ServerConnection> connection_;
  // By name folded to lower case; the default also under "".
  std::map<std::string, std::shared_ptr<Printer>> printers_;
};

// The connection that lookups and reads of a destination's details go on:
// the session's, or null (libcups' own connection of the thread) outside
// one.
http_t* ConnectionForLookups();

}  // namespace linux_platform

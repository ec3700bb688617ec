// A CUPS destination: found by name, its default settings and media, and
// whether it takes PostScript.
#pragma once

#include <cups/cups.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/linux/cups_cairo/owners.h"

namespace linux_platform {

// Starts libcups once, before its first use, and sets the calling thread's
// answer to a server that asks for a password: none (see NoPassword). Call
// it on every thread before that thread's first libcups call.
void InitializeCups();

// libcups' password callback of every thread that prints: a library inside
// a Java virtual machine has no terminal to ask on (libcups' own callback
// would wait there for a password nobody sees asked for), so it answers
// with no password, which ends the request as refused, and says so on
// standard error, naming the server and the resource. Credentials that
// need no question (Kerberos) still work.
const char* NoPassword(const char* prompt, http_t* http, const char* method, const char* resource,
                       void* data);

// A queue of the print server in use, as a list shows it: its name and
// the description its administrator gave it (empty when none).
struct DestinationEntry {
  std::string name;
  std::string description;
};
// The queues of the print server in use, default first, then by name.
// Printers that DNS-SD finds on the network but the server has no queue
// for are left out: nothing printed here could reach them by that name.
std::vector<DestinationEntry> ListDestinations();

class Destination {
 public:
  // The destination of that name (CUPS compares names without regard to
  // case), or the default destination for an empty name, with its
  // details. Inside a printer session it is the session's answer
  // (printer_session.h); outside one it is asked of the print server on
  // libcups' connection of the thread. Null when there is none or the
  // server cannot be reached.
  static std::shared_ptr<Destination> Find(const std::string& name);
  // Asks the print server on http (null: libcups' connection).
  static std::shared_ptr<Destination> LookUp(http_t* http, const std::string& name);
  // The same destination with its details asked again on http; null when
  // the server no longer has it or did not answer.
  std::shared_ptr<Destination> AskedAgain(http_t* http) const;

  const std::string& name() const { return name_; }
  cups_dest_t* dest() const { return dest_.get(); }
  cups_dinfo_t* info() const { return info_.get(); }
  // The URI of the device the queue prints on, or null.
  const char* DeviceUri() const;
  // Whether it is a queue of the print server in use, which then takes its
  // jobs, rather than a printer found on the network.
  bool OnServer() const;
  // Its path on the server (as /printers/NAME), empty when it has none.
  std::string Resource() const;

  // The value of a job attribute the destination prints with unless told:
  // the queue's own option, else its default; empty when it has neither.
  std::string DefaultKeyword(const char* attribute) const;
  // The values the destination supports of a job attribute (as
  // copies-supported, media-source-supported), or null.
  ipp_attribute_t* Supported(const char* attribute) const;
  bool Supports(const char* attribute, const char* value) const;
  // The destination's media of a PWG name, of a size (hundredths of mm,
  // exactly), and its default media. False when it has none.
  bool MediaByName(const char* name, cups_size_t& size) const;
  bool MediaBySize(int width, int length, cups_size_t& size) const;
  bool DefaultMedia(cups_size_t& size) const;
  // Whether the destination is a PostScript printer: a queue whose PPD
  // names no filter of its own, so that CUPS hands it PostScript. Asked
  // once; the answer stays with the destination.
  bool TakesPostScript();

 private:
  Destination() = default;
  bool AskPostScript();

  std::string name_;
  UniqueDest dest_;
  UniqueDestInfo info_;
  enum class Answer { kNotAsked, kYes, kNo } postscript_ = Answer::kNotAsked;
};

}  // namespace linux_platform

// CUPS destinations as the printers of this platform: looking one up by
// name, its default settings as a device mode, and the media a device mode
// stands for.
#pragma once

#include <cups/cups.h>

#include <memory>
#include <string>

#include "platform/winapi/winapi.h"

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

struct DestinationsDeleter {
  int count;
  void operator()(cups_dest_t* dests) const { cupsFreeDests(count, dests); }
};
struct DestInfoDeleter {
  void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
using UniqueDestInfo = std::unique_ptr<cups_dinfo_t, DestInfoDeleter>;

// One destination, copied out of the server's list, with what it supports.
class Destination {
 public:
  // The destination of that name (CUPS compares names without regard to
  // case), or the default destination for an empty name. Empty when there
  // is none or the server cannot be reached.
  static std::unique_ptr<Destination> Find(const std::string& name);

  const std::string& name() const { return name_; }
  cups_dest_t* dest() { return dests_.get(); }
  cups_dinfo_t* info() { return info_.get(); }

  // The device mode of the destination's default settings.
  void FillDefaults(DEVMODEA& mode);
  // The media of a device mode: paper code or custom size, or the
  // destination's default media. Sizes and margins in hundredths of mm.
  cups_size_t MediaOf(const DEVMODEA& mode);
  // The IPP job attributes of a device mode, added to options.
  int AddJobOptions(const DEVMODEA& mode, int count, cups_option_t** options);
  // Whether the destination is a PostScript printer: a queue whose PPD
  // names no filter of its own, so that CUPS hands it PostScript.
  bool TakesPostScript();

 private:
  std::string DefaultKeyword(const char* attribute);

  std::string name_;
  std::unique_ptr<cups_dest_t, DestinationsDeleter> dests_{nullptr, {0}};
  UniqueDestInfo info_;
};

// Takes the flagged fields of input into mode and keeps every field within
// what a device mode may hold, as a driver validating a device mode does.
void MergeFlaggedFields(DEVMODEA& mode, const DEVMODEA& input);

// The PWG media name of a paper code, or null for a code without one.
const char* MediaNameOfPaper(int paperCode);
// The paper code of a PWG media name, or 0.
int PaperOfMediaName(const char* name);
// The IPP media-source keyword of a paper bin, or empty.
std::string MediaSourceOfBin(int bin);
int BinOfMediaSource(const char* keyword);

}  // namespace linux_platform

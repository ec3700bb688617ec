#include "platform/linux/cups_cairo/cups_destination.h"

#include <cups/ppd.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace linux_platform {

const char* NoPassword(const char*, http_t* http, const char* method, const char* resource, void*) {
  char host[256] = "?";
  int port = 0;
  if (http) {
    httpGetHostname(http, host, sizeof host);
    if (http_addr_t* address = httpGetAddress(http)) port = httpAddrPort(address);
  }
  fprintf(stderr,
          "Print server %s:%d asks for a password (%s) for %s: none is given, this library "
          "never asks for one, so the request is refused.\n",
          host, port, method && *method ? method : "POST", resource && *resource ? resource : "/");
  fflush(stderr);
  return nullptr;
}

void InitializeCups() {
  // libcups ignores SIGPIPE when it starts its network layer. The process
  // we live in (a Java virtual machine) has its own handler, which ignores
  // the signal as well and must stay in place.
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction saved {};
    sigaction(SIGPIPE, nullptr, &saved);
    httpInitialize();
    sigaction(SIGPIPE, &saved, nullptr);
  });
  // libcups keeps the password callback per thread.
  thread_local bool answered = false;
  if (!answered) {
    cupsSetPasswordCB2(NoPassword, nullptr);
    answered = true;
  }
}

std::vector<DestinationEntry> ListDestinations() {
  InitializeCups();
  struct Found {
    std::vector<DestinationEntry> entries;
    std::string defaultName;
  } found;
  auto add = [](void* list, unsigned, cups_dest_t* dest) -> int {
    if (dest->instance) return 1;  // an instance is its queue with other options
    auto& into = *static_cast<Found*>(list);
    const char* info = cupsGetOption("printer-info", dest->num_options, dest->options);
    into.entries.push_back({dest->name, info && strcmp(info, dest->name) != 0 ? info : ""});
    if (dest->is_default) into.defaultName = dest->name;
    return 1;
  };
  // The server's own queues only; no time is spent browsing the network.
  cupsEnumDests(CUPS_DEST_FLAGS_NONE, 0, nullptr, 0, CUPS_PRINTER_DISCOVERED, add, &found);
  std::vector<DestinationEntry>& entries = found.entries;
  std::sort(entries.begin(), entries.end(),
            [](const DestinationEntry& a, const DestinationEntry& b) { return a.name < b.name; });
  std::stable_partition(entries.begin(), entries.end(), [&](const DestinationEntry& entry) {
    return entry.name == found.defaultName;
  });
  return entries;
}

std::unique_ptr<Destination> Destination::Find(const std::string& name) {
  InitializeCups();
  // The server is asked for this one destination (the default one without
  // a name). A list of all of them would also browse the network for
  // printers for a second wherever DNS-SD runs, as on most desktops;
  // libcups browses only for a name its server does not know.
  cups_dest_t* found =
      cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.empty() ? nullptr : name.c_str(), nullptr);
  if (!found) return nullptr;
  auto destination = std::make_unique<Destination>();
  destination->name_ = found->name;
  destination->dest_.reset(found);
  destination->info_.reset(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, destination->dest()));
  if (!destination->info_) return nullptr;
  return destination;
}

std::string Destination::DefaultKeyword(const char* attribute) {
  const char* option = cupsGetOption(attribute, dest()->num_options, dest()->options);
  if (option) return option;
  ipp_attribute_t* value = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest(), info(), attribute);
  char text[256] = "";
  if (value) ippAttributeString(value, text, sizeof text);
  return text;
}

const char* Destination::DeviceUri() {
  return cupsGetOption("device-uri", dest()->num_options, dest()->options);
}

bool Destination::MediaByName(const char* name, cups_size_t& size) {
  return cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest(), info(), name, CUPS_MEDIA_FLAGS_DEFAULT,
                                &size) != 0;
}

bool Destination::MediaBySize(int width, int length, cups_size_t& size) {
  return cupsGetDestMediaBySize(CUPS_HTTP_DEFAULT, dest(), info(), width, length,
                                CUPS_MEDIA_FLAGS_DEFAULT, &size) &&
         size.width == width && size.length == length;
}

bool Destination::DefaultMedia(cups_size_t& size) {
  return cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest(), info(), CUPS_MEDIA_FLAGS_DEFAULT,
                                 &size) != 0;
}

// The PPD is the one place that says whether a queue's printer takes
// PostScript; libcups reads it only through its older PPD functions.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
bool Destination::TakesPostScript() {
  char path[1024] = "";
  time_t modified = 0;
  if (cupsGetPPD3(CUPS_HTTP_DEFAULT, name_.c_str(), &modified, path, sizeof path) !=
      HTTP_STATUS_OK) {
    return false;  // no PPD: a raw or driverless queue
  }
  ppd_file_t* ppd = ppdOpenFile(path);
  unlink(path);
  if (!ppd) return false;
  bool postscript = ppd->num_filters == 0 && !ppdFindAttr(ppd, "cupsFilter2", nullptr);
  ppdClose(ppd);
  return postscript;
}
#pragma GCC diagnostic pop

}  // namespace linux_platform

#include "platform/linux/cups_cairo/cups_destination.h"

#include <cups/ppd.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <mutex>

#include "platform/ascii.h"
#include "platform/linux/cups_cairo/printer_session.h"

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

namespace {

// cupsGetNamedDest adds to a queue the options that the lpoptions files
// (the system's and the user's) give it. Where neither file exists the
// server's answer is the whole destination.
bool ClientOptionFiles() {
  const char* root = getenv("CUPS_SERVERROOT");
  std::string system = std::string(root && *root ? root : "/etc/cups") + "/lpoptions";
  if (access(system.c_str(), F_OK) == 0) return true;
  const char* home = getenv("HOME");
  std::string user;
  if (home && *home) {
    user = home;
  } else if (passwd* entry = getpwuid(getuid())) {
    user = entry->pw_dir;
  }
  return !user.empty() && access((user + "/.cups/lpoptions").c_str(), F_OK) == 0;
}

// The queue of that name on the print server in use, as a destination that
// names its printer URI the way libcups' own job calls name a queue
// (cupsStartDocument), made without asking the server.
UniqueDest QueueOnServer(const std::string& name) {
  char uri[HTTP_MAX_URI];
  if (httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                       "/printers/%s", name.c_str()) < HTTP_URI_STATUS_OK) {
    return UniqueDest();
  }
  UniqueDest dest(cupsGetDestWithURI(name.c_str(), uri));
  if (!dest) return dest;
  // The URI is the queue's, as the server gives it, not a device's.
  cups_dest_t* queue = dest.get();
  queue->num_options = cupsRemoveOption("device-uri", queue->num_options, &queue->options);
  queue->num_options = cupsRemoveOption("printer-info", queue->num_options, &queue->options);
  queue->num_options =
      cupsAddOption("printer-uri-supported", uri, queue->num_options, &queue->options);
  return dest;
}

// The host, port and path of a printer URI; false when it is none.
bool SeparateUri(const char* uri, std::string& host, int& port, std::string& resource) {
  char scheme[32], user[256], hostPart[256], path[1024];
  if (!uri ||
      httpSeparateURI(HTTP_URI_CODING_ALL, uri, scheme, sizeof scheme, user, sizeof user, hostPart,
                      sizeof hostPart, &port, path, sizeof path) < HTTP_URI_STATUS_OK) {
    return false;
  }
  host = hostPart;
  resource = path;
  return true;
}

}  // namespace

std::shared_ptr<Destination> Destination::LookUp(http_t* http, const std::string& name) {
  InitializeCups();
  UniqueDest dest;
  UniqueDestInfo info;
  // A named queue is asked for its details alone, one request. A name the
  // server has no queue of may still be a printer on the network, which
  // cupsGetNamedDest finds; any other failure is the server's.
  if (!name.empty() && !ClientOptionFiles()) {
    dest = QueueOnServer(name);
    if (dest) {
      info.reset(cupsCopyDestInfo(http, dest.get()));
      if (!info && cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND) return nullptr;
    }
  }
  if (!info) {
    // The server is asked for this one destination (the default one
    // without a name). A list of all of them would also browse the
    // network for printers for a second wherever DNS-SD runs, as on most
    // desktops; libcups browses only for a name its server does not know.
    dest.reset(cupsGetNamedDest(http, name.empty() ? nullptr : name.c_str(), nullptr));
    if (!dest) return nullptr;
    info.reset(cupsCopyDestInfo(http, dest.get()));
    if (!info) return nullptr;
  }
  std::shared_ptr<Destination> destination(new Destination);
  destination->name_ = dest.get()->name;
  destination->dest_ = std::move(dest);
  destination->info_ = std::move(info);
  return destination;
}

std::shared_ptr<Destination> Destination::AskedAgain(http_t* http) const {
  cups_dest_t* copy = nullptr;
  if (cupsCopyDest(dest(), 0, &copy) != 1 || !copy) return nullptr;
  std::shared_ptr<Destination> again(new Destination);
  again->dest_.reset(copy);
  again->info_.reset(cupsCopyDestInfo(http, copy));
  if (!again->info_) return nullptr;
  again->name_ = name_;
  again->postscript_ = postscript_;
  return again;
}

std::shared_ptr<Destination> Destination::Find(const std::string& name) {
  if (PrinterSession* session = PrinterSession::Current()) return session->Find(name);
  return LookUp(CUPS_HTTP_DEFAULT, name);
}

bool Destination::OnServer() const {
  std::string host, resource;
  int port = 0;
  if (!SeparateUri(cupsGetOption("printer-uri-supported", dest()->num_options, dest()->options),
                   host, port, resource)) {
    return false;
  }
  // Asked over the server's local socket, the server names itself
  // "localhost" in its printer URIs without its port: such a URI is never
  // followed, it would reach whatever server listens on the default port.
  return plenwick::EqualsIgnoreCase(host.c_str(), "localhost") ||
         (plenwick::EqualsIgnoreCase(host.c_str(), cupsServer()) && port == ippPort());
}

std::string Destination::Resource() const {
  std::string host, resource;
  int port = 0;
  SeparateUri(cupsGetOption("printer-uri-supported", dest()->num_options, dest()->options), host,
              port, resource);
  return resource;
}

ipp_attribute_t* Destination::Supported(const char* attribute) const {
  return cupsFindDestSupported(ConnectionForLookups(), dest(), info(), attribute);
}

bool Destination::Supports(const char* attribute, const char* value) const {
  return cupsCheckDestSupported(ConnectionForLookups(), dest(), info(), attribute, value) != 0;
}

std::string Destination::DefaultKeyword(const char* attribute) const {
  const char* option = cupsGetOption(attribute, dest()->num_options, dest()->options);
  if (option) return option;
  ipp_attribute_t* value = cupsFindDestDefault(ConnectionForLookups(), dest(), info(), attribute);
  char text[256] = "";
  if (value) ippAttributeString(value, text, sizeof text);
  return text;
}

const char* Destination::DeviceUri() const {
  return cupsGetOption("device-uri", dest()->num_options, dest()->options);
}

bool Destination::MediaByName(const char* name, cups_size_t& size) const {
  return cupsGetDestMediaByName(ConnectionForLookups(), dest(), info(), name,
                                CUPS_MEDIA_FLAGS_DEFAULT, &size) != 0;
}

bool Destination::MediaBySize(int width, int length, cups_size_t& size) const {
  return cupsGetDestMediaBySize(ConnectionForLookups(), dest(), info(), width, length,
                                CUPS_MEDIA_FLAGS_DEFAULT, &size) &&
         size.width == width && size.length == length;
}

bool Destination::DefaultMedia(cups_size_t& size) const {
  return cupsGetDestMediaDefault(ConnectionForLookups(), dest(), info(), CUPS_MEDIA_FLAGS_DEFAULT,
                                 &size) != 0;
}

bool Destination::TakesPostScript() {
  if (postscript_ == Answer::kNotAsked) postscript_ = AskPostScript() ? Answer::kYes : Answer::kNo;
  return postscript_ == Answer::kYes;
}

// The PPD is the one place that says whether a queue's printer takes
// PostScript; libcups reads it only through its older PPD functions.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
bool Destination::AskPostScript() {
  char path[1024] = "";
  if (OnServer()) {
    http_t* http = ConnectionForLookups();
    // The server describes the port monitors of a queue's PPD, and only of
    // a PPD: a queue without them has none (a raw queue, a driverless
    // printer's, a class). A PPD without filters makes the server add one
    // that turns printer commands into PostScript, so a queue that takes no
    // commands has filters of its own (a raster driver's). Neither needs
    // its PPD fetched.
    if (!cupsFindDestSupported(http, dest(), info(), "port-monitor") ||
        !cupsCheckDestSupported(http, dest(), info(), "document-format",
                                "application/vnd.cups-command")) {
      return false;
    }
    int fd = cupsTempFd(path, sizeof path);
    if (fd < 0) return false;
    close(fd);
    // Fetched from the server that holds the queue, on the connection its
    // details came on.
    std::string resource = Resource() + ".ppd";
    if (cupsGetFile(http, resource.c_str(), path) != HTTP_STATUS_OK) {
      unlink(path);
      return false;
    }
  } else {
    time_t modified = 0;
    if (cupsGetPPD3(CUPS_HTTP_DEFAULT, name_.c_str(), &modified, path, sizeof path) !=
        HTTP_STATUS_OK) {
      return false;  // no PPD: a raw or driverless queue
    }
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

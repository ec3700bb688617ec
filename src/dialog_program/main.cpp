#include <errno.h>
#include <gtk/gtk.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/ascii.h"
#include "platform/linux/desktop/dialog_protocol.h"
#include "dialog_program/dialogs.h"

namespace plenwick_dialogs {

bool LineReader::Take(std::string* line) {
  size_t end = pending_.find('\n');
  if (end == std::string::npos) return false;
  line->assign(pending_, 0, end);
  pending_.erase(0, end + 1);
  return true;
}

bool LineReader::Fill() {
  char chunk[65536];
  for (;;) {
    ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
    if (got > 0) {
      pending_.append(chunk, static_cast<size_t>(got));
      return true;
    }
    if (got < 0 && errno == EINTR) continue;
    if (got < 0)
      std::fprintf(stderr, "plenwick-dialogs: reading input: %s\n", std::strerror(errno));
    return false;
  }
}

bool LineReader::Next(std::string* line) {
  while (!Take(line)) {
    if (Fill()) continue;
    if (pending_.empty()) return false;
    line->swap(pending_);
    pending_.clear();
    return true;
  }
  return true;
}

bool ReadUntilShow(LineReader& reader, std::vector<Message>* messages) {
  std::string line;
  while (reader.Next(&line)) {
    Message message = dialog_protocol::Fields(line);
    if (message[0] == "show") return true;
    messages->push_back(std::move(message));
  }
  return false;
}

std::string Field(const Message& message, size_t i) {
  return i < message.size() ? message[i] : std::string();
}

int NumberField(const Message& message, size_t i, int fallback) {
  std::string text = Field(message, i);
  if (text.empty()) return fallback;
  const char* end = nullptr;
  int64_t value = plenwick::LeadingInt64(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || value < -2147483647L || value > 2147483647L) {
    std::fprintf(stderr, "plenwick-dialogs: \"%s\" is no number, %d taken\n", text.c_str(),
                 fallback);
    return fallback;
  }
  return static_cast<int>(value);
}

std::string Shown(const std::string& text) {
  g_autofree gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
  return valid;
}

void Answer(const std::vector<std::string>& fields) {
  std::string line = dialog_protocol::Line(fields);
  // A library that has gone away leaves nobody to tell: the write simply fails.
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

std::string GtkMnemonic(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '_') {
      out += "__";
    } else if (c != '&') {
      out += c;
    } else if (i + 1 < text.size() && text[i + 1] == '&') {
      out += '&';
      ++i;
    } else if (i + 1 < text.size()) {
      out += '_';
    }
    // A lone '&' at the end marks nothing and shows nothing.
  }
  return out;
}

}  // namespace plenwick_dialogs

namespace {

constexpr char kUsageText[] = "usage: plenwick-dialogs message|setup|dialog < messages\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace plenwick_dialogs;
  // The library may close its end of the pipes at any moment; a failed write
  // is then the answer, not a reason to die.
  signal(SIGPIPE, SIG_IGN);
  if (argc != 2) {
    std::fputs(kUsageText, stderr);
    return kUsage;
  }
  std::string kind = argv[1];
  if (kind != "message" && kind != "setup" && kind != "dialog") {
    std::fputs(kUsageText, stderr);
    return kUsage;
  }
  // Before anything is read: without a display the library learns it from
  // the program's end alone, with nothing on standard output.
  if (!gtk_init_check(nullptr, nullptr)) {
    std::fputs("plenwick-dialogs: no display\n", stderr);
    return kNoDisplay;
  }
  LineReader reader;
  std::vector<Message> messages;
  if (!ReadUntilShow(reader, &messages)) return kNoShow;
  if (kind == "message") return RunMessageBox(messages);
  if (kind == "setup") return RunPrintSetup(messages);
  return RunTemplateDialog(reader, messages);
}

#include "render/output_file.h"

#include <vector>

#include "core/debug_log.h"
#include "platform/win32.h"

namespace plenwick {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Where the last part of a path starts.
size_t LastPartStart(const std::string& path) {
  size_t at = path.find_last_of("/\\");
  return at == std::string::npos ? 0 : at + 1;
}

// Where the extension of the last part starts (at its last dot, a leading
// dot not counted), or the end of the path.
size_t ExtensionStart(const std::string& path) {
  size_t part = LastPartStart(path);
  size_t dot = path.rfind('.');
  return dot == std::string::npos || dot <= part ? path.size() : dot;
}

// The absolute path of a name; the name itself when it has none.
std::string FullPath(const std::string& name) {
  std::vector<char> buffer(MAX_PATH);
  DWORD length =
      GetFullPathNameA(name.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  if (length >= buffer.size()) {
    buffer.resize(length);
    length = GetFullPathNameA(name.c_str(), length, buffer.data(), nullptr);
  }
  return length > 0 && length < buffer.size() ? std::string(buffer.data(), length) : name;
}

}  // namespace

std::string NextOutputName(PrintJob& job) {
  std::string name = job.output;
  if (!name.empty() && IsSeparator(name.back())) {
    std::string report = job.fileName;
    report = report.substr(LastPartStart(report));
    report.erase(ExtensionStart(report));
    name += (report.empty() ? "report" : report) + ".pdf";
  }
  int use = ++job.outputUses[name];
  if (use > 1) name.insert(ExtensionStart(name), "-" + std::to_string(use));
  return name;
}

void OutputFile::Choose(std::string name) {
  name_ = std::move(name);
  fullName_ = FullPath(name_);
  // Beside the file, so that giving it its name is a rename in one folder.
  partial_ = fullName_ + ".partial";
}

OutputFile::~OutputFile() {
  if (wanted() && !kept_) DeleteFileA(partial_.c_str());
}

bool OutputFile::Keep(std::string& failure) {
  if (!wanted()) return true;
  kept_ = MoveFileExA(partial_.c_str(), fullName_.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
  if (kept_) return true;
  DWORD error = GetLastError();
  DebugLog("MoveFileEx(%s, %s) failed because of error %d\n", partial_.c_str(), fullName_.c_str(),
           static_cast<int>(error));
  failure = "the file was not written whole (error " + std::to_string(error) + ")";
  return false;
}

}  // namespace plenwick

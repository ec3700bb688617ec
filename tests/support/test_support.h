// Shared fixture of the native tests: a fresh simulated Windows, a fresh
// library state and a scratch folder for report, configuration and log files.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/debug_log.h"
#include "device/printer_selection.h"
#include "machine.h"
#include "simwin/control.h"
#include "request/print_request.h"

namespace plenwick_test {

class SimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("PLENWICK_DEBUG");
    FreshMachine();
    char pattern[] = "/tmp/plenwick-test-XXXXXX";
    dir_ = mkdtemp(pattern);
    // Report file arguments are relative names: an absolute Unix path begins
    // with '/', which introduces an option.
    char previous[4096];
    previousDir_ = getcwd(previous, sizeof previous) ? previous : "/";
    if (chdir(dir_.c_str()) != 0) ADD_FAILURE() << "cannot enter " << dir_;
  }

  void TearDown() override {
    plenwick::ResetDebugLogState();
    unsetenv("PLENWICK_DEBUG");
    if (chdir(previousDir_.c_str()) != 0) ADD_FAILURE() << "cannot return to " << previousDir_;
    std::string command = "rm -rf '" + dir_ + "'";
    if (system(command.c_str()) != 0) ADD_FAILURE() << "could not remove " << dir_;
  }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  std::string WriteFile(const std::string& name, const std::string& bytes) const {
    std::string path = Path(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
  }

  static bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

  // Starts the diagnostic log in a file of the scratch folder, as
  // PLENWICK_DEBUG does for a new process.
  std::string EnableLog(const std::string& name = "debug.log") {
    std::string path = Path(name);
    setenv("PLENWICK_DEBUG", path.c_str(), 1);
    plenwick::ResetDebugLogState();
    return path;
  }

  std::string dir_;
  std::string previousDir_;
};

// Modifiable copies of argument texts, as the bridge hands them over.
class Arguments {
 public:
  Arguments(std::initializer_list<std::string> texts) {
    for (const auto& text : texts) Add(text);
  }
  void Add(const std::string& text) {
    storage_.emplace_back(text.begin(), text.end());
    storage_.back().push_back('\0');
    pointers_.clear();
    for (auto& item : storage_) pointers_.push_back(item.data());
  }
  char* const* data() { return pointers_.data(); }
  int size() const { return static_cast<int>(pointers_.size()); }

 private:
  std::vector<std::vector<char>> storage_;
  std::vector<char*> pointers_;
};

// One whole print request, argument by argument, as the Java bridge runs it.
inline void RunPrintRequest(Arguments& arguments) {
  plenwick::RunPrintRequest(arguments.size(), arguments.data());
}

}  // namespace plenwick_test

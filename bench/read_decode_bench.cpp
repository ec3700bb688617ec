// Reading and decoding a report held in memory: ReadLine over a memory byte
// source and DecodeOverstrike of every line the reader did not find plain
// (with the test of whether the line is UTF-8), against a plain scan of the same bytes for their
// line ends; and the same report with accented words in UTF-8. All report bytes per second.
//
//   read_decode_bench REPORT [google benchmark flags]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/print_job.h"
#include "render/byte_source.h"
#include "render/line_reader.h"
#include "render/overstrike.h"
#include "render/report_file.h"

namespace {

std::string g_report;
std::string g_utf8Report;  // g_report with accented words, in UTF-8

// The report's words with accents, in UTF-8: every data line then holds
// multibyte characters.
std::string WithAccents(const std::string& report) {
  static const char* const kAccented[][2] = {{"NORTH", "N\xC3\x96RTH"},
                                             {"SOUTH",
                                              "S\xC3\x9C"
                                              "D"},
                                             {"EAST", "\xC3\x89ST"},
                                             {"NUTS", "N\xC3\x9CSSE"},
                                             {"HINGES", "CHARNI\xC3\x88RES"}};
  std::string out;
  out.reserve(report.size() + report.size() / 8);
  for (size_t at = 0; at < report.size();) {
    bool replaced = false;
    for (const auto& word : kAccented) {
      size_t length = strlen(word[0]);
      if (report.compare(at, length, word[0]) == 0) {
        out += word[1];
        at += length;
        replaced = true;
        break;
      }
    }
    if (!replaced) out += report[at++];
  }
  return out;
}

bool LoadReport(const char* path) {
  FILE* file = fopen(path, "rb");
  if (!file) return false;
  char block[1 << 16];
  size_t got;
  while ((got = fread(block, 1, sizeof block, file)) > 0) g_report.append(block, got);
  fclose(file);
  return !g_report.empty();
}

void ReadAndDecode(benchmark::State& state, const std::string* report) {
  for (auto _ : state) {
    plenwick::PrintJob job;
    plenwick::ReportFile file(job);
    plenwick::MemoryByteSource source(report->data(), report->size());
    file.bytes = &source;
    plenwick::ResetLineReader(file);
    char buffer[512];
    plenwick::DecodedLine decoded;
    plenwick::LineStatus status = plenwick::CTL_TEXT;
    long characters = 0;
    for (;;) {
      int count = 0;
      bool plain = false;
      const char* line = plenwick::ReadLine(file, buffer, sizeof buffer, count, status, plain);
      if (status == plenwick::CTL_EOF) break;
      // As the page loop does: a line the reader found plain needs no
      // decoding.
      if (plain) {
        characters += count;
        continue;
      }
      plenwick::DecodeOverstrike(line, count, decoded, true);
      characters += decoded.length;
    }
    benchmark::DoNotOptimize(characters);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(report->size()));
}

// What any reader of the bytes must at least do: find every line end.
void MemoryScan(benchmark::State& state) {
  for (auto _ : state) {
    const char* at = g_report.data();
    const char* end = at + g_report.size();
    long lines = 0;
    while (at < end) {
      const void* found = memchr(at, '\n', static_cast<size_t>(end - at));
      if (!found) break;
      at = static_cast<const char*>(found) + 1;
      ++lines;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(g_report.size()));
}

BENCHMARK_CAPTURE(ReadAndDecode, 8bit, &g_report);
BENCHMARK_CAPTURE(ReadAndDecode, utf8, &g_utf8Report);
BENCHMARK(MemoryScan);

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !LoadReport(argv[1])) {
    fprintf(stderr, "usage: read_decode_bench REPORT [benchmark flags]\n");
    return 2;
  }
  g_utf8Report = WithAccents(g_report);
  argv[1] = argv[0];
  --argc;
  ++argv;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

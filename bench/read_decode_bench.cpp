// Reading and decoding a report held in memory: GetLine over a memory byte
// source and DecodeOverstrike of every line, against a plain scan of the
// same bytes for their line ends. Both report bytes per second.
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

bool LoadReport(const char* path) {
  FILE* file = fopen(path, "rb");
  if (!file) return false;
  char block[1 << 16];
  size_t got;
  while ((got = fread(block, 1, sizeof block, file)) > 0) g_report.append(block, got);
  fclose(file);
  return !g_report.empty();
}

void ReadAndDecode(benchmark::State& state) {
  for (auto _ : state) {
    plenwick::PrintJob job;
    plenwick::ReportFile file(job);
    plenwick::MemoryByteSource source(g_report.data(), g_report.size());
    file.bytes = &source;
    plenwick::ResetLineReader(file);
    char line[512];
    plenwick::DecodedLine decoded;
    plenwick::LineStatus status = plenwick::CTL_TEXT;
    long characters = 0;
    for (;;) {
      int count = plenwick::GetLine(file, line, sizeof line, status);
      if (status == plenwick::CTL_EOF) break;
      plenwick::DecodeOverstrike(line, count, decoded);
      characters += decoded.length;
    }
    benchmark::DoNotOptimize(characters);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(g_report.size()));
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

BENCHMARK(ReadAndDecode);
BENCHMARK(MemoryScan);

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !LoadReport(argv[1])) {
    fprintf(stderr, "usage: read_decode_bench REPORT [benchmark flags]\n");
    return 2;
  }
  argv[1] = argv[0];
  --argc;
  ++argv;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

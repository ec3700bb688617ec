// Writes a benchmark report of a given size, the same bytes for the same
// seed: pages of one overstruck heading (bold title, underlined column
// names) and 70 data lines of 108 characters, each page ended by a form
// feed. The last page is cut where the size is reached.
//
//   make_report MEGABYTES OUTPUT [SEED]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const int kDataLines = 70;
const int kLineWidth = 108;

// A small fixed generator, so that a seed gives the same report on every
// host and with every standard library.
struct Random {
  uint64_t state;
  uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return static_cast<uint32_t>(state >> 11);
  }
  int Below(int bound) { return static_cast<int>(Next() % static_cast<uint32_t>(bound)); }
};

// Each character struck twice prints bold; an underscore struck under a
// character underlines it.
std::string Bold(const std::string& text) {
  std::string out;
  for (char c : text) out += c == ' ' ? std::string(1, c) : std::string{c, '\b', c};
  return out;
}

std::string Underlined(const std::string& text) {
  std::string out;
  for (char c : text) out += c == ' ' ? std::string(1, c) : std::string{c, '\b', '_'};
  return out;
}

std::string Heading(long page) {
  return Bold("MONTHLY SALES BY BRANCH   PAGE " + std::to_string(page)) + "   " +
         Underlined("BRANCH    ITEM        QUANTITY     PRICE      AMOUNT") + "\r\n";
}

std::string DataLine(Random& random) {
  static const char* const kWords[] = {"NORTH", "SOUTH", "EAST",    "WEST",   "CENTRAL",  "HARBOUR",
                                       "BOLTS", "NUTS",  "WASHERS", "HINGES", "BRACKETS", "RIVETS"};
  std::string line;
  while (line.size() < static_cast<size_t>(kLineWidth)) {
    line += kWords[random.Below(12)];
    char number[24];
    snprintf(number, sizeof number, "  %7d.%02d  ", random.Below(1000000), random.Below(100));
    line += number;
  }
  line.resize(kLineWidth);
  return line + "\r\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: make_report MEGABYTES OUTPUT [SEED]\n");
    return 2;
  }
  const long long size = static_cast<long long>(atof(argv[1]) * 1024 * 1024);
  Random random{argc > 3 ? strtoull(argv[3], nullptr, 10) | 1 : 12};
  FILE* out = fopen(argv[2], "wb");
  if (!out) {
    perror(argv[2]);
    return 1;
  }
  std::string page;
  long long written = 0;
  for (long number = 1; written < size; ++number) {
    page = Heading(number);
    for (int i = 0; i < kDataLines; ++i) page += DataLine(random);
    page += '\f';
    size_t take = static_cast<size_t>(
        std::min<long long>(static_cast<long long>(page.size()), size - written));
    if (fwrite(page.data(), 1, take, out) != take) {
      perror(argv[2]);
      return 1;
    }
    written += static_cast<long long>(take);
  }
  return fclose(out) == 0 ? 0 : 1;
}

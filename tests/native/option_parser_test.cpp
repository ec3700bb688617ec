#include <cstring>
#include <functional>
#include <sstream>

#include "options/option_parser.h"
#include "options/option_table.h"
#include "paper_dimension_cases.h"
#include "test_support.h"

using plenwick::Parse_Arg;
using plenwick::PrintJob;

namespace {

class OptionParserTest : public plenwick_test::SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    plenwick::ResetPrintJob(job_);
    plenwick::SortOptionTable();
  }

  void Parse(const std::string& option) {
    std::vector<char> text(option.begin(), option.end());
    text.push_back('\0');
    Parse_Arg(job_, text.data());
  }

  PrintJob job_;
};

TEST_F(OptionParserTest, TableIsSortedAndEveryNameFindsItsRow) {
  for (int i = 1; i < plenwick::kOptionCount; ++i) {
    EXPECT_LT(strcmp(plenwick::OptionTable[i - 1].name, plenwick::OptionTable[i].name), 0);
  }
  for (const auto& entry : plenwick::OptionTable) {
    const plenwick::OptionEntry* found = plenwick::FindOption(entry.name);
    ASSERT_NE(found, nullptr) << entry.name;
    EXPECT_EQ(found->code, entry.code);
  }
}

TEST_F(OptionParserTest, LookupByPrefixInEitherDirection) {
  struct Case {
    const char* text;
    const char* expected;  // null: no option
  } cases[] = {
      {"rulerxyz", "ruler"},          // text longer than the name
      {"logfile=a.log", "log"},       // name followed by more letters and a value
      {"orient", "orientation"},      // unique abbreviation without a value
      {"orient=landscape", nullptr},  // the same abbreviation with a value
      {"copies  =3", "copies"},       // blanks before '=' do no harm
      {"", nullptr},                  // empty option
      {"zzz", nullptr},
      {"Copies=2", nullptr},  // case-sensitive
      {"=3", nullptr},
      {"o", "orientation"},  // as before the whole-name rows came
      {"or", "orientation"},
      {"output=x.pdf", "output"},
      {"outp", nullptr},  // whole names only
  };
  for (const Case& c : cases) {
    const plenwick::OptionEntry* found = plenwick::FindOption(c.text);
    if (!c.expected) {
      EXPECT_EQ(found, nullptr) << c.text;
    } else {
      ASSERT_NE(found, nullptr) << c.text;
      EXPECT_STREQ(found->name, c.expected) << c.text;
    }
  }
  // A shared abbreviation selects one of its rows.
  const plenwick::OptionEntry* p = plenwick::FindOption("p");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->name[0], 'p');
}

// The job's fields as "|name=value|" items.
std::string Fields(const PrintJob& j) {
  std::ostringstream o;
  o << "|copies=" << j.copies << "|scratch=" << j.scratch << "|printer=" << j.printerName
    << "|form=" << j.formName << "|orientation=" << j.orientation << "|collate=" << j.collate
    << "|point=" << j.pointSize << "|font=" << j.fontFace << "|ruler=" << j.ruler
    << "|width=" << j.paperWidth << "|length=" << j.paperLength << "|noWindows=" << j.noWindows
    << "|source=" << j.paperSource << "|oem=" << j.oemTranslation << "|ansi=" << j.ansiTranslation
    << "|raw=" << j.raw << "|tabs=" << j.tabStop << "|";
  return o.str();
}

TEST_F(OptionParserTest, OptionsSetTheirFields) {
  const std::string longName(150, 'N');
  const struct {
    std::vector<std::string> options;
    std::vector<std::string> expected;  // "name=value" items of Fields
  } cases[] = {
      {{"copies=3"}, {"copies=3"}},
      {{"copies= 7"}, {"copies=7"}},       // blank after =
      {{"copies=\"12\""}, {"copies=12"}},  // quoted value
      {{"copies=x"}, {"copies=0"}},        // no digits
      {{"copies"}, {"copies=0"}},          // missing value
      {{"copies=99999999999"}, {"copies=" + std::to_string(INT32_MAX)}},
      {{"disposition=ScRaTcH"}, {"scratch=1"}},
      {{"disposition=scratch", "disposition=save"}, {"scratch=0"}},
      {{"printer_id=Office Laser"}, {"printer=Office Laser"}},
      {{"printer_id"}, {"printer=INVALID ARGUMENT"}},
      {{"form_id=A4"}, {"form=A4"}},
      {{"orientation=LANDSCAPE"}, {"orientation=2"}},
      {{"orientation=landscape", "orientation=sideways"}, {"orientation=1"}},  // other: portrait
      {{"orientation=landscape", "orientation"}, {"orientation=1"}},           // missing: portrait
      {{"collate"}, {"collate=1"}},
      {{"collate=TRUE"}, {"collate=1"}},
      {{"collate", "collate=no"}, {"collate=0"}},
      {{"pitch=10"}, {"point=10"}},
      {{"pitch=10", "point=12"}, {"point=12"}},
      {{"font=Courier New"}, {"font=Courier New"}},
      {{"ruler=whatever"}, {"ruler=1"}},
      {{"tabs=4", "tabs=1"}, {"tabs=1"}},
      {{"tabs=4", "tabs=0", "tabs=x", "t"}, {"tabs=4"}},  // refused; -t names nothing
      {{"width=210mm"}, {"width=2100"}},
      {{"width=1.5"}, {"width=381"}},  // bare inches
      {{"length=8.5i"}, {"length=2159"}},
      {{"length=23M"}, {"length=230"}},
      {{"width=1e300"}, {"width=0"}},
      {{"width=abc"}, {"width=0"}},
      {{"interactive=NONE"}, {"noWindows=1"}},
      {{"interactive=yes"}, {"noWindows=0"}},
      {{"source=upper"}, {"source=1"}},
      {{"source=Paper Cassette"}, {"source=14"}},
      {{"source=7"}, {"source=7"}},
      {{"source=4", "source=lower"}, {"source=2"}},  // a name replaces a number
      {{"source=4", "source=9"}, {"source=4"}},      // a number keeps an earlier bin
      {{"oem", "ansi", "raw"}, {"oem=1", "ansi=1", "raw=1"}},
      {{"mode=HOLD", "notify", "format=x", "banner", "priority=1", "date=now", "user=me",
        "printer_name=q", "form_name=f", "unknown=1"},
       {"copies=1", "printer=", "form=", "scratch=0"}},  // ignored options
      {{"printer_id=" + longName}, {"printer=" + longName.substr(0, 99)}},
      {{"form_id=" + longName}, {"form=" + longName.substr(0, 33)}},
      {{"font=" + longName}, {"font=" + longName.substr(0, 31)}},
      {{"font=\""}, {"font="}},  // a lone quote
      {{"printer_ctl=\"-printer_id=\"Big Printer\" -copies=4\""},
       {"printer=Big Printer", "copies=4"}},
      {{"form_ctl=   /form_id=Letter    -orientation=landscape  "},
       {"form=Letter", "orientation=2"}},
      {{"printer_ctl", "printer_id"}, {"printer=INVALID ARGUMENT"}},  // the literal whole
      {{"printer_ctl="}, {"copies=1"}},                               // an empty list
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options.back());
    plenwick::ResetPrintJob(job_);
    for (const std::string& option : c.options) Parse(option);
    for (const std::string& field : c.expected) {
      EXPECT_NE(Fields(job_).find("|" + field + "|"), std::string::npos) << field;
    }
  }
}

TEST_F(OptionParserTest, ConfigurationFileParsesEachLine) {
  std::string config = WriteFile("job.cfg",
                                 "-copies=2\n"
                                 "\n"
                                 "x\n"
                                 "/printer_id=Label Printer 2\r\n"
                                 "-orientation=landscape");
  Parse("config=" + config);
  EXPECT_EQ(job_.copies, 2);
  EXPECT_STREQ(job_.printerName, "Label Printer 2");
  EXPECT_EQ(job_.orientation, 2);
  EXPECT_EQ(job_.configFileName, config);
}

TEST_F(OptionParserTest, ConfigurationLineLongerThanOneReadIsSplit) {
  // 127 bytes make one read; the rest arrives as a second option, which
  // loses its first character like every line does.
  std::string first = "-font=" + std::string(121, 'F');
  ASSERT_EQ(first.size(), 127u);
  std::string config = WriteFile("long.cfg", first + "Xcopies=5\n");
  Parse("config=" + config);
  EXPECT_EQ(std::string(job_.fontFace), std::string(31, 'F'));
  EXPECT_EQ(job_.copies, 5);
}

TEST_F(OptionParserTest, MissingConfigurationFileIsRememberedAndIgnored) {
  Parse("config=" + Path("absent.cfg"));
  EXPECT_EQ(job_.configFileName, Path("absent.cfg"));
  EXPECT_EQ(job_.copies, 1);
}

TEST_F(OptionParserTest, SelfNamingConfigurationStopsAtTheNestingBound) {
  std::string log = EnableLog();
  std::string path = Path("loop.cfg");
  WriteFile("loop.cfg", "-copies=9\n-config=" + path + "\n");
  Parse("config=" + path);
  EXPECT_EQ(job_.copies, 9);
  std::string text = ReadFile(log);
  EXPECT_NE(text.find("nested more than 16 deep"), std::string::npos);
}

TEST_F(OptionParserTest, ConfigurationNamingItselfOnSeveralLinesEndsSoon) {
  // Three self-references a line apart would mean 3^16 reads within the
  // nesting bound; the read budget ends it after a few hundred.
  std::string log = EnableLog();
  std::string path = Path("fan.cfg");
  std::string self = "-config=" + path + "\n";
  WriteFile("fan.cfg", self + self + "-copies=4\n" + self);
  Parse("config=" + path);
  EXPECT_EQ(job_.copies, 4);
  EXPECT_EQ(job_.configFileName, path);
  std::string text = ReadFile(log);
  EXPECT_NE(text.find("more than 256 configuration files read for one argument"),
            std::string::npos);
  // The next argument has its own budget.
  job_.copies = 1;
  WriteFile("plain.cfg", "-copies=6\n");
  Parse("config=" + Path("plain.cfg"));
  EXPECT_EQ(job_.copies, 6);
}

TEST_F(OptionParserTest, LargeConfigurationNamingItselfReadsABoundedAmount) {
  // A 300 kB file that names itself: the nesting bound alone would read it
  // 16 times, logging every line; the byte budget lets it be read once.
  std::string log = EnableLog();
  std::string path = Path("big.cfg");
  const std::string filler = "-" + std::string(126, 'z') + "\n";  // an unknown option
  std::string contents = "-config=" + path + "\n";
  while (contents.size() + filler.size() < 300000) contents += filler;
  WriteFile("big.cfg", contents + "-copies=5\n");
  Parse("config=" + path);
  EXPECT_EQ(job_.copies, 5);
  std::string text = ReadFile(log);
  EXPECT_NE(text.find("65536 bytes of configuration files already read for one argument"),
            std::string::npos);
  size_t fillerLines = 0;
  for (size_t at = text.find("Parse_Arg(zzz"); at != std::string::npos;
       at = text.find("Parse_Arg(zzz", at + 1)) {
    ++fillerLines;
  }
  EXPECT_EQ(fillerLines, contents.size() / filler.size());
}

TEST_F(OptionParserTest, SelfNamingOptionListStopsAtTheNestingBound) {
  // An item that is itself the same list, many levels deep.
  std::string option = "copies=3";
  for (int i = 0; i < 40; ++i) option = "printer_ctl=-" + option;
  Parse(option);
  EXPECT_EQ(job_.copies, 1);  // cut off long before the innermost item
}

TEST_F(OptionParserTest, LogsTheOptionAndItsValue) {
  std::string log = EnableLog();
  Parse("copies=  \"4\"");
  Parse("ruler");
  Parse("nonsense=1");
  EXPECT_EQ(ReadFile(log),
            "Parse_Arg(copies=  \"4\")\n"
            "Parse_Arg() val=[4]\n"
            "Parse_Arg(ruler)\n"
            "Parse_Arg(nonsense=1)\n");
}

// A number goes on into a 16-bit field of the font or the device mode: one
// that field cannot hold is refused with a log line, and the option keeps
// what it had, never a wrapped value.
TEST_F(OptionParserTest, NumbersA16BitFieldCannotHoldAreRefused) {
  std::string log = EnableLog();
  struct Case {
    std::vector<std::string> options;
    int16_t PrintJob::*shortField;
    int32_t PrintJob::*field;  // when the job holds it wider
    int held;
    const char* logged;  // nullptr: the value is taken without a word
  } cases[] = {
      {{"point=65545"},
       &PrintJob::pointSize,
       nullptr,
       0,
       "point=65545: not a number from -32768 to 32767, point stays 0"},
      {{"point=12", "point=70000"}, &PrintJob::pointSize, nullptr, 12, "point stays 12"},
      {{"pitch=10", "pitch=-32769"}, &PrintJob::pointSize, nullptr, 10, "pitch stays 10"},
      {{"point=99999999999999999999999"}, &PrintJob::pointSize, nullptr, 0, "point stays 0"},
      {{"point=32767"}, &PrintJob::pointSize, nullptr, 32767, nullptr},
      {{"point=-32768"}, &PrintJob::pointSize, nullptr, -32768, nullptr},
      {{"source=65537"}, &PrintJob::paperSource, nullptr, 0, "source stays 0"},
      {{"source=32767"}, &PrintJob::paperSource, nullptr, 32767, nullptr},
      {{"width=210mm", "width=400i"}, nullptr, &PrintJob::paperWidth, 2100, "width stays 2100"},
      {{"length=3276.7m"}, nullptr, &PrintJob::paperLength, 32767, nullptr},
      {{"length=3276.8m"}, nullptr, &PrintJob::paperLength, 0, "length stays 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options.back());
    plenwick::ResetPrintJob(job_);
    size_t before = ReadFile(log).size();
    for (const std::string& option : c.options) Parse(option);
    EXPECT_EQ(c.shortField ? job_.*c.shortField : job_.*c.field, c.held);
    std::string written = ReadFile(log).substr(before);
    if (c.logged) {
      EXPECT_NE(written.find(c.logged), std::string::npos) << written;
    } else {
      EXPECT_EQ(written.find("not a number"), std::string::npos) << written;
    }
  }
}

TEST_F(OptionParserTest, LogOptionRedirectsTheLog) {
  std::string first = EnableLog("first.log");
  Parse("log=" + Path("second.log"));
  Parse("copies=2");
  EXPECT_EQ(ReadFile(first), "Parse_Arg(log=" + Path("second.log") + ")\nParse_Arg() val=[" +
                                 Path("second.log") + "]\n");
  EXPECT_EQ(ReadFile(Path("second.log")), "Parse_Arg(copies=2)\nParse_Arg() val=[2]\n");
}

TEST(PaperDimension, DecimalNumberAtTheStartInInchesOrMillimetres) {
  for (const auto& c : plenwick_test::kPaperDimensionCases) {
    EXPECT_EQ(plenwick::PaperDimension(c.value), c.tenths) << "\"" << c.value << "\"";
  }
}

}  // namespace

namespace {

class ConfigSnapshotTest : public plenwick_test::SimTest {};

TEST_F(ConfigSnapshotTest, ConfigurationFileThatIsAlsoTheLogEnds) {
  plenwick::PrintJob job;
  plenwick::ResetPrintJob(job);
  plenwick::SortOptionTable();
  // Every line parsed appends to the log, which is the file being read: a
  // reader that follows the file would never reach its end. The log's own
  // lines carry an option: "-ruler)" parses as ruler.
  ASSERT_TRUE(plenwick::RedirectDebugLog("both.txt"));
  char seed[] = "copies=5\n-ruler";
  plenwick::Parse_Arg(job, seed);
  plenwick::ResetPrintJob(job);
  char option[] = "config=both.txt";
  plenwick::Parse_Arg(job, option);
  EXPECT_TRUE(job.ruler);
}

TEST_F(ConfigSnapshotTest, OversizedConfigurationFileIsReadUpToTheLimit) {
  plenwick::PrintJob job;
  plenwick::ResetPrintJob(job);
  plenwick::SortOptionTable();
  std::string log = EnableLog();
  std::string big;
  while (big.size() < static_cast<size_t>(plenwick::kMaxConfigFileBytes)) big += "-copies=3\n";
  big += "-copies=4\n";
  WriteFile("big.cfg", big);
  char option[] = "config=big.cfg";
  plenwick::Parse_Arg(job, option);
  EXPECT_NE(job.copies, 4);  // the line past the limit is not read
  EXPECT_NE(ReadFile(log).find("only the first 1048576 bytes are read"), std::string::npos);
}

}  // namespace

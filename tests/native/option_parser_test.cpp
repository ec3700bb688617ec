#include <cstring>
#include <functional>

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
  plenwick::SortOptionTable();  // sorting again changes nothing
  EXPECT_STREQ(plenwick::OptionTable[0].name, "ansi");
  EXPECT_STREQ(plenwick::OptionTable[plenwick::kOptionCount - 1].name, "width");
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

struct FieldCase {
  std::vector<std::string> options;
  std::function<void(const PrintJob&)> check;
  const char* what;
};

TEST_F(OptionParserTest, OptionsSetTheirFields) {
  const std::string longName(150, 'N');
  std::vector<FieldCase> cases = {
      {{"copies=3"}, [](const PrintJob& j) { EXPECT_EQ(j.copies, 3); }, "copies"},
      {{"copies= 7"}, [](const PrintJob& j) { EXPECT_EQ(j.copies, 7); }, "blank after ="},
      {{"copies=\"12\""}, [](const PrintJob& j) { EXPECT_EQ(j.copies, 12); }, "quoted value"},
      {{"copies=x"}, [](const PrintJob& j) { EXPECT_EQ(j.copies, 0); }, "no digits"},
      {{"copies"}, [](const PrintJob& j) { EXPECT_EQ(j.copies, 0); }, "missing value"},
      {{"copies=99999999999"}, [](const PrintJob& j) { EXPECT_EQ(j.copies, INT32_MAX); }, "huge"},
      {{"disposition=ScRaTcH"}, [](const PrintJob& j) { EXPECT_TRUE(j.scratch); }, "scratch"},
      {{"disposition=scratch", "disposition=save"},
       [](const PrintJob& j) { EXPECT_FALSE(j.scratch); },
       "save after scratch"},
      {{"printer_id=Office Laser"},
       [](const PrintJob& j) { EXPECT_STREQ(j.printerName, "Office Laser"); },
       "printer"},
      {{"printer_id"},
       [](const PrintJob& j) { EXPECT_STREQ(j.printerName, "INVALID ARGUMENT"); },
       "no printer"},
      {{"form_id=A4"}, [](const PrintJob& j) { EXPECT_STREQ(j.formName, "A4"); }, "form"},
      {{"orientation=LANDSCAPE"}, [](const PrintJob& j) { EXPECT_EQ(j.orientation, 2); }, "land"},
      {{"orientation=landscape", "orientation=sideways"},
       [](const PrintJob& j) { EXPECT_EQ(j.orientation, 1); },
       "other value is portrait"},
      {{"orientation=landscape", "orientation"},
       [](const PrintJob& j) { EXPECT_EQ(j.orientation, 1); },
       "missing value is portrait"},
      {{"collate"}, [](const PrintJob& j) { EXPECT_TRUE(j.collate); }, "collate bare"},
      {{"collate=TRUE"}, [](const PrintJob& j) { EXPECT_TRUE(j.collate); }, "collate true"},
      {{"collate", "collate=no"}, [](const PrintJob& j) { EXPECT_FALSE(j.collate); }, "off"},
      {{"pitch=10"}, [](const PrintJob& j) { EXPECT_EQ(j.pointSize, 10); }, "pitch"},
      {{"pitch=10", "point=12"}, [](const PrintJob& j) { EXPECT_EQ(j.pointSize, 12); }, "point"},
      {{"font=Courier New"},
       [](const PrintJob& j) { EXPECT_STREQ(j.fontFace, "Courier New"); },
       "font"},
      {{"ruler=whatever"}, [](const PrintJob& j) { EXPECT_TRUE(j.ruler); }, "ruler"},
      {{"tabs=4", "tabs=1"}, [](const PrintJob& j) { EXPECT_EQ(j.tabStop, 1); }, "tabs"},
      {{"tabs=4", "tabs=0", "tabs=x", "t"},
       [](const PrintJob& j) { EXPECT_EQ(j.tabStop, 4); },
       "bad"},
      {{"width=210mm"}, [](const PrintJob& j) { EXPECT_EQ(j.paperWidth, 2100); }, "mm"},
      {{"width=1.5"}, [](const PrintJob& j) { EXPECT_EQ(j.paperWidth, 381); }, "bare inches"},
      {{"length=8.5i"}, [](const PrintJob& j) { EXPECT_EQ(j.paperLength, 2159); }, "inches"},
      {{"length=23M"}, [](const PrintJob& j) { EXPECT_EQ(j.paperLength, 230); }, "MM"},
      {{"width=1e300"}, [](const PrintJob& j) { EXPECT_EQ(j.paperWidth, 0); }, "huge"},
      {{"width=abc"}, [](const PrintJob& j) { EXPECT_EQ(j.paperWidth, 0); }, "no number"},
      {{"interactive=NONE"}, [](const PrintJob& j) { EXPECT_TRUE(j.noWindows); }, "none"},
      {{"interactive=yes"}, [](const PrintJob& j) { EXPECT_FALSE(j.noWindows); }, "yes"},
      {{"source=upper"}, [](const PrintJob& j) { EXPECT_EQ(j.paperSource, 1); }, "upper"},
      {{"source=Paper Cassette"},
       [](const PrintJob& j) { EXPECT_EQ(j.paperSource, 14); },
       "cassette"},
      {{"source=7"}, [](const PrintJob& j) { EXPECT_EQ(j.paperSource, 7); }, "number"},
      {{"source=4", "source=lower"},
       [](const PrintJob& j) { EXPECT_EQ(j.paperSource, 2); },
       "name replaces number"},
      {{"source=4", "source=9"},
       [](const PrintJob& j) { EXPECT_EQ(j.paperSource, 4); },
       "number keeps earlier bin"},
      {{"oem", "ansi", "raw"},
       [](const PrintJob& j) {
         EXPECT_TRUE(j.oemTranslation);
         EXPECT_TRUE(j.ansiTranslation);
         EXPECT_TRUE(j.raw);
       },
       "flags"},
      {{"mode=HOLD", "notify", "format=x", "banner", "priority=1", "date=now", "user=me",
        "printer_name=q", "form_name=f", "unknown=1"},
       [](const PrintJob& j) {
         PrintJob fresh;
         plenwick::ResetPrintJob(fresh);
         EXPECT_EQ(j.copies, fresh.copies);
         EXPECT_STREQ(j.printerName, "");
         EXPECT_STREQ(j.formName, "");
         EXPECT_FALSE(j.scratch);
       },
       "ignored options"},
      {{"printer_id=" + longName},
       [&](const PrintJob& j) { EXPECT_EQ(std::string(j.printerName), longName.substr(0, 99)); },
       "long printer name cut"},
      {{"form_id=" + longName},
       [&](const PrintJob& j) { EXPECT_EQ(std::string(j.formName), longName.substr(0, 33)); },
       "long form name cut"},
      {{"font=" + longName},
       [&](const PrintJob& j) { EXPECT_EQ(std::string(j.fontFace), longName.substr(0, 31)); },
       "long face cut"},
      {{"font=\""}, [](const PrintJob& j) { EXPECT_STREQ(j.fontFace, ""); }, "lone quote"},
      {{"printer_ctl=\"-printer_id=\"Big Printer\" -copies=4\""},
       [](const PrintJob& j) {
         EXPECT_STREQ(j.printerName, "Big Printer");
         EXPECT_EQ(j.copies, 4);
       },
       "option list with quoted item"},
      {{"form_ctl=   /form_id=Letter    -orientation=landscape  "},
       [](const PrintJob& j) {
         EXPECT_STREQ(j.formName, "Letter");
         EXPECT_EQ(j.orientation, 2);
       },
       "option list with blanks"},
      {{"printer_ctl", "printer_id"},
       [](const PrintJob& j) { EXPECT_STREQ(j.printerName, "INVALID ARGUMENT"); },
       "list without value leaves the literal whole"},
      {{"printer_ctl="}, [](const PrintJob& j) { EXPECT_EQ(j.copies, 1); }, "empty list"},
  };
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.what);
    plenwick::ResetPrintJob(job_);
    for (const std::string& option : c.options) Parse(option);
    c.check(job_);
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

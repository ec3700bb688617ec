// The page group is cleared from cairo's PDF however the stream is cut into
// pieces, nothing else changes, and every offset stays where it was.
#include <cairo-pdf.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "platform/linux/cups_cairo/font_name_filter.h"
#include "platform/linux/cups_cairo/page_group_filter.h"

namespace {

using linux_platform::PageGroupFilter;

const std::string kGroup =
    "   /Group <<\n      /Type /Group\n      /S /Transparency\n      /I true\n"
    "      /CS /DeviceRGB\n   >>\n";
const std::string kPage = "5 0 obj\n<< /Type /Page % 1\n   /Parent 1 0 R\n   /Contents 4 0 R\n" +
                          kGroup + "   /Resources 3 0 R\n>>\nendobj\n";
// A form's group is a real one: its dictionary goes on differently.
const std::string kForm = "7 0 obj\n<< /Type /XObject\n   /Subtype /Form\n" + kGroup +
                          "   /Resources\n   << >>\n>>\nstream\nendstream\n";

std::string Blanked(const std::string& pdf) {
  std::string out = pdf;
  for (size_t at = out.find(kPage); at != std::string::npos; at = out.find(kPage, at + 1)) {
    size_t group = out.find("/Group", at);
    out.replace(group, PageGroupFilter::Group().size(),
                std::string(PageGroupFilter::Group().size(), ' '));
  }
  return out;
}

// Runs a document through the filter in the pieces given by `cuts`.
std::string Filter(const std::string& pdf, const std::vector<size_t>& cuts) {
  std::string out;
  PageGroupFilter filter([&out](const char* data, size_t length) {
    out.append(data, length);
    return true;
  });
  size_t from = 0;
  for (size_t cut : cuts) {
    EXPECT_TRUE(filter.Write(pdf.data() + from, cut - from));
    from = cut;
  }
  EXPECT_TRUE(filter.Write(pdf.data() + from, pdf.size() - from));
  EXPECT_TRUE(filter.Flush());
  return out;
}

TEST(PageGroupFilter, ClearsPageGroupsWhereverThePiecesEnd) {
  struct {
    const char* name;
    std::string pdf;
  } cases[] = {
      {"one page", "%PDF-1.4\n" + kPage + "%%EOF\n"},
      {"two pages back to back", kPage + kPage},
      {"a form keeps its group", kForm + kPage + kForm},
      {"a page that ends the stream", "x" + kPage},
      {"half a group at the end", kPage + kGroup.substr(0, 40)},
      {"spaces before a group", "      " + kPage},
  };
  for (const auto& row : cases) {
    std::string expected = Blanked(row.pdf);
    ASSERT_EQ(expected.size(), row.pdf.size());
    EXPECT_EQ(Filter(row.pdf, {}), expected) << row.name << ", in one piece";
    for (size_t cut = 0; cut <= row.pdf.size(); ++cut) {
      ASSERT_EQ(Filter(row.pdf, {cut}), expected) << row.name << ", cut at " << cut;
    }
    std::vector<size_t> bytes;
    for (size_t at = 1; at < row.pdf.size(); ++at) bytes.push_back(at);
    EXPECT_EQ(Filter(row.pdf, bytes), expected) << row.name << ", a byte at a time";
  }
  EXPECT_NE(Filter(kForm, {}).find("/S /Transparency"), std::string::npos);
}

TEST(PageGroupFilter, AFailedWriteIsReported) {
  int writes = 0;
  PageGroupFilter filter([&writes](const char*, size_t) { return ++writes < 2; });
  std::string pdf = kPage + kPage;
  EXPECT_FALSE(filter.Write(pdf.data(), pdf.size()));
}

cairo_status_t Collect(void* closure, const unsigned char* data, unsigned int length) {
  auto* filter = static_cast<PageGroupFilter*>(closure);
  return filter->Write(reinterpret_cast<const char*>(data), length) ? CAIRO_STATUS_SUCCESS
                                                                    : CAIRO_STATUS_WRITE_ERROR;
}

// A document from the cairo this library runs with: no page keeps a group,
// and the cross-reference table still points at every object.
TEST(PageGroupFilter, CairosOwnDocumentKeepsItsCrossReferences) {
  std::string pdf;
  PageGroupFilter filter([&pdf](const char* data, size_t length) {
    pdf.append(data, length);
    return true;
  });
  cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(Collect, &filter, 595, 842);
  cairo_pdf_surface_restrict_to_version(surface, CAIRO_PDF_VERSION_1_4);
  cairo_t* cr = cairo_create(surface);
  for (int page = 0; page < 3; ++page) {
    // Lines as a ruler draws them (text would bring fontconfig's caches,
    // which live as long as the process).
    cairo_move_to(cr, 50, 50 + page);
    cairo_line_to(cr, 500, 50 + page);
    cairo_stroke(cr);
    cairo_show_page(cr);
  }
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  EXPECT_EQ(cairo_surface_status(surface), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(surface);
  ASSERT_TRUE(filter.Flush());

  int pages = 0;
  for (size_t at = pdf.find("/Type /Page "); at != std::string::npos;
       at = pdf.find("/Type /Page ", at + 1)) {
    ++pages;
  }
  EXPECT_EQ(pages, 3) << "the page dictionaries are written as plain objects";
  EXPECT_EQ(pdf.find("/S /Transparency"), std::string::npos);

  size_t xref = pdf.rfind("\nxref\n");
  ASSERT_NE(xref, std::string::npos);
  std::regex entry("(\\d{10}) \\d{5} n");
  int object = 0, checked = 0;
  std::string table = pdf.substr(xref);
  for (auto it = std::sregex_iterator(table.begin(), table.end(), entry);
       it != std::sregex_iterator(); ++it) {
    ++object;
    size_t offset = std::strtoul((*it)[1].str().c_str(), nullptr, 10);
    std::string head = std::to_string(object) + " 0 obj";
    EXPECT_EQ(pdf.compare(offset, head.size(), head), 0) << "object " << object;
    ++checked;
  }
  EXPECT_GT(checked, 6);

  // And qpdf finds nothing wrong with it: no warning, no error.
  char path[] = "/tmp/page-group-XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, pdf.data(), pdf.size()), static_cast<ssize_t>(pdf.size()));
  close(fd);
  int status = std::system(("qpdf --check " + std::string(path) + " >/dev/null 2>&1").c_str());
  unlink(path);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "qpdf --check: " << status;
}

}  // namespace

// Each font of cairo's PostScript gets a name of its own, wherever the
// stream is cut.
TEST(FontNameFilter, NamesEachFontApartWhereverThePiecesEnd) {
  auto font = [](const std::string& name) {
    return "/FontName /" + name + " def\n/f definefont\n";
  };
  const std::string tooLong = "/FontName /" + std::string(300, 'x') + " def\n";
  const std::string ps = "%!PS\n" + font("F") + font("F") + tooLong;
  const std::string expected = "%!PS\n" + font("F") + font("F-2") + tooLong;
  for (size_t cut = 0; cut <= ps.size(); ++cut) {
    std::string out;
    linux_platform::FontNameFilter filter([&out](const char* data, size_t length) {
      out.append(data, length);
      return true;
    });
    EXPECT_TRUE(filter.Write(ps.data(), cut) && filter.Write(ps.data() + cut, ps.size() - cut));
    EXPECT_TRUE(filter.Flush());
    ASSERT_EQ(out, expected) << "cut at " << cut;
  }
}

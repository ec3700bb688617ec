#include "render/text_output.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/debug_log.h"
#include "core/fixed_text.h"
#include "platform/handles.h"
#include "render/utf8_text.h"

namespace plenwick {
namespace {

char* ScratchOf(std::vector<char>& buffer, size_t size) {
  if (buffer.size() < size) buffer.resize(size);
  return buffer.data();
}

// The 16-bit count of a packet limits it to 65535 bytes; a longer run goes
// in several packets. An empty run still sends one packet.
void SendPassThrough(ReportFile& file, const char* text, int length) {
  int sent = 0;
  do {
    int size = std::min(length - sent, 0xFFFF);
    char* packet = ScratchOf(file.packet, static_cast<size_t>(size) + 2);
    packet[0] = static_cast<char>(size & 0xFF);
    packet[1] = static_cast<char>((size >> 8) & 0xFF);
    if (size > 0) memcpy(packet + 2, text + sent, static_cast<size_t>(size));
    Escape(file.dc(), PASSTHROUGH, 0, packet, nullptr);
    sent += size;
  } while (sent < length);
}

// The run's characters in the character set the job asks for; OEM
// translation wins when both are on.
const char* TranslatedText(ReportFile& file, const char* text, int length) {
  const PrintJob& job = file.job;
  if (!job.oemTranslation && !job.ansiTranslation) return text;
  char* translated = ScratchOf(file.translated, static_cast<size_t>(length) + 1);
  if (job.oemTranslation) {
    CharToOemBuffA(text, translated, static_cast<DWORD>(length));
  } else {
    OemToCharBuffA(text, translated, static_cast<DWORD>(length));
  }
  translated[length] = '\0';
  return translated;
}

// Text is drawn without a background box, so a character struck over
// another leaves the one beneath it visible.
void DrawWithoutBackground(ReportFile& file) {
  if (SetBkMode(file.dc(), TRANSPARENT) == 0) DebugLog("SetBkMode failed\n");
}

// UTF-8 text as UTF-16 for the wide-character call; its length in WCHARs.
int WideTextOf(ReportFile& file, const char* text, int length) {
  if (length == 0) return 0;
  if (file.wide.size() < static_cast<size_t>(length)) file.wide.resize(static_cast<size_t>(length));
  int wide = MultiByteToWideChar(CP_UTF8, 0, text, length, file.wide.data(), length);
  if (wide == 0)
    DebugLog("PutRun: UTF-8 text not converted, error %d\n", static_cast<int>(GetLastError()));
  return wide;
}

// The advance of each of a run's count bytes: one cell each, or null for
// the face's own widths. A buffer of one advance throughout is kept as it
// is, so steady printing writes nothing.
const INT* ByteAdvances(ReportFile& file, int count, int advance) {
  if (advance <= 0) return nullptr;
  if (file.advances.size() < static_cast<size_t>(count) || file.uniformAdvance != advance) {
    file.advances.resize(std::max(file.advances.size(), static_cast<size_t>(count)));
    std::fill(file.advances.begin(), file.advances.end(), advance);
    file.uniformAdvance = advance;
  }
  return file.advances.data();
}

// The advance of each UTF-16 unit of UTF-8 text: its character's columns
// in cells on its first unit, nothing on the second of a pair. Null when
// there is no advance or the units do not match the conversion.
const INT* WideAdvances(ReportFile& file, const char* text, int length, int units, int advance) {
  if (advance <= 0) return nullptr;
  if (file.advances.size() < static_cast<size_t>(units))
    file.advances.resize(static_cast<size_t>(units));
  file.uniformAdvance = 0;
  int unit = 0;
  for (int k = 0; k < length && unit < units;) {
    int used = 0;
    uint32_t c = DecodeUtf8(text + k, length - k, used);
    file.advances[static_cast<size_t>(unit++)] = CodePointColumns(c) * advance;
    if (c >= 0x10000 && unit < units) file.advances[static_cast<size_t>(unit++)] = 0;
    k += used;
  }
  return unit == units ? file.advances.data() : nullptr;
}

// The caller who names the bytes' code page, or sends them raw, is taken
// at its word; otherwise a line that reads as UTF-8 is UTF-8.
bool MayBeUtf8(const PrintJob& job) {
  return !job.raw && !job.oemTranslation && !job.ansiTranslation;
}

// Columns before the last character of length bytes of text that takes
// any: where a combining mark after them is drawn.
int LastCellColumn(const char* text, int length, bool utf8) {
  int columns = 0, last = 0;
  for (int k = 0; k < length;) {
    int used = 0;
    int width = utf8 ? CodePointColumns(DecodeUtf8(text + k, length - k, used)) : (used = 1);
    if (width > 0) last = columns;
    columns += width;
    k += used;
  }
  return last;
}

}  // namespace

// The bytes of the run at start that go out in one call. In a UTF-8 line
// a run ends after a wide character, whose glyph may not be two cells
// wide in the face, and combining marks go out on their own, drawn in the
// cell of the character they join (faces give them an advance of their
// own): what follows starts at its own column.
int GridRunLength(const DecodedLine& decoded, int start) {
  int length = RunLength(decoded, start);
  if (!decoded.utf8) return length;
  const char* text = decoded.text + start;
  for (int k = 0; k < length;) {
    int used = 0;
    int columns = CodePointColumns(DecodeUtf8(text + k, length - k, used));
    if (columns == 0) {
      if (k > 0) return k;
      while (k < length && CodePointColumns(DecodeUtf8(text + k, length - k, used)) == 0) k += used;
      return k;
    }
    k += used;
    if (columns == 2) return k;
  }
  return length;
}

bool CreateStyleFonts(ReportFile& file) {
  DrawWithoutBackground(file);
  return file.fonts.Create(file.job, file.dc());
}

void ReleaseStyleFonts(ReportFile& file) { file.fonts.Release(); }

void ReselectStyleFonts(ReportFile& file) {
  file.fonts.ForgetSelection();
  DrawWithoutBackground(file);
}

bool GetGridMetrics(HDC dc, int& advance, int& lineHeight) {
  TEXTMETRICA tm{};
  if (!GetTextMetricsA(dc, &tm)) {
    advance = 0;
    lineHeight = 0;
    return false;
  }
  advance = tm.tmAveCharWidth;
  lineHeight = tm.tmHeight + tm.tmExternalLeading;
  return true;
}

void PutRun(ReportFile& file, LineAttr attribute, int x, int y, const char* text, int length,
            bool utf8, int advance) {
  if (length < 0 || (length > 0 && !text)) {
    DebugLog("PutRun: no text to put (length %d)\n", length);
    return;
  }
  if (file.job.raw) {
    SendPassThrough(file, text, length);
    return;
  }
  file.fonts.Select(file.dc(), attribute);
  if (utf8) {
    // The conversion may grow the buffer: its address is taken after it.
    int units = WideTextOf(file, text, length);
    const INT* dx = WideAdvances(file, text, length, units, advance);
    ExtTextOutW(file.dc(), x, y, 0, nullptr, file.wide.data(), static_cast<UINT>(units), dx);
    return;
  }
  const char* translated = TranslatedText(file, text, length);
  ExtTextOutA(file.dc(), x, y, 0, nullptr, translated, static_cast<UINT>(length),
              ByteAdvances(file, length, advance));
}

void WriteReportLine(ReportFile& file, const char* line, int count, int row, int advance,
                     int lineHeight, bool plain) {
  file.cells.tabStop = file.job.tabStop;
  file.cells.passThrough = file.job.raw;
  if (plain && file.cells.escapeAttribute == kPlain) {
    // What decoding would give: the text up to the line feed's terminator,
    // in one plain run at the first column.
    int length = count > 0 && line[count - 1] == '\0' ? count - 1 : count;
    PutRun(file, kPlain, 0, row * lineHeight, line, length, false, advance);
    return;
  }
  DecodedLine decoded;
  DecodeOverstrike(line, count, decoded, MayBeUtf8(file.job), &file.cells);
  const bool utf8 = decoded.utf8;
  const int y = row * lineHeight;
  int start = 0;
  int column = 0;
  int lastCell = 0;  // where the last character that takes a column starts
  int over = 0;
  do {
    int length = GridRunLength(decoded, start);
    const char* run = decoded.text + start;
    int columns = TextColumns(run, length, utf8);
    int x = columns == 0 && length > 0 ? lastCell : column;
    PutRun(file, decoded.attributes[start], x * advance, y, run, length, utf8, advance);
    // The characters struck over the run's cells go on top of them.
    for (; over < decoded.overprintCount && decoded.overprints[over].position < start + length;
         ++over) {
      const Overprint& top = decoded.overprints[over];
      int cell = column + TextColumns(run, top.position - start, utf8);
      PutRun(file, top.attribute, cell * advance, y, top.text, top.length, utf8, advance);
    }
    if (columns > 0) lastCell = column + LastCellColumn(run, length, utf8);
    column += columns;
    start += length;
  } while (start < decoded.length);
}

}  // namespace plenwick

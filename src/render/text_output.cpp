#include "render/text_output.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/debug_log.h"
#include "core/fixed_text.h"
#include "platform/handles.h"

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

}  // namespace

bool CreateStyleFonts(ReportFile& file) { return file.fonts.Create(file.job, file.dc()); }

void ReleaseStyleFonts(ReportFile& file) { file.fonts.Release(); }

void ReselectStyleFonts(ReportFile& file) { file.fonts.ForgetSelection(); }

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

void PutRun(ReportFile& file, LineAttr attribute, int x, int y, const char* text, int length) {
  if (length < 0 || (length > 0 && !text)) {
    DebugLog("PutRun: no text to put (length %d)\n", length);
    return;
  }
  if (file.job.raw) {
    SendPassThrough(file, text, length);
    return;
  }
  file.fonts.Select(file.dc(), attribute);
  TextOutA(file.dc(), x, y, TranslatedText(file, text, length), length);
}

void WriteReportLine(ReportFile& file, const char* line, int count, int row, int advance,
                     int lineHeight) {
  DecodedLine decoded;
  DecodeOverstrike(line, count, decoded);
  int column = 0;
  do {
    int length = RunLength(decoded, column);
    PutRun(file, decoded.attributes[column], column * advance, row * lineHeight, decoded.text + column,
           length);
    column += length;
  } while (column < decoded.length);
}

}  // namespace plenwick

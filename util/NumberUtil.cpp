// Number and text conversions, string formatting, the date stamp and the
// padded column printers.
#include "util/NumberUtil.h"

#include <climits>
#include <cstdint>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "util/LineScan.h"

namespace ostrel {

namespace {

std::string FormatV(size_t size, const char* format, va_list args) {
  std::vector<char> buffer(size > 0 ? size : 1);
  va_list again;
  va_copy(again, args);
  const int needed = std::vsnprintf(buffer.data(), buffer.size(), format, args);
  if (needed >= 0 && static_cast<size_t>(needed) >= buffer.size()) {
    buffer.resize(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, again);
  }
  va_end(again);
  return needed < 0 ? std::string() : std::string(buffer.data(), static_cast<size_t>(needed));
}

__attribute__((format(printf, 1, 2))) std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(64, format, args);
  va_end(args);
  return text;
}

// True when the format's only conversions are "%%" and at most one of a
// floating-point kind, with flags, width and precision but no '*' and no
// length other than 'l' (which the floating kinds ignore).
bool TakesOneFloat(const std::string& format) {
  int floats = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    ++i;
    if (i < format.size() && format[i] == '%') continue;
    while (i < format.size() && std::strchr("-+ #0", format[i]) != nullptr) ++i;
    while (i < format.size() && IsDigit(format[i])) ++i;
    if (i < format.size() && format[i] == '.') ++i;
    while (i < format.size() && IsDigit(format[i])) ++i;
    if (i < format.size() && format[i] == 'l') ++i;
    if (i >= format.size() || std::strchr("fFeEgGaA", format[i]) == nullptr) return false;
    ++floats;
  }
  return floats <= 1;
}

void PrintPadded(std::ostream& out, int width, const std::string& text, bool alignRight) {
  const size_t columns = width > 0 ? static_cast<size_t>(width) : 0;
  const std::string blanks(text.size() < columns ? columns - text.size() : 0, ' ');
  out << (alignRight ? blanks + text : text + blanks);
}

}  // namespace

std::string itoa(int v) { return Format("%d", v); }
std::string itostring(int v) { return itoa(v); }
std::string ftoa(float v) { return Format("%f", v); }
std::string ftostring(float v) { return ftoa(v); }

std::string ftoa(float v, const std::string& format) {
  if (!TakesOneFloat(format)) return ftoa(v);
  return Format(format.c_str(), static_cast<double>(v));
}

int atoi(const std::string& s) { return atoi(s.c_str()); }

bool ParseCount(const std::string& text, int& value) {
  if (text.empty()) return false;
  int64_t parsed = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    parsed = parsed * 10 + (c - '0');
    if (parsed > INT_MAX) return false;
  }
  value = static_cast<int>(parsed);
  return true;
}

void sprintf(int size, std::string& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  out = FormatV(size > 0 ? static_cast<size_t>(size) : 1, format, args);
  va_end(args);
}

std::string GetDateStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Format("%04d%02d%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

void PrintSpacePaddedNum(std::ostream& out, int width, int value) {
  PrintPadded(out, width, Format("%d", value), true);
}

void PrintSpacePaddedFloat(std::ostream& out, int width, float value) {
  PrintPadded(out, width, Format("%3.3f", value), true);
}

void PrintSpacePaddedString(std::ostream& out, int width, const std::string& s) {
  PrintPadded(out, width, s, false);
}

}  // namespace ostrel

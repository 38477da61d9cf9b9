// File names and files: tests, dates, generated names, lists of names.
#include "util/FileUtil.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "search/RandomNumber.h"
#include "util/NumberUtil.h"

namespace ostrel {

namespace {

// The local calendar date of the file's last status change; false when the
// status cannot be read.
bool StatusChangeDate(const std::string& name, std::tm& date) {
  struct stat status;
  if (::stat(name.c_str(), &status) != 0) return false;
  const std::time_t changed = status.st_ctime;
  return ::localtime_r(&changed, &date) != nullptr;
}

[[noreturn]] void DieUnableToOpen(const std::string& name) {
  std::cerr << "Unable to open " << name << std::endl;
  std::exit(1);
}

}  // namespace

bool FileExists(const std::string& name) {
  std::ifstream in(name);
  return in.is_open();
}

long FileSize(const std::string& name) {
  struct stat status;
  if (::stat(name.c_str(), &status) != 0) return -1;
  return static_cast<long>(status.st_size);
}

bool FileIsNewerThan(const std::string& name, int year, int month, int day) {
  std::tm date;
  if (!StatusChangeDate(name, date)) return false;
  const int fileYear = date.tm_year + 1900;
  const int fileMonth = date.tm_mon + 1;
  if (fileYear != year) return fileYear > year;
  if (fileMonth != month) return fileMonth > month;
  return date.tm_mday > day;
}

bool FileModifiedBefore(const std::string& a, const std::string& b) {
  struct stat statusA;
  struct stat statusB;
  if (::stat(a.c_str(), &statusA) != 0 || ::stat(b.c_str(), &statusB) != 0) return false;
  return statusA.st_mtime < statusB.st_mtime;
}

std::string GetDateStamp(const std::string& name) {
  std::tm date;
  if (!StatusChangeDate(name, date)) return "00000000";
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d", date.tm_year + 1900, date.tm_mon + 1,
                date.tm_mday);
  return stamp;
}

std::string CreateTemporaryFileName(const std::string& base) {
  RandomNumberGenerator generator;
  generator.SeedWithClock();
  // Uniform gives a value in [0, 2^31 - 1] here, so the conversion is safe.
  const long n = static_cast<long>(std::trunc(generator.Uniform(0.0, 2147483647.0)));
  char number[32];
  std::snprintf(number, sizeof number, "%ld", n);
  return base + number;
}

std::string CreateTemporaryFileName(const char* base) {
  return CreateTemporaryFileName(std::string(base == nullptr ? "" : base));
}

std::string UniquifyName(const std::string& base, const std::string& suffix) {
  for (int n = 0;; ++n) {
    const std::string candidate = base + itoa(n) + suffix;
    if (!FileExists(candidate)) return candidate;
  }
}

std::string GetFileSuffix(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? "" : name.substr(dot + 1);
}

void WriteFOF(const std::string& name, const std::vector<std::string>& names) {
  std::ofstream out(name, std::ios::trunc);
  for (const std::string& n : names) out << n << "\n";
}

void OpenOrDie(const std::string& name, std::ifstream& in) {
  in.open(name);
  if (!in.is_open()) DieUnableToOpen(name);
}

void OpenOrDie(const std::string& name, std::ofstream& out) {
  out.open(name, std::ios::out | std::ios::trunc);
  if (!out.is_open()) DieUnableToOpen(name);
}

}  // namespace ostrel

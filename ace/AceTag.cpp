// Reading and rewriting the one line of a tag that says what it marks.
#include "ace/AceTag.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "ace/AceTokens.h"

namespace ostrel {

namespace {

// The word of the tag's second line: where it starts and ends in the text.
struct Word {
  size_t mStart;
  size_t mEnd;
};

// The words of the second line, up to `most` of them.
std::vector<Word> SubjectLineWords(const std::string& text, size_t most) {
  std::vector<Word> words;
  const size_t lineStart = text.find('\n');
  if (lineStart == std::string::npos) return words;
  const size_t lineEnd = std::min(text.find('\n', lineStart + 1), text.size());
  size_t at = lineStart + 1;
  while (words.size() < most) {
    at = text.find_first_not_of(" \t\r", at);
    if (at == std::string::npos || at >= lineEnd) break;
    const size_t end = std::min(text.find_first_of(" \t\r\n", at), lineEnd);
    words.push_back({at, end});
    at = end;
  }
  return words;
}

bool ParsePosition(const std::string& text, const Word& word, int64_t& value) {
  const std::string digits = text.substr(word.mStart, word.mEnd - word.mStart);
  if (digits.empty() || digits.size() > 18) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtoll(digits.c_str(), &end, 10);
  return errno == 0 && *end == '\0';
}

bool HasKind(const std::string& text, const char* kind) {
  const size_t at = text.find_first_not_of(" \t");
  return at != std::string::npos && text.compare(at, 3, kind) == 0;
}

}  // namespace

std::string AceTag::Subject() const { return TagSubject(mText); }

bool AceTag::OnContig() const { return HasKind(mText, "CT{"); }

bool AceTag::OnAssembly() const { return IsAssemblyTag(mText); }

bool AceTag::Span(int64_t& first, int64_t& last) const {
  const std::vector<Word> words = SubjectLineWords(mText, 5);
  return words.size() == 5 && ParsePosition(mText, words[3], first) && ParsePosition(mText, words[4], last);
}

void AceTag::Rename(const std::string& subject) {
  const std::vector<Word> words = SubjectLineWords(mText, 1);
  if (words.empty()) return;
  mText.replace(words[0].mStart, words[0].mEnd - words[0].mStart, subject);
}

void AceTag::SetSpan(int64_t first, int64_t last) {
  const std::vector<Word> words = SubjectLineWords(mText, 5);
  if (words.size() < 5) return;
  // The later word first, so that the earlier one's place still holds.
  mText.replace(words[4].mStart, words[4].mEnd - words[4].mStart, std::to_string(last));
  mText.replace(words[3].mStart, words[3].mEnd - words[3].mStart, std::to_string(first));
}

void SayTagsLeftOut(int leftOut) {
  if (leftOut > 0)
    std::cerr << leftOut << (leftOut == 1 ? " tag" : " tags")
              << " left out: the contig or read it marks is no longer in the assembly." << std::endl;
}

}  // namespace ostrel

#include "cli/cli_options.h"

#include <algorithm>

#include "platform/utf8.h"

namespace vm {

const char* const kFieldOptions[kFieldCount] = {
    "computer-name", "cpu",        "ram",          "motherboard", "video-card",
    "video-ram",     "video-freq", "video-driver", "os",          "other"};

std::string Shown(const std::string& text) {
  // Cut at a character's start, so that the cut leaves no half of one.
  size_t cut = std::min<size_t>(text.size(), 60);
  while (cut < text.size() && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
    --cut;
  return TerminalText(text.substr(0, cut)) + (cut < text.size() ? "..." : "");
}

IntegerParse ParseInteger(const std::string& text, long lo, long hi, long& value) {
  const bool negative = !text.empty() && text[0] == '-';
  const size_t first = negative ? 1 : 0;
  if (text.size() == first) return IntegerParse::kNotANumber;
  // Saturated far beyond every limit, so that no length overflows.
  long long magnitude = 0;
  for (size_t i = first; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return IntegerParse::kNotANumber;
    magnitude = std::min(magnitude * 10 + (text[i] - '0'), 1000000000000000LL);
  }
  const long long n = negative ? -magnitude : magnitude;
  if (n < lo) {
    value = lo;
    return IntegerParse::kBelow;
  }
  if (n > hi) {
    value = hi;
    return IntegerParse::kAbove;
  }
  value = static_cast<long>(n);
  return IntegerParse::kOk;
}

bool IsHistoryIndex(const std::string& word) {
  long n = 0;
  return word[0] != '-' && ParseInteger(word, 1, 1000000000, n) == IntegerParse::kOk;
}

bool ParseSceneList(const std::string& text, bool (&scenes)[kSceneCount], std::string& error) {
  bool picked[kSceneCount] = {};
  size_t pos = 0;
  while (true) {
    const size_t comma = text.find(',', pos);
    const std::string item =
        text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
    const size_t dash = item.find('-', 1);
    long lo = 0, hi = 0;
    bool ok;
    // A range's ends are plain numbers: no sign.
    if (dash == std::string::npos) {
      ok = item[0] != '-' && ParseInteger(item, 1, kSceneCount, lo) == IntegerParse::kOk;
      hi = lo;
    } else {
      const std::string a = item.substr(0, dash), b = item.substr(dash + 1);
      ok = a[0] != '-' && !b.empty() && b[0] != '-' &&
           ParseInteger(a, 1, kSceneCount, lo) == IntegerParse::kOk &&
           ParseInteger(b, 1, kSceneCount, hi) == IntegerParse::kOk && lo <= hi;
    }
    if (!ok) {
      error = "bad scene list '" + Shown(text) + "' (scene numbers 1-" +
              std::to_string(kSceneCount) + ", e.g. 1,3,5-9)";
      return false;
    }
    for (long s = lo; s <= hi; ++s) picked[s - 1] = true;
    if (comma == std::string::npos) break;
    pos = comma + 1;
  }
  for (int i = 0; i < kSceneCount; ++i) scenes[i] = picked[i];
  return true;
}

}  // namespace vm

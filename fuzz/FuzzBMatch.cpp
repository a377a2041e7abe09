// Fuzz target: random patterns, replacements and texts through BMatch and BSubst.
// Checks that results stay inside the target, on character boundaries, and that the message
// buffer (exactly 80 bytes on the heap) is never overrun.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "base/sjis.h"
#include "regexp/VornRegexpApi.h"

extern "C" int BMatch(const char*, const char*, const char*, const char*, int, TResultRecord**, char*);
extern "C" int BSubst(const char*, const char*, const char*, const char*, TResultRecord**, char*, TBregexpProgress);
extern "C" void BRegfree(TResultRecord*);

namespace {

// Whether the target is valid Shift_JIS: on a lead byte followed by a byte that cannot be a
// trail byte, what a character is is a matter of convention, so boundaries are checked only
// on valid text.
bool ValidSjis(const char* begin, const char* end) {
  for (const char* q = begin; q < end; ++q) {
    if (!vorn::sjis::IsLeadByte(*q)) continue;
    if (++q >= end || !vorn::sjis::IsTrailByte(*q)) return false;
  }
  return true;
}

bool OnBoundary(const char* begin, const char* end, const char* p) {
  const char* q = begin;
  while (q < p) q += (vorn::sjis::IsLeadByte(*q) && q + 1 < end) ? 2 : 1;
  return q == p;
}

void CheckAt(bool condition, int line) {
  if (condition) return;
  std::fprintf(stderr, "check failed at line %d\n", line);
  std::abort();
}
#define Check(condition) CheckAt((condition), __LINE__)

int stopAt = 0;
int Progress(int kind, int count, int) {
  Check(kind == 0 && count > 0);
  // Both ways of stopping: keeping the rest in the output, and leaving it to the caller.
  return count >= stopAt ? (stopAt % 2 ? -1 : 0) : 1;
}

// Input: flags byte, start byte, then pattern 0x00 replacement 0x00 text.
std::string Field(const uint8_t*& data, const uint8_t* end) {
  const uint8_t* nul = static_cast<const uint8_t*>(std::memchr(data, 0, end - data));
  const uint8_t* stop = nul ? nul : end;
  std::string field(reinterpret_cast<const char*>(data), stop - data);
  data = nul ? nul + 1 : end;
  return field;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 4096) return 0;
  const uint8_t flags = data[0];
  const uint8_t startByte = data[1];
  const uint8_t* p = data + 2;
  const uint8_t* end = data + size;
  std::string pattern = Field(p, end);
  std::string replacement = Field(p, end);
  std::string text(reinterpret_cast<const char*>(p), end - p);

  std::string options = std::string(flags & 1 ? "g" : "") + (flags & 2 ? "m" : "") + (flags & 4 ? "k" : "");
  std::string match = "m\x01" + pattern + "\x01" + options;
  std::string subst = "s\x01" + pattern + "\x01" + replacement + "\x01" + options;

  // exact-size copies so that any read beyond them is caught
  std::unique_ptr<char[]> target(new char[text.size() + 1]);
  std::memcpy(target.get(), text.data(), text.size());
  const char* b = target.get();
  const char* e = b + text.size();
  const char* s = b + (text.empty() ? 0 : startByte % (text.size() + 1));
  std::unique_ptr<char[]> message(new char[kBregexpMessageSize]);
  message[0] = '\0';

  TResultRecord* record = nullptr;
  int r = BMatch(match.c_str(), b, s, e, (flags & 8) ? 1 : 0, &record, message.get());
  Check(strnlen(message.get(), kBregexpMessageSize) < kBregexpMessageSize || r > 0);
  if (r > 0) {
    Check(record != nullptr);
    const char* ms = record->startp[0];
    const char* me = record->endp[0];
    Check(ms && me && b <= ms && ms <= me && me <= e && ms >= s);
    if ((flags & 4) && ValidSjis(b, e)) {
      Check(OnBoundary(b, e, ms) && OnBoundary(b, e, me));
      if (flags & 8) Check(ms == s || !OnBoundary(b, e, s));
    }
    for (int i = 1; i <= record->nparens; ++i)
      Check((!record->startp[i] && !record->endp[i]) ||
            (b <= record->startp[i] && record->startp[i] <= record->endp[i] && record->endp[i] <= e));
  }
  stopAt = 1 + (flags >> 4);
  message[0] = '\0';
  r = BSubst(subst.c_str(), b, s, e, &record, message.get(), (flags & 16) ? Progress : nullptr);
  if (r > 0) {
    Check(record != nullptr);
    Check((record->outp == nullptr) == (record->outendp == nullptr));
    if (record->outp) Check(record->outp < record->outendp);
  } else if (r < 0) {
    Check(strnlen(message.get(), kBregexpMessageSize) < kBregexpMessageSize);
  }
  if (record) BRegfree(record);
  return 0;
}

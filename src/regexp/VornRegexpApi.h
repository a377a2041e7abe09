// The call contract of libVornRegexp.so: the result record and the six entry points' signatures.
#pragma once

#include <cstdint>

extern "C" {

// Created by BMatch/BSubst/BSplit into the caller's slot and released with BRegfree. The caller
// reads only the public fields; everything else stays behind `reserved`.
struct TResultRecord {
  char* outp;       // first byte of the substitution output (nullptr: empty output)
  char* outendp;    // one past its last byte
  void* reserved[3];
  char** startp;    // group start pointers into the caller's target; index 0 is the whole match
  char** endp;      // group end pointers (one past the last byte); nullptr for a group that took no part
  int32_t nparens;  // number of capture groups, the whole match not counted
};

// Called during a global substitution with (0, substitutions so far, byte offset reached from
// the target begin); a zero result stops the substitution, the rest of the target then
// following the output as it was, and a negative one stops it with the output ending at the
// last replacement (the caller, who has the target, adds the rest itself). It is called after
// every substitution, and then the record's group 0 spans the match just replaced and its
// output span holds the output so far; between matches it is called at least every megabyte
// searched.
typedef int (*TBregexpProgress)(int kind, int count, int position);

// Size of the message buffer every caller passes; messages are cut to fit with their NUL.
enum { kBregexpMessageSize = 80 };

typedef int (*TBMatchFunc)(const char* command, const char* targetBegin, const char* searchStart,
                           const char* targetEnd, int anchored, TResultRecord** record, char* message);
typedef int (*TBSubstFunc)(const char* command, const char* targetBegin, const char* searchStart,
                           const char* targetEnd, TResultRecord** record, char* message,
                           TBregexpProgress progress);
// Translates characters: command "t" 0x01 from-list 0x01 to-list 0x01 options; the output span
// holds the translated target; returns the number of characters changed, negative on error.
typedef int (*TBTransFunc)(const char* command, const char* targetBegin, const char* targetEnd,
                           TResultRecord** record, char* message);
// Splits the target at the matches of a match command; the pieces are the record's groups
// (startp/endp, nparens + 1 of them); limit > 0 caps the piece count. Returns the piece count,
// negative on error.
typedef int (*TBSplitFunc)(const char* command, const char* targetBegin, const char* targetEnd,
                           int limit, TResultRecord** record, char* message);
typedef void (*TBRegfreeFunc)(TResultRecord* record);
typedef const char* (*TBRegexpVersionFunc)(void);

}  // extern "C"

#pragma once

// The readings of a sample that detection compares, each scored by the words it makes.

#include <cstdint>
#include <string_view>
#include <vector>

#include "ViqrKeys.h"

namespace odz {

// One candidate's reading of a sample.
struct TReadingScore {
    int candidate = 0;  // its position in DetectorCandidates()
    double score = 0;   // syllables and structure for, faults against
    double bonus = 0;   // the part of the score the structure of the bytes gave
    int syllables = 0;
    int faults = 0;
    int group = 0;  // readings of one group read the sample as the same text
};

struct TSampleFacts {
    bool binary = false;     // zero bytes that are no UTF-16
    bool utf16 = false;      // by byte-order mark or by the pattern of zero bytes
    bool utf16Mark = false;  // a byte-order mark
    bool bigEndian = false;
    bool highBytes = false;  // bytes of 80 hex and above, or control codes
};

// Every candidate that reads the sample as text of its own (a reading of references or VIQR that
// finds none is left out: it reads the sample as UTF-8 does), with groups numbered from 0.
std::vector<TReadingScore> ScoreReadings(std::string_view sample, const TViqrKeys& keys, TSampleFacts& facts);

}  // namespace odz

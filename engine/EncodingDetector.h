#pragma once

// Which encoding a file is in. The sample is read with every encoding detection knows; a reading that
// turns the words holding non-ASCII bytes into Vietnamese syllables is right, one that turns them into
// impossible letter combinations, stray symbols and control codes is wrong. Unicode forms are known by
// their structure too (byte-order marks, zero bytes, valid UTF-8 sequences, "&#N;" references).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Encodings.h"
#include "LineReaders.h"
#include "ViqrKeys.h"

namespace odz {

// An encoding detection can name: most are the engine's encodings; a reading the engine does not have
// (yet) has no `encoding`.
struct TDetectorCandidate {
    std::string_view shortName;
    std::string_view name;
    std::optional<TEncoding> encoding;
};

// Every candidate detection knows, in the order results list equal candidates.
const std::vector<TDetectorCandidate>& DetectorCandidates();

struct TCandidateScore {
    const TDetectorCandidate* candidate = nullptr;
    double confidence = 0;  // 0 to 1: how sure detection is that this reading is the right one
    int group = 0;          // candidates of one group read the sample as the same text
    double score = 0;       // the evidence: syllables and structure for, faults against
    int syllables = 0;      // words with a Vietnamese letter that are syllables
    int faults = 0;         // words that cannot be, stray symbols and control codes
};

// From this confidence on, a detection is taken without asking (the command line converts by it).
constexpr double kConfidentDetection = 0.5;

struct TDetection {
    enum TKind {
        dk_Text,    // text, read best by the first candidate
        dk_Ascii,   // no Vietnamese letter in any reading: every encoding reads it alike
        dk_Binary,  // zero bytes that are no UTF-16: not a text file
    } kind = dk_Text;
    // Best first; a group's candidates stand together, in the order of DetectorCandidates().
    std::vector<TCandidateScore> candidates;
    // A remark on the best reading ("big-endian without a byte-order mark", ...), or empty.
    std::string note;

    bool Confident() const;
    const TCandidateScore* Best() const { return candidates.empty() ? nullptr : &candidates.front(); }
    // The candidates that read the sample as the best one does (the best one first).
    std::vector<const TCandidateScore*> BestGroup() const;
    // The best candidate that reads the sample as another text, or none.
    const TCandidateScore* RunnerUp() const;
    // The engine's encoding to read the file with: the first of the best group the engine has (for
    // plain ASCII, UTF-8, which reads it as it stands); none when the engine has no such reading.
    std::optional<TEncoding> Reading() const;
};

// The bytes detection looks at: the whole file up to `bound` bytes; of a bigger file three pieces, from
// its start, its middle and its end, each cut at line ends. A stream is read up to `bound` from where
// it stands. Throws EFileError when the file cannot be read.
std::string ReadDetectionSample(const TInput& input, std::size_t bound = 64 * 1024);

// Ranks the readings of a sample. VIQR is read with the given keys (the user's key set).
TDetection DetectEncoding(std::string_view sample, const TViqrKeys& keys = TViqrKeys::Defaults());

}  // namespace odz

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace odz {

class TOutputEditor;

// Converted text on its way to a stream that cannot be rewound (standard output). The text goes out as
// it comes, except from a place where the editor may still have to insert something: from there on it
// is held back until the editor knows (in memory up to a bound, beyond it in an unnamed temporary file
// that nothing can leave behind; in memory still when no such file can be made).
class TStreamOutput {
public:
    // Failures throw EFileError("Cannot write <name>"). The descriptor stays open.
    TStreamOutput(int descriptor, std::string name, const TOutputEditor* editor);
    ~TStreamOutput();
    TStreamOutput(const TStreamOutput&) = delete;
    TStreamOutput& operator=(const TStreamOutput&) = delete;

    void Write(std::string_view bytes);
    // Writes what was held back, with the editor's insertion, and hands everything to the stream.
    void Finish();

private:
    void Out(std::string_view bytes);
    void Flush();
    void WriteAll(std::string_view bytes);
    void Hold(std::string_view bytes);
    void Release(std::string_view insertion);
    [[noreturn]] void Fail(int error);

    int FFd;
    std::string FName;
    const TOutputEditor* FEditor;
    std::string FBuffer;
    std::uint64_t FPosition = 0;  // bytes passed to Write() so far
    bool FHolding = false;
    std::string FHeld;
    int FSpill = -1;
    bool FSpillTried = false;
};

}  // namespace odz

#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Encodings.h"
#include "FileJob.h"
#include "Interfaces.h"
#include "LetterTables.h"
#include "LineConverter.h"
#include "ViqrKeys.h"

namespace odz {

// The conversion engine. One instance, RaRaru, lives from start-up to the end of the program; it holds
// the current source encoding, the VIQR key set and the VIQR table built from it.
class TRaRaru {
public:
    explicit TRaRaru(std::filesystem::path settingsFile);

    // Creation and destruction events: the key set is loaded from and saved to the settings file.
    void RaRaruCreate();
    void RaRaruDestroy();
    // Writes the key set to section "VN Key Current Encode", key "Conversion". False when the settings
    // file cannot be written.
    bool RARaruSaveToIni();
    const std::filesystem::path& SettingsFile() const { return FSettingsFile; }

    // The key set.
    void SetTransDau(std::string_view keys);
    std::string GetTrans() const;
    void SetTrans(char key, std::string_view name);
    // The key of that name; the character 0 for a name that is none of the eleven.
    char GetTransKey(std::string_view name) const;
    bool IsToneKey(char c) const { return FKeys.IsToneKey(c); }
    bool IsShapeKey(char c) const { return FKeys.IsShapeKey(c); }
    const TViqrKeys& Keys() const { return FKeys; }
    void BuildViqrTable();
    const TViqrTable& ViqrTable() const { return FViqrTable; }
    // The letter index spelled by the text in the VIQR table (indexes 1 to 146, the first that
    // matches), or 0.
    int FindViqrLetter(std::string_view text) const;

    // The current source encoding.
    bool SetSourceEncode(std::string_view identifier);
    const TVnLetterTable& SourceTable() const { return FSourceTable; }
    const std::string& SourceEncodeName() const { return FSourceEncodeName; }
    bool SourceIsTwoByte() const;

    // The UTF-8 form of a code point, replacing the content of Dest.
    static void UnicodeUTF_8(std::uint32_t Code, std::string& Dest);

    // Per-line routines: Dest receives the converted line.
    void ConvertToOther(std::string_view Source, std::string_view Encode, bool HtmlDoc, std::string& Dest);
    void ConvertTwoByteToOther(std::string_view Source, std::string_view Encode, bool HtmlDoc,
                               std::string& Dest);
    // Encode is the SOURCE encoding here.
    void Convert8To7(std::string_view Source, std::string_view Encode, bool HtmlDoc, std::string& Dest);
    void ConvertTwoByte8to7(std::string_view Source, bool HtmlDoc, std::string& Dest);
    void Convert7To8(std::string_view Source, std::string_view Encode, bool HtmlDoc, std::string& Dest);
    void ConvertHTMLUnicodeToOther(std::string_view Source, std::string_view Encode, bool HtmlDoc,
                                   std::string& Dest);
    void ConvertUTF8toOther(std::string_view Source, std::string_view Encode, bool HtmlDoc,
                            std::string& Dest);

    // Whole-file routines: false when the source does not exist; true otherwise, also when the user
    // declined to replace an existing target. File errors are thrown as EFileError.
    bool Convert8ToUnicode16(const std::filesystem::path& SourceFile, const std::filesystem::path& TargetFile,
                             bool OverwriteAll);
    bool ConvertTwoByte8toUnicode16(const std::filesystem::path& SourceFile,
                                    const std::filesystem::path& TargetFile, bool OverwriteAll);
    bool Convert7ToUnicode16(const std::filesystem::path& SourceFile, const std::filesystem::path& TargetFile,
                             bool OverwriteAll);
    bool ConvertHTMLUnicodeToUnicode16(const std::filesystem::path& SourceFile,
                                       const std::filesystem::path& TargetFile, bool OverwriteAll);
    bool ConvertUTF8ToUnicode16(const std::filesystem::path& SourceFile,
                                const std::filesystem::path& TargetFile, bool OverwriteAll);
    bool ConvertUFt16toOther(std::string_view Encode, const std::filesystem::path& SourceFile,
                             const std::filesystem::path& TargetFile, bool OverwriteAll = false);

    // What a file conversion from one encoding to another reads and writes: the letter tables, the key
    // set, and where tags are recognised (always for legacy-to-other and reference sources, with "HTML
    // Doc" for VIQR on either side and UTF-8 sources, by the source file's extension for UTF-16
    // targets, never for UTF-16 sources). With compose, combining marks are joined to the letters
    // before them for Unicode targets too.
    TConversionSetup FileSetup(TEncoding source, TEncoding target, bool htmlDoc,
                               const std::filesystem::path& sourceFile, bool compose = false) const;

    // Converts one file as the job says, with a converter for its setup that is kept for the next file
    // (a batch converts many small files alike).
    TFileJobResult RunJob(TFileJob& job);

    // The engine's own routines above advance ProgressBar (not owned) and ask Questions before they
    // replace an existing file; a job brings its own.
    TProgress* ProgressBar = nullptr;
    TAskYesNoCancel Questions;

private:
    // What picks a per-line converter: cheap to compare, unlike the tables it stands for.
    struct TLineKey {
        TEncodingKind sourceKind;
        const TVnLetterTable* sourceTable;
        std::string target;
        bool tags;
        TViqrKeys keys;
        bool operator==(const TLineKey&) const = default;
    };

    TConversionSetup Setup(TEncodingKind sourceKind, const TVnLetterTable& sourceTable,
                           std::string_view target, bool tags) const;
    void RunLine(TEncodingKind sourceKind, std::string_view target, bool tags, std::string_view Source,
                 std::string& Dest);
    void SelectSourceTable(const TVnLetterTable& table);
    // A whole-file routine: a legacy source is read by the current source table.
    bool RunFile(TEncodingKind source, TEncoding target, const std::filesystem::path& SourceFile,
                 const std::filesystem::path& TargetFile, bool OverwriteAll);

    std::filesystem::path FSettingsFile;
    TVnLetterTable FSourceTable{};
    const TVnLetterTable* FSourceTableOrigin = nullptr;  // the constant table FSourceTable copies
    bool FSourceTwoByte = false;
    std::string FSourceEncodeName;
    TViqrKeys FKeys{};
    TViqrTable FViqrTable{};
    TViqrIndex FViqrIndex;                    // rebuilt with the table
    std::optional<TViqrKeys> FViqrTableKeys;  // the keys FViqrTable was built from
    std::vector<std::pair<TLineKey, std::unique_ptr<TLineConverter>>> FLineConverters;
    std::optional<TConversionSetup> FFileSetup;
    std::unique_ptr<TLineConverter> FFileConverter;
};

// The program's engine, created at start-up before the window and destroyed after it.
extern TRaRaru* RaRaru;

// Creates the program's engine (keys loaded) and destroys it at the end of the scope (keys saved when
// saveKeys is true).
class TRaRaruInstance {
public:
    TRaRaruInstance(std::filesystem::path settingsFile, bool saveKeys);
    ~TRaRaruInstance();
    TRaRaruInstance(const TRaRaruInstance&) = delete;
    TRaRaruInstance& operator=(const TRaRaruInstance&) = delete;
    TRaRaru& Engine() { return *FEngine; }

private:
    std::unique_ptr<TRaRaru> FEngine;
    bool FSaveKeys;
};

}  // namespace odz

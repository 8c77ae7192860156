#include "TRaRaru.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "IniStore.h"
#include "LetterLookup.h"
#include "TextSinks.h"

namespace odz {

TRaRaru* RaRaru = nullptr;

namespace {

constexpr std::string_view kKeySection = "VN Key Current Encode";
constexpr std::string_view kKeyName = "Conversion";
constexpr std::size_t kLineConverterCache = 16;

// HTML mode of the UTF-16 writers: the extension of the source file holds "HTM" in any letter case.
bool HasHtmlExtension(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension.find("HTM") != std::string::npos;
}

// Where a file conversion recognises tags.
bool FileTags(TEncodingKind source, TEncodingKind target, bool htmlDoc,
              const std::filesystem::path& sourceFile) {
    if (source == TEncodingKind::Utf16) return false;
    if (target == TEncodingKind::Utf16) return HasHtmlExtension(sourceFile);
    if (source == TEncodingKind::Viqr || target == TEncodingKind::Viqr || source == TEncodingKind::Utf8 ||
        source == TEncodingKind::Utf8Nfd) {
        return htmlDoc;
    }
    return true;  // 8-bit code pages to 8-bit code pages, references or UTF-8; references to anything
}

void SetTarget(TConversionSetup& setup, std::string_view identifier) {
    const auto encoding = EncodingByIdentifier(identifier);
    if (!encoding) {
        // A name of no encoding: letters go out as references, nothing is lost.
        setup.targetKind = TEncodingKind::Legacy;
        setup.targetTable = {};
        return;
    }
    setup.targetKind = EncodingInfo(*encoding).kind;
    if (const TVnLetterTable* table = LegacyTableFor(*encoding)) setup.targetTable = *table;
}

}  // namespace

TRaRaru::TRaRaru(std::filesystem::path settingsFile) : FSettingsFile(std::move(settingsFile)) {}

void TRaRaru::RaRaruCreate() {
    std::string stored;
    std::error_code error;
    if (std::filesystem::exists(FSettingsFile, error)) {
        // The value is read into a buffer of 20 characters: at most 19 are kept.
        stored = TIniStore(FSettingsFile).ReadString(kKeySection, kKeyName, "", 20);
    }
    SetTransDau(stored);
}

void TRaRaru::RaRaruDestroy() {
    RARaruSaveToIni();
}

bool TRaRaru::RARaruSaveToIni() {
    return TIniStore(FSettingsFile).WriteString(kKeySection, kKeyName, GetTrans());
}

void TRaRaru::SetTransDau(std::string_view keys) {
    if (keys.size() < kViqrKeyCount) keys = kDefaultViqrKeys;
    for (int k = 0; k < kViqrKeyCount; ++k) FKeys.keys[k] = keys[k];
}

std::string TRaRaru::GetTrans() const {
    return FKeys.AsString();
}

void TRaRaru::SetTrans(char key, std::string_view name) {
    if (const auto which = ViqrKeyByName(name)) FKeys.keys[*which] = key;
}

char TRaRaru::GetTransKey(std::string_view name) const {
    const auto which = ViqrKeyByName(name);
    return which ? FKeys[*which] : '\0';
}

void TRaRaru::BuildViqrTable() {
    if (FViqrTableKeys == FKeys) return;  // the same keys build the same table
    FViqrTable = MakeViqrTable(FKeys);
    FViqrIndex = TViqrIndex(FViqrTable);
    FViqrTableKeys = FKeys;
}

int TRaRaru::FindViqrLetter(std::string_view text) const {
    return FViqrIndex.Find(text);
}

void TRaRaru::SelectSourceTable(const TVnLetterTable& table) {
    FSourceTable = table;
    FSourceTableOrigin = &table;
    FSourceTwoByte = HasTwoByteCodes(table);
}

bool TRaRaru::SetSourceEncode(std::string_view identifier) {
    if (const TVnLetterTable* table = LegacyTableFor(identifier)) SelectSourceTable(*table);
    FSourceEncodeName = identifier;
    return true;
}

bool TRaRaru::SourceIsTwoByte() const {
    return FSourceTwoByte;
}

void TRaRaru::UnicodeUTF_8(std::uint32_t Code, std::string& Dest) {
    Dest.clear();
    AppendUtf8(Dest, Code);
}

TConversionSetup TRaRaru::Setup(TEncodingKind sourceKind, const TVnLetterTable& sourceTable,
                                std::string_view target, bool tags) const {
    TConversionSetup setup;
    setup.sourceKind = sourceKind;
    if (sourceKind == TEncodingKind::Legacy) setup.sourceTable = sourceTable;
    SetTarget(setup, target);
    setup.keys = FKeys;
    setup.tags = tags;
    setup.edhIsDStroke = (sourceKind == TEncodingKind::Utf8 || sourceKind == TEncodingKind::Utf8Nfd) &&
                         setup.targetKind != TEncodingKind::Utf16;
    return setup;
}

TConversionSetup TRaRaru::FileSetup(TEncoding source, TEncoding target, bool htmlDoc,
                                    const std::filesystem::path& sourceFile, bool compose) const {
    const TEncodingKind sourceKind = EncodingInfo(source).kind;
    const TVnLetterTable* sourceTable = LegacyTableFor(source);
    TConversionSetup setup =
        Setup(sourceKind, sourceTable ? *sourceTable : TVnLetterTable{}, EncodingInfo(target).identifier,
              FileTags(sourceKind, EncodingInfo(target).kind, htmlDoc, sourceFile));
    setup.compose = compose;
    return setup;
}

void TRaRaru::RunLine(TEncodingKind sourceKind, std::string_view target, bool tags, std::string_view Source,
                      std::string& Dest) {
    const TLineKey key{sourceKind, sourceKind == TEncodingKind::Legacy ? FSourceTableOrigin : nullptr,
                       std::string(target), tags, FKeys};
    auto cached = std::find_if(FLineConverters.begin(), FLineConverters.end(),
                               [&](const auto& entry) { return entry.first == key; });
    if (cached == FLineConverters.end()) {
        if (FLineConverters.size() == kLineConverterCache) FLineConverters.erase(FLineConverters.begin());
        FLineConverters.emplace_back(key, MakeLineConverter(Setup(sourceKind, FSourceTable, target, tags)));
        cached = std::prev(FLineConverters.end());
    }
    Dest = cached->second->ConvertToString(Source);
    if (ProgressBar) ProgressBar->Advance(static_cast<std::int64_t>(Source.size()));
}

void TRaRaru::ConvertToOther(std::string_view Source, std::string_view Encode, bool HtmlDoc,
                             std::string& Dest) {
    if (SourceIsTwoByte()) {
        ConvertTwoByteToOther(Source, Encode, HtmlDoc, Dest);
        return;
    }
    RunLine(TEncodingKind::Legacy, Encode, true, Source, Dest);
}

void TRaRaru::ConvertTwoByteToOther(std::string_view Source, std::string_view Encode, bool /*HtmlDoc*/,
                                    std::string& Dest) {
    RunLine(TEncodingKind::Legacy, Encode, true, Source, Dest);
}

void TRaRaru::Convert8To7(std::string_view Source, std::string_view Encode, bool HtmlDoc, std::string& Dest) {
    if (const TVnLetterTable* table = LegacyTableFor(Encode)) SelectSourceTable(*table);
    if (SourceIsTwoByte()) {
        ConvertTwoByte8to7(Source, HtmlDoc, Dest);
        return;
    }
    BuildViqrTable();
    RunLine(TEncodingKind::Legacy, "VIQR", HtmlDoc, Source, Dest);
}

void TRaRaru::ConvertTwoByte8to7(std::string_view Source, bool HtmlDoc, std::string& Dest) {
    BuildViqrTable();
    RunLine(TEncodingKind::Legacy, "VIQR", HtmlDoc, Source, Dest);
}

void TRaRaru::Convert7To8(std::string_view Source, std::string_view Encode, bool HtmlDoc, std::string& Dest) {
    BuildViqrTable();
    // The target's table stays in the source table after the call.
    if (const TVnLetterTable* table = LegacyTableFor(Encode)) SelectSourceTable(*table);
    RunLine(TEncodingKind::Viqr, Encode, HtmlDoc, Source, Dest);
}

void TRaRaru::ConvertHTMLUnicodeToOther(std::string_view Source, std::string_view Encode, bool /*HtmlDoc*/,
                                        std::string& Dest) {
    if (Encode == "VIQR") BuildViqrTable();
    RunLine(TEncodingKind::Ncr, Encode, true, Source, Dest);
}

void TRaRaru::ConvertUTF8toOther(std::string_view Source, std::string_view Encode, bool HtmlDoc,
                                 std::string& Dest) {
    if (Encode == "VIQR") BuildViqrTable();
    RunLine(TEncodingKind::Utf8, Encode, HtmlDoc, Source, Dest);
}

TFileJobResult TRaRaru::RunJob(TFileJob& job) {
    if (!FFileConverter || FFileSetup != job.setup) {
        FFileConverter = MakeLineConverter(job.setup);
        FFileSetup = job.setup;
    }
    job.converter = FFileConverter.get();
    return RunFileJob(job);
}

bool TRaRaru::RunFile(TEncodingKind source, TEncoding target, const std::filesystem::path& SourceFile,
                      const std::filesystem::path& TargetFile, bool OverwriteAll) {
    TFileJob job;
    job.source = SourceFile;
    job.target = TargetFile;
    job.setup = Setup(source, FSourceTable, EncodingInfo(target).identifier,
                      FileTags(source, EncodingInfo(target).kind, false, SourceFile));
    job.overwriteAll = OverwriteAll;
    job.progress = ProgressBar;
    job.questions = Questions;
    return RunJob(job).outcome != TFileJobResult::SourceMissing;
}

bool TRaRaru::Convert8ToUnicode16(const std::filesystem::path& SourceFile,
                                  const std::filesystem::path& TargetFile, bool OverwriteAll) {
    if (SourceIsTwoByte()) return ConvertTwoByte8toUnicode16(SourceFile, TargetFile, OverwriteAll);
    return RunFile(TEncodingKind::Legacy, TEncoding::Utf16, SourceFile, TargetFile, OverwriteAll);
}

bool TRaRaru::ConvertTwoByte8toUnicode16(const std::filesystem::path& SourceFile,
                                         const std::filesystem::path& TargetFile, bool OverwriteAll) {
    return RunFile(TEncodingKind::Legacy, TEncoding::Utf16, SourceFile, TargetFile, OverwriteAll);
}

bool TRaRaru::Convert7ToUnicode16(const std::filesystem::path& SourceFile,
                                  const std::filesystem::path& TargetFile, bool OverwriteAll) {
    BuildViqrTable();
    return RunFile(TEncodingKind::Viqr, TEncoding::Utf16, SourceFile, TargetFile, OverwriteAll);
}

bool TRaRaru::ConvertHTMLUnicodeToUnicode16(const std::filesystem::path& SourceFile,
                                            const std::filesystem::path& TargetFile, bool OverwriteAll) {
    return RunFile(TEncodingKind::Ncr, TEncoding::Utf16, SourceFile, TargetFile, OverwriteAll);
}

bool TRaRaru::ConvertUTF8ToUnicode16(const std::filesystem::path& SourceFile,
                                     const std::filesystem::path& TargetFile, bool OverwriteAll) {
    return RunFile(TEncodingKind::Utf8, TEncoding::Utf16, SourceFile, TargetFile, OverwriteAll);
}

bool TRaRaru::ConvertUFt16toOther(std::string_view Encode, const std::filesystem::path& SourceFile,
                                  const std::filesystem::path& TargetFile, bool OverwriteAll) {
    const auto target = EncodingByIdentifier(Encode);
    if (!target || *target == TEncoding::Utf16) return false;
    if (*target == TEncoding::Viqr) BuildViqrTable();
    return RunFile(TEncodingKind::Utf16, *target, SourceFile, TargetFile, OverwriteAll);
}

TRaRaruInstance::TRaRaruInstance(std::filesystem::path settingsFile, bool saveKeys)
    : FEngine(std::make_unique<TRaRaru>(std::move(settingsFile))), FSaveKeys(saveKeys) {
    FEngine->RaRaruCreate();
    RaRaru = FEngine.get();
}

TRaRaruInstance::~TRaRaruInstance() {
    if (FSaveKeys) FEngine->RaRaruDestroy();
    RaRaru = nullptr;
}

}  // namespace odz

#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

#include "IconvReference.h"
#include "Interfaces.h"

namespace odz::test {

// A temporary folder removed with everything in it.
class TTempDir {
public:
    TTempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "odz-test.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        FPath = pattern;
    }
    ~TTempDir() {
        std::error_code error;
        std::filesystem::permissions(FPath, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(FPath, error);
    }
    const std::filesystem::path& Path() const { return FPath; }
    std::filesystem::path operator/(std::string_view name) const { return FPath / name; }

private:
    std::filesystem::path FPath;
};

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Answers questions from a script; a question nobody scripted fails the test instead of hanging.
class TScriptedQuestions : public TQuestions {
public:
    void Expect(TAnswer answer) { FAnswers.push_back(answer); }
    TAnswer AskYesNoCancel(std::string_view text) override {
        FAsked.emplace_back(text);
        if (FAnswers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return TAnswer::Cancel;
        }
        const TAnswer answer = FAnswers.front();
        FAnswers.pop_front();
        return answer;
    }
    const std::deque<std::string>& Asked() const { return FAsked; }
    bool AllAnswered() const { return FAnswers.empty(); }

private:
    std::deque<TAnswer> FAnswers;
    std::deque<std::string> FAsked;
};

class TCountingProgress : public TProgress {
public:
    std::int64_t Position() const override { return FPosition; }
    void SetPosition(std::int64_t position) override { FPosition = position; }
    std::int64_t Max() const override { return FMax; }
    void SetMax(std::int64_t max) override { FMax = max; }

private:
    std::int64_t FPosition = 0;
    std::int64_t FMax = 0;
};

inline std::string Hex(std::string_view bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        if (!out.empty()) out.push_back(' ');
        out.push_back(digits[static_cast<unsigned char>(c) >> 4]);
        out.push_back(digits[static_cast<unsigned char>(c) & 15]);
    }
    return out;
}

}  // namespace odz::test

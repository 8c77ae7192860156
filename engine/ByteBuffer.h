#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>

namespace odz {

// A growable byte buffer that converters write into through a raw pointer: Reserve() promises room,
// CommitTo() sets the end. Unlike std::string it never fills reserved room with zeros, so reserving
// generously for the worst case costs nothing until bytes are written.
class TByteBuffer {
public:
    TByteBuffer() = default;
    ~TByteBuffer() { std::free(FData); }
    TByteBuffer(const TByteBuffer&) = delete;
    TByteBuffer& operator=(const TByteBuffer&) = delete;

    // Room for at least `more` bytes after the current end; the pointer is valid until the next Reserve.
    char* Reserve(std::size_t more) {
        if (FCapacity - FSize < more) Grow(FSize + more);
        return FData + FSize;
    }
    void CommitTo(const char* end) { FSize = static_cast<std::size_t>(end - FData); }
    void Append(std::string_view bytes) {
        char* at = Reserve(bytes.size());
        if (!bytes.empty()) std::memcpy(at, bytes.data(), bytes.size());
        FSize += bytes.size();
    }
    // Replaces `length` bytes at `offset` by `text`, moving what follows.
    void Replace(std::size_t offset, std::size_t length, std::string_view text) {
        if (text.size() > length) Reserve(text.size() - length);
        // An empty buffer has no memory at all: nothing to move then.
        if (const std::size_t rest = FSize - offset - length; rest > 0) {
            std::memmove(FData + offset + text.size(), FData + offset + length, rest);
        }
        if (!text.empty()) std::memcpy(FData + offset, text.data(), text.size());
        FSize = FSize + text.size() - length;
    }

    std::string_view View() const { return {FData, FSize}; }
    std::size_t Size() const { return FSize; }
    void Clear() { FSize = 0; }

private:
    void Grow(std::size_t needed) {
        std::size_t capacity = FCapacity < 4096 ? 4096 : FCapacity * 2;
        while (capacity < needed) capacity *= 2;
        char* data = static_cast<char*>(std::realloc(FData, capacity));
        if (data == nullptr) throw std::bad_alloc();
        FData = data;
        FCapacity = capacity;
    }

    char* FData = nullptr;
    std::size_t FSize = 0;
    std::size_t FCapacity = 0;
};

}  // namespace odz

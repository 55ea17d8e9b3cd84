#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <string>
#include <string_view>

namespace quorrel {

// A text in 16 bytes, for records that a list holds by the hundred thousand: up to 15 bytes
// (an IPv4 address, most profile names) sit in the object itself, longer texts on the heap.
// Reads go through std::string_view; the bytes are always followed by a 0 byte.
//
// Inline, byte 15 holds 15 minus the length, so that a 15-byte text ends in its own 0.
// On the heap, bytes 0 to 7 hold the pointer, 8 to 11 the length and byte 15 kHeapTag.
class CompactText {
public:
    CompactText() noexcept { setInlineSize(0); }
    CompactText(std::string_view text) { setInline(text); }  // NOLINT: a text converts
    CompactText(const char* text) : CompactText(std::string_view(text)) {}  // NOLINT
    CompactText(const CompactText& other) : CompactText(other.view()) {}
    CompactText(CompactText&& other) noexcept {
        std::memcpy(bytes_, other.bytes_, sizeof bytes_);
        other.setInlineSize(0);
    }
    CompactText& operator=(const CompactText& other) {
        if (this != &other) {
            assign(other.view());
        }
        return *this;
    }
    CompactText& operator=(CompactText&& other) noexcept {
        if (this != &other) {
            release();
            std::memcpy(bytes_, other.bytes_, sizeof bytes_);
            other.setInlineSize(0);
        }
        return *this;
    }
    CompactText& operator=(std::string_view text) {
        assign(text);
        return *this;
    }
    CompactText& operator=(const std::string& text) { return *this = std::string_view(text); }
    CompactText& operator=(const char* text) { return *this = std::string_view(text); }
    ~CompactText() { release(); }

    // Replaces the text; `text` may lie inside this object's own bytes.
    void assign(std::string_view text);
    void clear() noexcept {
        release();
        setInlineSize(0);
    }

    const char* data() const noexcept { return onHeap() ? heapPointer() : bytes_; }
    const char* c_str() const noexcept { return data(); }
    std::size_t size() const noexcept {
        return onHeap() ? heapSize() : kInlineCapacity - static_cast<unsigned char>(bytes_[15]);
    }
    bool empty() const noexcept { return size() == 0; }
    std::string_view view() const noexcept { return {data(), size()}; }
    operator std::string_view() const noexcept { return view(); }  // NOLINT: reads as a text
    std::string str() const { return std::string(view()); }
    // A copy where a std::string is wanted. Only this way round: a std::string becomes a
    // CompactText only where one is assigned, so that a mix of both in one expression
    // is a std::string.
    operator std::string() const { return str(); }  // NOLINT: copies as a text

    friend std::string operator+(const CompactText& a, std::string_view b) {
        return a.str().append(b);
    }
    friend std::string operator+(std::string_view a, const CompactText& b) {
        return std::string(a).append(b.view());
    }
    friend std::string operator+(const CompactText& a, const CompactText& b) {
        return a.str().append(b.view());
    }
    friend std::string operator+(const CompactText& a, const char* b) { return a.str().append(b); }
    friend std::string operator+(const char* a, const CompactText& b) {
        return std::string(a).append(b.view());
    }

    friend bool operator==(const CompactText& a, const CompactText& b) noexcept {
        return a.view() == b.view();
    }
    friend bool operator==(const CompactText& a, std::string_view b) noexcept {
        return a.view() == b;
    }
    friend bool operator==(const CompactText& a, const char* b) noexcept {
        return a.view() == std::string_view(b);
    }
    friend bool operator==(const CompactText& a, const std::string& b) noexcept {
        return a.view() == std::string_view(b);
    }

private:
    static constexpr std::size_t kInlineCapacity = 15;
    static constexpr unsigned char kHeapTag = 0xff;

    bool onHeap() const noexcept { return static_cast<unsigned char>(bytes_[15]) == kHeapTag; }
    char* heapPointer() const noexcept {
        char* pointer = nullptr;
        std::memcpy(&pointer, bytes_, sizeof pointer);
        return pointer;
    }
    std::size_t heapSize() const noexcept {
        std::uint32_t size = 0;
        std::memcpy(&size, bytes_ + 8, sizeof size);
        return size;
    }
    void setInlineSize(std::size_t size) noexcept {
        bytes_[size] = '\0';
        bytes_[15] = static_cast<char>(kInlineCapacity - size);
    }
    // Fills an object that holds nothing on the heap.
    void setInline(std::string_view text);
    void release() noexcept {
        if (onHeap()) {
            delete[] heapPointer();
        }
    }

    alignas(8) char bytes_[16];
};

std::ostream& operator<<(std::ostream& out, const CompactText& text);

}  // namespace quorrel

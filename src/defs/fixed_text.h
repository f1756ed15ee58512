// A text that is set once and then only read, in 16 bytes: up to 15 bytes
// in place, a longer one on the heap in exactly its length. A load of many
// thousand commands keeps an INFO text and a tag text per command; most tag
// texts fit in place, and an INFO text that does not costs its length, not
// a std::string's 32 bytes plus its capacity.
#ifndef ZAV_DEFS_FIXED_TEXT_H_
#define ZAV_DEFS_FIXED_TEXT_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace zav {

class FixedText {
 public:
  FixedText() = default;
  FixedText(std::string_view text) {  // NOLINT: filled from strings like one
    if (text.size() <= kInline) {
      if (!text.empty()) std::memcpy(bytes_, text.data(), text.size());
      bytes_[kLast] = static_cast<unsigned char>(text.size());
      return;
    }
    char* data = new char[text.size()];
    std::memcpy(data, text.data(), text.size());
    std::memcpy(bytes_, &data, sizeof data);
    std::uint64_t size = text.size();
    for (size_t i = sizeof data; i < kLast; ++i, size >>= 8)
      bytes_[i] = static_cast<unsigned char>(size);
    bytes_[kLast] = kOnHeap;
  }
  FixedText(const std::string& text) : FixedText(std::string_view(text)) {}  // NOLINT
  FixedText(const char* text) : FixedText(std::string_view(text)) {}         // NOLINT
  FixedText(const FixedText& other) : FixedText(other.view()) {}
  FixedText(FixedText&& other) noexcept {
    std::memcpy(bytes_, other.bytes_, sizeof bytes_);
    other.bytes_[kLast] = 0;
  }
  FixedText& operator=(FixedText other) noexcept {
    unsigned char mine[sizeof bytes_];
    std::memcpy(mine, bytes_, sizeof bytes_);
    std::memcpy(bytes_, other.bytes_, sizeof bytes_);
    std::memcpy(other.bytes_, mine, sizeof bytes_);
    return *this;
  }
  ~FixedText() {
    if (onHeap()) delete[] heapData();
  }

  std::string_view view() const {
    if (!onHeap()) return {reinterpret_cast<const char*>(bytes_), bytes_[kLast]};
    std::uint64_t size = 0;
    for (size_t i = kLast; i-- > sizeof(char*);) size = size << 8 | bytes_[i];
    return {heapData(), static_cast<size_t>(size)};
  }
  std::string str() const { return std::string(view()); }
  bool empty() const { return view().empty(); }
  // Read where a std::string or its view is expected, like the strings the
  // records held before.
  operator std::string_view() const { return view(); }  // NOLINT
  operator std::string() const { return str(); }        // NOLINT
  friend bool operator==(const FixedText& text, std::string_view other) {
    return text.view() == other;
  }

 private:
  static constexpr size_t kLast = 15;  // the length in place, or kOnHeap
  static constexpr size_t kInline = kLast;
  static constexpr unsigned char kOnHeap = 0x80;

  bool onHeap() const { return bytes_[kLast] == kOnHeap; }
  char* heapData() const {
    char* data = nullptr;
    std::memcpy(&data, bytes_, sizeof data);
    return data;
  }

  // In place: the text, then its length in the last byte. On the heap: the
  // pointer, the length in the next seven bytes, kOnHeap.
  alignas(8) unsigned char bytes_[16] = {};
};

}  // namespace zav

#endif  // ZAV_DEFS_FIXED_TEXT_H_

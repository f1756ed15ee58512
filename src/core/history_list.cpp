#include "core/history_list.h"

#include <algorithm>
#include <cstring>

namespace zav {

HistoryList::HistoryList(std::initializer_list<std::string_view> lines) {
  for (std::string_view line : lines) push_back(line);
}

std::string_view HistoryList::operator[](size_t entry) const {
  const size_t begin = entry == 0 ? 0 : ends_[entry - 1];
  return std::string_view(text_).substr(begin, ends_[entry] - begin);
}

void HistoryList::push_back(std::string_view line) {
  text_.append(line);
  ends_.push_back(text_.size());
}

void HistoryList::appendLines(std::string&& text) {
  if (!empty()) {
    for (size_t start = 0; start < text.size();) {
      size_t end = std::min(text.find('\n', start), text.size());
      if (end > start) push_back(std::string_view(text).substr(start, end - start));
      start = end + 1;
    }
    return;
  }
  // Counted first so the offsets are allocated once, at their final size.
  ends_.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  // The lines move down over the line feeds and empty lines they leave out.
  size_t out = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = std::min(text.find('\n', start), text.size());
    if (end > start) {
      std::memmove(&text[out], &text[start], end - start);
      out += end - start;
      ends_.push_back(out);
    }
    start = end + 1;
  }
  text.resize(out);
  text_ = std::move(text);
}

void HistoryList::clear() {
  std::string().swap(text_);
  std::vector<size_t>().swap(ends_);
}

bool HistoryList::operator==(const std::vector<std::string>& lines) const {
  if (lines.size() != size()) return false;
  for (size_t i = 0; i < lines.size(); ++i)
    if ((*this)[i] != lines[i]) return false;
  return true;
}

}  // namespace zav

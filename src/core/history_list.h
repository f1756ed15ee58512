// The in-memory history: every accepted line in entry order. A history file
// of a million lines must not cost a string object and a heap block per
// line, so the lines sit end to end in one buffer with their end offsets
// beside it (about nine bytes per line on top of the text itself).
#ifndef ZAV_CORE_HISTORY_LIST_H_
#define ZAV_CORE_HISTORY_LIST_H_

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace zav {

class HistoryList {
 public:
  HistoryList() = default;
  HistoryList(std::initializer_list<std::string_view> lines);

  size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  // Valid until the list next changes.
  std::string_view operator[](size_t entry) const;
  std::string_view back() const { return (*this)[size() - 1]; }

  void push_back(std::string_view line);
  // Appends the non-empty lines of `text` (each ended by a line feed or by
  // the end of the text). Into an empty list the text's own buffer is reused
  // in place, so loading a file costs no second copy of it.
  void appendLines(std::string&& text);
  // Also gives the memory back.
  void clear();

  bool operator==(const std::vector<std::string>& lines) const;

 private:
  std::string text_;
  std::vector<size_t> ends_;  // end offset of each line in text_
};

}  // namespace zav

#endif  // ZAV_CORE_HISTORY_LIST_H_

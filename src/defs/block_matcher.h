// Finds ZAV and WIN command blocks in linear time.
//
// The block grammar is written as one pattern (text/patterns.h,
// commandBlock): HEADER AUXLINES COMMENT AUXLINES COMMENT NAME COMMENT LOGIC
// COMMENT INFO COMMENT TAG COMMENT CLOSE. Run by a backtracking engine that
// pattern is exponential on a block it rejects: the line ends behind one
// comment line and the white space in front of the next can share blank
// lines in many ways, and every way is tried before the block is given up.
// It is quadratic on long white space, since every line start inside it is a
// place where a match could begin.
//
// BlockMatcher gives the matches of that pattern (group 0 and the groups the
// parser reads) without backtracking: every piece of the grammar is matched
// once, in the order the pattern tries them, and the few places where the
// pattern's backtracking can change the result (where the INFO text or a
// comment line may end early because a "}" follows) are decided directly.
// Runs of comment and Auxiliary Logic lines are remembered by every line
// they passed, so blocks that nest inside each other's lines never read a run
// twice. The unit tests hold it against the pattern itself on random texts.
#ifndef ZAV_DEFS_BLOCK_MATCHER_H_
#define ZAV_DEFS_BLOCK_MATCHER_H_

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zav {

struct TextSpan {
  static constexpr size_t npos = static_cast<size_t>(-1);
  size_t begin = npos;
  size_t end = npos;
  bool empty() const { return begin == end || begin == npos; }
};

// One block: the whole match and the pattern's groups 1 (hide option),
// 2 (name), 3 (logic), 4 (info) and 6 (tag words). A group that took no part
// has begin == npos.
struct BlockMatch {
  size_t begin = 0;
  size_t end = 0;
  TextSpan hide, name, logic, info, tags;
};

class BlockMatcher {
 public:
  // `keyword` is "ZAV()" or "WIN()". The text must outlive the matcher.
  BlockMatcher(std::string_view text, std::string_view keyword);

  // The leftmost block that begins at or after `from`, as the pattern's
  // search in the same text (not a new text) finds it.
  bool next(size_t from, BlockMatch& match);

 private:
  static constexpr size_t npos = TextSpan::npos;
  // Where the matcher stands between two lines of a block: behind the last
  // text it took, and the line start from which the next keyword line may
  // be matched (npos when the line ends behind it hold no line feed).
  struct Cursor {
    size_t after = 0;
    size_t lineStart = npos;
  };
  struct RunEnd {
    Cursor end;
    size_t lastBrace = npos;  // the last "}" inside the run's comment lines
  };
  enum class LineKind { auxiliary = 0, comment = 1 };
  // A line that began a run, or lay in one: for each kind, 1 + the index in
  // runs_ of where the run from this line ends (0: not known).
  struct LineMemo {
    size_t start = 0;
    std::uint32_t run[2] = {0, 0};
  };
  struct Tail {
    size_t end = 0;
    TextSpan tags;
  };

  bool matchAt(size_t begin, size_t keywordAt, BlockMatch& match);
  bool matchBody(Cursor cursor, BlockMatch& match);
  size_t findLine(size_t lineStart) const;
  void forgetLinesUpTo(size_t position);
  bool matchInfoAndTail(size_t lineStart, BlockMatch& match);
  bool matchTail(Cursor cursor, Tail& tail);
  RunEnd run(LineKind kind, Cursor cursor);
  size_t lineItem(LineKind kind, size_t lineStart, size_t& brace) const;
  size_t keyAndEquals(size_t lineStart, std::string_view key) const;
  bool lineValue(size_t from, TextSpan& value) const;
  Cursor cursorAfter(size_t position) const;
  size_t skipSpace(size_t position) const;
  size_t lineEnd(size_t position) const;
  bool startsWith(size_t position, std::string_view literal) const;

  std::string_view text_;
  std::string_view keyword_;
  // The lines read so far that a later block may read again, in text order
  // from firstLive_ on. A block's lines are appended as it reads them and
  // dropped once the search for headers has passed them, so in an ordinary
  // file the memory holds one block and a lookup reads a few entries next to
  // each other; only blocks nested in each other's lines keep more.
  std::vector<LineMemo> lines_;
  size_t firstLive_ = 0;
  std::vector<RunEnd> runs_;
  std::vector<size_t> members_;  // scratch: the entries of the run being read
  // The line behind the first run of Auxiliary Logic lines of the last block
  // tried, and what the rest of that block gave.
  size_t afterAuxiliary_ = npos;
  bool lastFound_ = false;
  BlockMatch last_;
};

}  // namespace zav

#endif  // ZAV_DEFS_BLOCK_MATCHER_H_

// Commands as the block parser found them, packed end to end in large blocks
// until something first reads the list they belong to.
//
// While the blocks of a file are parsed, its whole text is in memory; a
// record of its own per command (four strings and a heap block or two each)
// would roughly double that. Packed, a command costs its texts plus a few
// bytes, and becomes a record when the list is first read, which the loader
// does only after it has let the file go.
#ifndef ZAV_DEFS_PACKED_COMMANDS_H_
#define ZAV_DEFS_PACKED_COMMANDS_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "defs/command_store.h"

namespace zav {

// A record with copies of the command's texts.
CommandRecord recordOf(const ParsedCommand& command);

class PackedCommands {
 public:
  size_t size() const { return where_.size() - first_; }
  bool empty() const { return size() == 0; }
  // False, and nothing kept, for a command too large to pack (gigabytes).
  bool append(const ParsedCommand& command);
  std::string_view name(size_t index) const;
  std::string_view logic(size_t index) const;
  // Makes a record of the first command, with `logic` instead of its own
  // when given, and appends it to `records`; a block goes once its last
  // command is out.
  void moveFirstInto(CommandList& records, std::string* logic = nullptr);
  // Every command, in order; leaves this empty.
  void moveInto(CommandList& records);
  void clear();

 private:
  const char* at(size_t index) const;

  struct Block {
    std::unique_ptr<char[]> bytes;
    size_t size = 0;
    size_t capacity = 0;
  };
  std::vector<Block> blocks_;
  // Per command: its block in the upper, its offset in the lower 32 bits.
  std::vector<std::uint64_t> where_;
  size_t first_ = 0;  // commands before it are records already
};

}  // namespace zav

#endif  // ZAV_DEFS_PACKED_COMMANDS_H_

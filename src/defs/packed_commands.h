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

class PackedCommands {
 public:
  size_t size() const { return where_.size(); }
  bool empty() const { return where_.empty(); }
  // False, and nothing kept, for a command too large to pack (gigabytes).
  bool append(const ParsedCommand& command);
  std::string_view name(size_t index) const;
  std::string_view logic(size_t index) const;
  // Packs the command again with this logic (the old copy is left unused
  // until moveInto); false as append.
  bool setLogic(size_t index, std::string_view logic);
  // Appends every command to `records` as a record, in order, letting each
  // block go once its commands are out; leaves this empty.
  void moveInto(CommandList& records);
  void clear();

 private:
  bool write(const ParsedCommand& command, std::uint64_t& where);
  const char* at(size_t index) const;

  struct Block {
    std::unique_ptr<char[]> bytes;
    size_t size = 0;
    size_t capacity = 0;
  };
  std::vector<Block> blocks_;
  // Per command: its block in the upper, its offset in the lower 32 bits.
  std::vector<std::uint64_t> where_;
};

}  // namespace zav

#endif  // ZAV_DEFS_PACKED_COMMANDS_H_

// ZAV and WIN command blocks: the header, optional Auxiliary Logic and
// comment lines, NAME, LOGIC, INFO, an optional TAG line and the closing
// brace, matched by one pattern per kind.
#ifndef ZAV_DEFS_COMMAND_BLOCKS_H_
#define ZAV_DEFS_COMMAND_BLOCKS_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace zav {

enum class BlockKind { zav, win };

// Appends a record for every block of the kind in one file's text to
// "ZAVExtCMDsList" or "WINExtCMDsList", INSERT markers replaced. A block the
// pattern does not accept is passed over silently; a name already in the
// kind's list is reported and the block dropped.
void parseCommandBlocks(BlockKind kind, const std::string& fileName, const std::string& text);

}  // namespace zav

#endif  // ZAV_DEFS_COMMAND_BLOCKS_H_

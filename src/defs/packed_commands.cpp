#include "defs/packed_commands.h"

#include <cstring>
#include <string>
#include <utility>

namespace zav {

namespace {

// Blocks of this size come from the ordinary heap, so those let go while
// records are made from them are reused for the records.
constexpr size_t kBlockSize = 64 * 1024;
constexpr size_t kLongestLength = 10;  // bytes of one length, 7 bits each
constexpr std::uint64_t kLargestOffset = 0xffffffffu;

char* putLength(char* at, std::uint64_t value) {
  for (; value >= 0x80; value >>= 7) *at++ = static_cast<char>((value & 0x7f) | 0x80);
  *at++ = static_cast<char>(value);
  return at;
}

std::uint64_t getLength(const char*& at) {
  std::uint64_t value = 0;
  for (int shift = 0;; shift += 7) {
    const auto byte = static_cast<unsigned char>(*at++);
    value |= static_cast<std::uint64_t>(byte & 0x7f) << shift;
    if (byte < 0x80) return value;
  }
}

// A packed command: the lengths of name, logic, info and tags, the argument
// count, a byte of flags, then the four texts.
ParsedCommand unpack(const char* at) {
  ParsedCommand command;
  size_t lengths[4];
  for (size_t& length : lengths) length = static_cast<size_t>(getLength(at));
  command.argCount = static_cast<std::uint32_t>(getLength(at));
  const auto flags = static_cast<unsigned char>(*at++);
  command.hasList = (flags & 1) != 0;
  command.hidden = (flags & 2) != 0;
  std::string_view* texts[4] = {&command.name, &command.logic, &command.info, &command.tags};
  for (int i = 0; i < 4; ++i) {
    *texts[i] = std::string_view(at, lengths[i]);
    at += lengths[i];
  }
  return command;
}

}  // namespace

bool PackedCommands::append(const ParsedCommand& command) {
  const std::string_view texts[4] = {command.name, command.logic, command.info, command.tags};
  size_t needed = 5 * kLongestLength + 1;
  for (std::string_view text : texts) needed += text.size();
  if (needed > kLargestOffset || blocks_.size() > kLargestOffset) return false;
  if (blocks_.empty() || blocks_.back().capacity - blocks_.back().size < needed) {
    Block block;
    block.capacity = needed > kBlockSize ? needed : kBlockSize;
    block.bytes.reset(new char[block.capacity]);
    blocks_.push_back(std::move(block));
  }
  Block& block = blocks_.back();
  char* at = block.bytes.get() + block.size;
  where_.push_back(static_cast<std::uint64_t>(blocks_.size() - 1) << 32 | block.size);
  for (std::string_view text : texts) at = putLength(at, text.size());
  at = putLength(at, command.argCount);
  *at++ = static_cast<char>((command.hasList ? 1 : 0) | (command.hidden ? 2 : 0));
  for (std::string_view text : texts) {
    if (!text.empty()) std::memcpy(at, text.data(), text.size());
    at += text.size();
  }
  block.size = static_cast<size_t>(at - block.bytes.get());
  return true;
}

const char* PackedCommands::at(size_t index) const {
  const std::uint64_t where = where_[first_ + index];
  return blocks_[static_cast<size_t>(where >> 32)].bytes.get() + (where & kLargestOffset);
}

std::string_view PackedCommands::name(size_t index) const { return unpack(at(index)).name; }

std::string_view PackedCommands::logic(size_t index) const { return unpack(at(index)).logic; }

CommandRecord recordOf(const ParsedCommand& command) {
  CommandRecord record;
  record.name = std::string(command.name);
  record.logic = std::string(command.logic);
  record.info = command.info;
  record.tags = command.tags;
  record.argCount = command.argCount;
  record.hasList = command.hasList;
  record.hidden = command.hidden;
  return record;
}

void PackedCommands::moveFirstInto(CommandList& records, std::string* logic) {
  ParsedCommand command = unpack(at(0));
  if (logic != nullptr) command.logic = std::string_view();
  records.push_back(recordOf(command));
  if (logic != nullptr) records.back().logic = std::move(*logic);
  // Commands are packed in order, so a block's last command is the one
  // before the first of the next block.
  const auto block = static_cast<size_t>(where_[first_] >> 32);
  ++first_;
  if (first_ == where_.size())
    clear();
  else if (where_[first_] >> 32 != block)
    blocks_[block] = Block();
}

void PackedCommands::moveInto(CommandList& records) {
  while (!empty()) moveFirstInto(records);
}

void PackedCommands::clear() {
  std::vector<Block>().swap(blocks_);
  std::vector<std::uint64_t>().swap(where_);
  first_ = 0;
}

}  // namespace zav

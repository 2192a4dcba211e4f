// Compiled anonymous blocks of one session by their schema and text, as a
// server keeps parsed statements for reuse: running the same block again,
// with other binds, skips compiling it. The session empties the cache
// whenever its schema changes, since a block compiled against the old
// dictionary may no longer be what the text means.
#pragma once

#include <cstddef>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>

#include "sandbox/plsql/Ast.h"

namespace sandbox::plsql {

// One compiled block; shared, so that a run outlives a Clear.
struct CompiledBlock {
  std::unique_ptr<const Block> block;
  std::set<std::string> bindNames;  // the placeholders the block reads
};

class BlockCache {
 public:
  std::shared_ptr<const CompiledBlock> Find(const std::string& text) const {
    const auto found = entries_.find(text);
    return found == entries_.end() ? nullptr : found->second;
  }
  void Add(const std::string& text, std::shared_ptr<const CompiledBlock> compiled) {
    // A session runs few distinct blocks many times; one that makes up new
    // texts without end starts the cache afresh instead of growing it.
    if (entries_.size() >= kCapacity)
      entries_.clear();
    entries_[text] = std::move(compiled);
  }
  void Clear() { entries_.clear(); }

 private:
  static constexpr std::size_t kCapacity = 64;
  std::unordered_map<std::string, std::shared_ptr<const CompiledBlock>> entries_;
};

}  // namespace sandbox::plsql

#include "framework/list_model.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace fw {

namespace {
// Blocks start small (most lists hold a few short entries) and double up to
// a size where one more block costs nothing noticeable to allocate.
constexpr size_t kFirstBlockBytes = 256;
constexpr size_t kMaxBlockBytes = size_t{1} << 16;
}  // namespace

int ListModel::Add(std::string_view text) {
  // Indexes are ints on every host; a text past 4 GiB cannot be indexed.
  if (spans_.size() >= static_cast<size_t>(INT_MAX) || text.size() > UINT32_MAX) return -1;
  if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < text.size()) {
    Block block;
    const size_t next =
        blocks_.empty() ? kFirstBlockBytes : std::min(blocks_.back().capacity * 2, kMaxBlockBytes);
    block.capacity = std::max(next, text.size());
    block.bytes = std::make_unique_for_overwrite<char[]>(block.capacity);
    blocks_.push_back(std::move(block));
  }
  Block& block = blocks_.back();
  if (!text.empty()) std::memcpy(block.bytes.get() + block.used, text.data(), text.size());
  spans_.push_back(Span{static_cast<uint32_t>(blocks_.size() - 1),
                        static_cast<uint32_t>(block.used), static_cast<uint32_t>(text.size())});
  block.used += text.size();
  if (!data_.empty()) data_.push_back(0);
  return Count() - 1;
}

std::string_view ListModel::Text(int index) const {
  if (!InRange(index, Count())) return {};
  const Span& s = spans_[static_cast<size_t>(index)];
  return std::string_view(blocks_[s.block].bytes.get() + s.offset, s.size);
}

int ListModel::SetData(int index, uintptr_t data) {
  if (!InRange(index, Count())) return -1;
  if (data_.empty()) {
    if (data == 0) return 0;
    data_.resize(spans_.size(), 0);
  }
  data_[static_cast<size_t>(index)] = data;
  return 0;
}

uintptr_t ListModel::Data(int index) const {
  if (!InRange(index, Count()) || data_.empty()) return 0;
  return data_[static_cast<size_t>(index)];
}

int ListModel::Select(int index) {
  selection_ = InRange(index, Count()) ? index : -1;
  return selection_;
}

int ListModel::SetTop(int index) {
  if (!InRange(index, Count())) return -1;
  top_ = index;
  return 0;
}

void ListModel::Clear() {
  spans_.clear();
  spans_.shrink_to_fit();
  blocks_.clear();
  data_.clear();
  data_.shrink_to_fit();
  selection_ = -1;
  top_ = 0;
}

size_t ListModel::MemoryBytes() const {
  size_t bytes = spans_.size() * sizeof(Span) + blocks_.capacity() * sizeof(Block) +
                 data_.capacity() * sizeof(uintptr_t);
  for (const Block& b : blocks_) bytes += b.capacity;
  return bytes;
}

}  // namespace fw

// The entries of a list box or drop-down list as the classic controls keep
// them: texts in the order appended, a number stored with each, one selected
// entry, the top entry, and what an index out of range does. Every host
// builds its lists on this, so the rules are the same in each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

namespace fw {

// Whether an index names one of `count` entries.
inline bool InRange(int index, int count) { return index >= 0 && index < count; }

class ListModel {
 public:
  ListModel() = default;
  ListModel(ListModel&&) noexcept = default;
  ListModel& operator=(ListModel&&) noexcept = default;

  // Appends an entry; its index, or -1 when the list cannot grow any more.
  int Add(std::string_view text);
  // Number of entries.
  int Count() const { return static_cast<int>(spans_.size()); }
  // An entry's text; empty when the index is invalid. Valid until Clear.
  std::string_view Text(int index) const;
  // Stores a number with an entry; 0, or -1 when the index is invalid.
  int SetData(int index, uintptr_t data);
  // The number stored with an entry; 0 when the index is invalid.
  uintptr_t Data(int index) const;
  // Selects an entry; an index out of range (-1 too) clears the selection.
  // The index selected, or -1.
  int Select(int index);
  // The selected entry, or -1.
  int Selection() const { return selection_; }
  // Makes an entry the top one in view; 0, or -1 when the index is invalid.
  int SetTop(int index);
  // The top entry in view.
  int Top() const { return top_; }
  // Removes every entry, the selection and the scroll position with them.
  void Clear();
  // Bytes held for the entries: texts, their index and stored numbers.
  size_t MemoryBytes() const;

 private:
  // Texts are packed into large blocks, so a line costs its bytes and a small
  // index record rather than a heap block of its own: the message list holds
  // millions of lines.
  struct Span {
    uint32_t block;
    uint32_t offset;
    uint32_t size;
  };
  struct Block {
    std::unique_ptr<char[]> bytes;
    size_t capacity = 0;
    size_t used = 0;
  };
  std::deque<Span> spans_;
  std::vector<Block> blocks_;
  // Empty until a number other than 0 is stored: most lists never store one.
  std::vector<uintptr_t> data_;
  int selection_ = -1;
  int top_ = 0;
};

}  // namespace fw

// Notes for the trace line of the entry-point call running on this thread:
// what it returned through its pointers, or why it failed. Code deep inside a
// library adds a reason without passing anything up.
#pragma once

#include <string>
#include <string_view>

namespace qvabi {

/* Adds a note to the current call's trace line; nothing outside a call. */
void note(std::string_view text);

/* The notes of one call, collecting while it lives. Calls nest (an enumeration
   callback may call the library again), each with its own notes. */
class CallNotes {
 public:
  CallNotes();
  ~CallNotes();
  CallNotes(const CallNotes&) = delete;
  CallNotes& operator=(const CallNotes&) = delete;

  const std::string& text() const { return text_; }
  void replace(std::string text) { text_ = std::move(text); }
  void add(std::string_view text);

 private:
  std::string text_;
  CallNotes* outer_;
};

}  // namespace qvabi

#include "call_notes.h"

namespace qvabi {
namespace {
thread_local CallNotes* current = nullptr;
}

CallNotes::CallNotes() : outer_(current) { current = this; }

CallNotes::~CallNotes() { current = outer_; }

void CallNotes::add(std::string_view text) {
  if (!text_.empty()) text_ += ' ';
  text_ += text;
}

void note(std::string_view text) {
  if (current) current->add(text);
}

}  // namespace qvabi

// The progress line quorvex-sweep keeps on a terminal: rewritten in place,
// and cleared before each result line, so a terminal shows where the sweep
// is while a file or pipe gets the result lines only.
#pragma once

#include <cstdio>
#include <string>

class ProgressLine {
 public:
  // Shows progress only when `out` is a terminal.
  explicit ProgressLine(std::FILE* out);
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  bool Active() const { return terminal_; }
  // Replaces the progress line with `text` (cut to the terminal's usual width).
  void Show(const std::string& text);
  // Removes the progress line, so the next output starts a clean line.
  void Clear();

 private:
  std::FILE* out_;
  bool terminal_;
  size_t shown_ = 0;  // characters on the line now
};

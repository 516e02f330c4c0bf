// libdvbv5's channel files, as dtv-scan-tables ships them and dvbv5-scan
// writes them: "[NAME]" sections of "KEY = VALUE" lines. This layer knows
// only that shape; channel_entry.h gives the values their types.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace channels {

// Something in a file that cannot be read or used, and where it is.
struct ChannelError {
  std::string file;
  int line = 0;     // 0: the file as a whole
  std::string key;  // the key the error is about (or the text of a line that has none)
  std::string what;

  // "FILE:LINE: KEY: WHAT", leaving out what is not known.
  std::string Text() const;
};

// One "KEY = VALUE" line. Keys are blind to case, as libdvbv5 reads them, so
// they are kept in upper case; the value without the blanks around it and
// without a trailing "#" comment.
struct ChannelLine {
  std::string key, value;
  int line = 0;
};

// One "[NAME]" section with its lines in file order.
struct ChannelSection {
  std::string name;
  int line = 0;  // of the "[NAME]" line
  std::vector<ChannelLine> lines;

  // The first line of `key` (upper case), or null.
  const ChannelLine* Find(std::string_view key) const;
};

struct ChannelSections {
  std::vector<ChannelSection> sections;
  std::vector<ChannelError> errors;
};

// Splits `text` into sections; `file` names it in the errors. Blank lines and
// lines starting with "#" are skipped, Windows line ends are accepted. A line
// that is neither "[NAME]" nor "KEY = VALUE", or a key outside any section,
// is an error, and the section it stands in is dropped: what the writer meant
// for that transponder is not known.
ChannelSections ReadChannelSections(const std::string& file, std::string_view text);

// A channel file is a few hundred kilobytes; anything this large is not one.
inline constexpr size_t kMaxChannelFileBytes = 16u << 20;

// Reads a regular file of at most kMaxChannelFileBytes into `text`. False,
// with the reason in `error`, when it is missing, not a regular file (a named
// pipe would wait for a writer) or too large.
bool ReadChannelFileText(const std::string& path, std::string& text, ChannelError& error);

}  // namespace channels

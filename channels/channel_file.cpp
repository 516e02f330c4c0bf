#include "channels/channel_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace channels {

namespace {

bool Blank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && Blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && Blank(s.back())) s.remove_suffix(1);
  return s;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool HasControl(std::string_view s) {
  for (unsigned char c : s) {
    if (c < 0x20 && c != '\t') return true;
  }
  return false;
}

// The text of a line for an error: what a reader of the file would search for.
std::string Shown(std::string_view s) {
  std::string out;
  for (unsigned char c : s.substr(0, 60)) out += c < 0x20 ? '?' : static_cast<char>(c);
  return out;
}

}  // namespace

std::string ChannelError::Text() const {
  std::string text = file;
  if (line > 0) text.append(1, ':').append(std::to_string(line));
  text.append(": ");
  if (!key.empty()) text.append(key).append(": ");
  return text.append(what);
}

const ChannelLine* ChannelSection::Find(std::string_view key) const {
  for (const ChannelLine& l : lines) {
    if (l.key == key) return &l;
  }
  return nullptr;
}

ChannelSections ReadChannelSections(const std::string& file, std::string_view text) {
  ChannelSections out;
  bool open = false;     // a section has started
  bool dropped = false;  // the current section had a malformed line
  auto error = [&](int line, std::string_view key, std::string what) {
    out.errors.push_back({file, line, Shown(key), std::move(what)});
    if (open && !dropped) out.sections.pop_back();
    dropped = open;
  };
  int number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == '#') continue;
    if (HasControl(line)) {
      error(number, line, "a control character in the line");
      continue;
    }
    if (line.front() == '[') {
      // A new section starts even when its name line is broken: the lines
      // after it belong to it, not to the section before.
      const size_t close = line.rfind(']');
      open = true;
      dropped = false;
      out.sections.push_back({std::string(line.substr(1, close - 1)), number, {}});
      if (close == std::string_view::npos) {
        error(number, line, "a section name without its closing ']'");
      } else if (const std::string_view after = Trim(line.substr(close + 1));
                 !after.empty() && after.front() != '#') {
        error(number, line, "text after the section name");
      }
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      error(number, line, "not a KEY = VALUE line");
      continue;
    }
    const std::string_view key = Trim(line.substr(0, equals));
    std::string_view value = line.substr(equals + 1);
    value = Trim(value.substr(0, value.find('#')));
    if (key.empty() || key.find_first_of(" \t") != std::string_view::npos) {
      error(number, line, "not a KEY = VALUE line");
      continue;
    }
    if (!open) {
      error(number, Upper(key), "a key outside any [section]");
      continue;
    }
    if (!dropped) out.sections.back().lines.push_back({Upper(key), std::string(value), number});
  }
  return out;
}

bool ReadChannelFileText(const std::string& path, std::string& text, ChannelError& error) {
  error = {path, 0, "", ""};
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) {
    error.what = "cannot open it: " + (ec ? ec.message() : std::string("no such file"));
    return false;
  }
  if (!std::filesystem::is_regular_file(status)) {
    error.what = "not a regular file";
    return false;
  }
  const uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxChannelFileBytes) {
    // Built by append: GCC 12's -Wrestrict misfires on "literal" + std::string temporaries.
    error.what = ec ? std::string("cannot read its size: ").append(ec.message())
                    : std::string("larger than ")
                          .append(std::to_string(kMaxChannelFileBytes >> 20))
                          .append(" MiB: not a channel file");
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error.what = std::string("cannot open it: ") + std::strerror(errno);
    return false;
  }
  text.assign(static_cast<size_t>(size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(size));
  // The file may have changed size since: what was read is what counts.
  text.resize(static_cast<size_t>(in.gcount()));
  if (in.bad()) {
    error.what = "cannot read it";
    return false;
  }
  return true;
}

}  // namespace channels

#include "input_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace qvsim {

std::string readInputFile(const std::string& path, uintmax_t limit, std::string& bytes,
                          uintmax_t& size) {
  bytes.clear();
  size = 0;
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    return path + " is not a regular file";
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot read " + path;
  size = std::filesystem::file_size(path, ec);
  if (ec) return "cannot read " + path;
  bytes.resize(static_cast<size_t>(std::min(size, limit)));
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return "cannot read " + path;
  bytes.resize(static_cast<size_t>(in.gcount()));  // a file cut short meanwhile
  return "";
}

}  // namespace qvsim

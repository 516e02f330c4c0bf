#include "hosts/wx/assert_handler.h"

#include <wx/debug.h>
#include <wx/string.h>

#include <cstdio>
#include <utility>

#include "hosts/wx/wx_text.h"

namespace wxhost {

namespace {

std::function<void(const std::string&)>& FailureSink() {
  static std::function<void(const std::string&)> sink;
  return sink;
}

void OnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
              const wxString& msg) {
  const std::string text =
      DescribeAssertion(FromWx(file), line, FromWx(func), FromWx(cond), FromWx(msg));
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
  if (FailureSink()) FailureSink()(text);
}

}  // namespace

std::string DescribeAssertion(const std::string& file, int line, const std::string& func,
                              const std::string& cond, const std::string& msg) {
  std::string text = "wxWidgets assertion failed: " + file + ":" + std::to_string(line);
  if (!func.empty()) text += " in " + func + "()";
  if (!cond.empty()) text += ": \"" + cond + "\"";
  if (!msg.empty()) text += ": " + msg;
  return text;
}

void InstallAssertHandler(std::function<void(const std::string&)> onFailure) {
  FailureSink() = std::move(onFailure);
  wxSetAssertHandler(OnAssert);
}

}  // namespace wxhost

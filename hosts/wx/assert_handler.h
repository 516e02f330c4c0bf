// wxWidgets assertions become logged failures, never a modal assertion box
// that would hang an unattended run.
#pragma once

#include <functional>
#include <string>

namespace wxhost {

// Formats one assertion as a single line.
std::string DescribeAssertion(const std::string& file, int line, const std::string& func,
                              const std::string& cond, const std::string& msg);

// Installs the handler. Each assertion is written to standard error and then
// handed to `onFailure` when one is given (tests fail the running test there).
void InstallAssertHandler(std::function<void(const std::string&)> onFailure = {});

}  // namespace wxhost

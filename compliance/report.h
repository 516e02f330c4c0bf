// The tool's output: one line per check, grouped by area, and a closing total,
// plus an optional JUnit XML report of the same checks for CI.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace compliance {

// How one check ended.
enum class Outcome { Ok, NotApplicable, Fail };

// One finished check, as the JUnit report needs it.
struct CheckRecord {
  std::string area, name, detail;
  Outcome outcome;
};

class Report {
 public:
  // Lines go to `out`; `verbose` also prints the detail lines.
  Report(std::FILE* out, bool verbose) : out_(out), verbose_(verbose) {}

  // Starts a group of checks under a heading.
  void Area(const std::string& name);
  // "test NAME: OK".
  void Ok(const std::string& name);
  // "test NAME: OK (n/a: WHY)": the contract allows the gap.
  void NotApplicable(const std::string& name, const std::string& why);
  // "test NAME: FAIL (WHAT)": what was seen, and what was expected.
  void Fail(const std::string& name, const std::string& what);
  // Ok or Fail by `passed`; `what` explains a failure.
  void Check(const std::string& name, bool passed, const std::string& what);
  // "warn: TEXT": allowed by the contract but suspicious.
  void Warn(const std::string& text);
  // "info: TEXT": a figure or a fact, never pass or fail.
  void Info(const std::string& text);
  // A detail line, printed only when verbose.
  void Detail(const std::string& text);
  // "Total: N, Succeeded: N, Failed: N, Warnings: N".
  std::string Summary() const;
  // Prints the summary line.
  void PrintSummary();
  // Writes every check as a JUnit XML test suite; false when the file fails.
  bool WriteJUnit(const std::string& path, const std::string& suiteName) const;

  int Failed() const { return failed_; }
  const std::vector<CheckRecord>& Records() const { return records_; }

 private:
  void Line(const std::string& text);
  void Record(const std::string& name, Outcome outcome, const std::string& detail);

  std::FILE* out_;
  bool verbose_;
  std::string area_;
  int total_ = 0, failed_ = 0, warnings_ = 0;
  std::vector<CheckRecord> records_;
};

// `text` with the five XML special characters escaped, and control
// characters (which XML 1.0 cannot carry) shown as '?'.
std::string XmlEscape(const std::string& text);

}  // namespace compliance

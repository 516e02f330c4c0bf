#include "compliance/report.h"

#include <fstream>

namespace compliance {

void Report::Line(const std::string& text) {
  std::fputs(text.c_str(), out_);
  std::fputc('\n', out_);
  // A library that hangs or crashes later must not take the lines with it.
  std::fflush(out_);
}

void Report::Record(const std::string& name, Outcome outcome, const std::string& detail) {
  ++total_;
  if (outcome == Outcome::Fail) ++failed_;
  records_.push_back({area_, name, detail, outcome});
}

void Report::Area(const std::string& name) {
  area_ = name;
  Line(name + ":");
}

void Report::Ok(const std::string& name) {
  Record(name, Outcome::Ok, "");
  Line("\ttest " + name + ": OK");
}

void Report::NotApplicable(const std::string& name, const std::string& why) {
  Record(name, Outcome::NotApplicable, why);
  Line("\ttest " + name + ": OK (n/a: " + why + ")");
}

void Report::Fail(const std::string& name, const std::string& what) {
  Record(name, Outcome::Fail, what);
  Line("\ttest " + name + ": FAIL (" + what + ")");
}

void Report::Check(const std::string& name, bool passed, const std::string& what) {
  if (passed) {
    Ok(name);
  } else {
    Fail(name, what);
  }
}

void Report::Warn(const std::string& text) {
  ++warnings_;
  Line("\t\twarn: " + text);
}

void Report::Info(const std::string& text) { Line("\t\tinfo: " + text); }

void Report::Detail(const std::string& text) {
  if (verbose_) Line("\t\t" + text);
}

std::string Report::Summary() const {
  return "Total: " + std::to_string(total_) + ", Succeeded: " + std::to_string(total_ - failed_) +
         ", Failed: " + std::to_string(failed_) + ", Warnings: " + std::to_string(warnings_);
}

void Report::PrintSummary() {
  Line("");
  Line(Summary());
}

std::string XmlEscape(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += (c < 0x20 && c != '\t' && c != '\n') ? '?' : static_cast<char>(c);
    }
  }
  return out;
}

bool Report::WriteJUnit(const std::string& path, const std::string& suiteName) const {
  std::ofstream xml(path, std::ios::binary | std::ios::trunc);
  if (!xml) return false;
  int skipped = 0;
  for (const CheckRecord& r : records_) skipped += r.outcome == Outcome::NotApplicable;
  xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<testsuite name=\"" << XmlEscape(suiteName) << "\" tests=\"" << total_ << "\" failures=\""
      << failed_ << "\" skipped=\"" << skipped << "\">\n";
  for (const CheckRecord& r : records_) {
    xml << "  <testcase classname=\"" << XmlEscape(r.area) << "\" name=\"" << XmlEscape(r.name)
        << "\"";
    if (r.outcome == Outcome::Ok) {
      xml << "/>\n";
      continue;
    }
    xml << ">\n";
    if (r.outcome == Outcome::Fail) {
      xml << "    <failure message=\"" << XmlEscape(r.detail) << "\"/>\n";
    } else {
      xml << "    <skipped message=\"n/a: " << XmlEscape(r.detail) << "\"/>\n";
    }
    xml << "  </testcase>\n";
  }
  xml << "</testsuite>\n";
  return static_cast<bool>(xml.flush());
}

}  // namespace compliance

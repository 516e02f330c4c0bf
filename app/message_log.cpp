#include <algorithm>
#include <string>
#include <vector>

#include "app/quorvex_demo_dlg.h"
#include "framework/data_exchange.h"
#include "res/resource_ids.h"

namespace {
const char* const kLogFilter = "Log (*.log)|*.log|All Files (*.*)|*.*||";
}

void CQuorvexDemoDlg::AddLog(std::string line) {
  m_lbLog.AddString(line);
  m_lbLog.SetTopIndex(m_lbLog.GetCount() - 1);
  WriteLogFile(line + '\n');
}

void CQuorvexDemoDlg::AddLogLines(const std::string& lines) {
  std::vector<std::string> entries;
  entries.reserve(static_cast<size_t>(std::count(lines.begin(), lines.end(), '\n')));
  for (size_t start = 0, end; (end = lines.find('\n', start)) != std::string::npos;
       start = end + 1) {
    entries.push_back(lines.substr(start, end - start));
  }
  if (entries.empty()) return;
  // A batch goes to the list at once, scrolls once and is written and
  // flushed once: the list and the file end up as after one AddLog per line,
  // at a fraction of the cost in a flood of codes.
  m_lbLog.AddStrings(std::move(entries));
  m_lbLog.SetTopIndex(m_lbLog.GetCount() - 1);
  WriteLogFile(lines);
}

// `text` is whole lines, each ending in '\n'.
void CQuorvexDemoDlg::WriteLogFile(const std::string& text) {
  if (!m_logFile.Write(text)) OnLogFileFailed();
}

// A log file that silently stops growing would make the user trust a record
// that is not there: the file ends at the last line it took, and the list
// says why.
void CQuorvexDemoDlg::OnLogFileFailed() {
  m_bLogToFile = 0;
  CheckDlgButton(IDC_CHK_LOG_TO_FILE, 0);
  AddLog("Log file write failed !");
}

void CQuorvexDemoDlg::OnLogToFileClicked() {
  const bool exchanged = UpdateData(true);
  // The box's own new state decides, also when the exchange stopped at a bad
  // number before it reached the box.
  m_bLogToFile = IsDlgButtonChecked(IDC_CHK_LOG_TO_FILE) != 0 ? 1 : 0;
  if (m_bLogToFile != 0) {
    if (!exchanged) {
      m_bLogToFile = 0;
      CheckDlgButton(IDC_CHK_LOG_TO_FILE, 0);
      return;
    }
    fw::FileDialogRequest request;
    request.save = true;
    request.defaultName = "QuorvexDemo.log";
    request.filter = kLogFilter;
    const std::optional<std::string> path = FileDialog(request);
    if (!path || !m_logFile.Open(*path)) {
      if (path) AddLog("Cannot open log file !");
      m_bLogToFile = 0;
      UpdateData(false);
    }
  } else {
    m_logFile.Close();
  }
}

void CQuorvexDemoDlg::OnLogListDblClk() { m_lbLog.ResetContent(); }

#include <cstdio>

#include "app/quorvex_demo_dlg.h"
#include "framework/data_exchange.h"
#include "platform/file.h"

namespace {
const char* const kLogFilter = "Log (*.log)|*.log|All Files (*.*)|*.*||";
}

void CQuorvexDemoDlg::AddLog(std::string line) {
  m_lbLog.AddString(line);
  m_lbLog.SetTopIndex(m_lbLog.GetCount() - 1);
  std::lock_guard<std::mutex> lock(m_logFileMutex);
  if (m_pLogFile != nullptr) {
    std::fprintf(m_pLogFile, "%s\n", line.c_str());
    std::fflush(m_pLogFile);
  }
}

void CQuorvexDemoDlg::PostLog(std::string line) {
  PostToUi([this, text = std::move(line)]() mutable { AddLog(std::move(text)); });
}

void CQuorvexDemoDlg::OnLogToFileClicked() {
  UpdateData(true);
  if (m_bLogToFile != 0) {
    fw::FileDialogRequest request;
    request.save = true;
    request.defaultName = "QuorvexDemo.log";
    request.filter = kLogFilter;
    const std::optional<std::string> path = FileDialog(request);
    if (path) {
      std::lock_guard<std::mutex> lock(m_logFileMutex);
      // A stream can only be open here if an earlier check was never undone;
      // close it rather than leak it.
      if (m_pLogFile != nullptr) std::fclose(m_pLogFile);
      m_pLogFile = platform::CreateTextStream(*path);
    } else {
      m_bLogToFile = 0;
      UpdateData(false);
    }
  } else {
    std::lock_guard<std::mutex> lock(m_logFileMutex);
    if (m_pLogFile != nullptr) {
      std::fclose(m_pLogFile);
      m_pLogFile = nullptr;
    }
  }
}

void CQuorvexDemoDlg::OnLogListDblClk() { m_lbLog.ResetContent(); }

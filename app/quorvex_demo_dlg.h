// The main dialog: owns every control, every user setting and every resource
// that lives longer than one click. Handlers of each subsystem are defined in
// that subsystem's folder.
#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>

#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/message.h"
#include "tuning/signal_recorder.h"

class CQuorvexDemoDlg : public fw::Dialog {
 public:
  CQuorvexDemoDlg();
  ~CQuorvexDemoDlg() override;

  // Adds one line to the message list and, while it is open, the log file.
  void AddLog(std::string line);
  // Adds every line of `lines` (each ending in '\n'), in order, as AddLog
  // does, with one flush of the log file for all of them.
  void AddLogLines(const std::string& lines);
  // Logs the remote-control lines the callbacks have queued so far.
  void ServeRemoteLines();

  // Device enumeration callbacks reach the dialog through these.
  void AddEnumeratedDevice(uint32_t deviceId, const std::string& text);

 protected:
  void DoDataExchange(fw::DataExchange& dx) override;
  bool OnInitDialog() override;
  bool OnMessage(const fw::Message& message, uintptr_t& result) override;
  void OnOK() override;
  void OnCancel() override;

  // Application shell.
  void OnSysCommand(unsigned command, intptr_t param);
  void OnPaint();
  uintptr_t OnQueryDragIcon();
  void OnClose();
  void OnLogToFileClicked();
  void OnLogListDblClk();

  // Devices.
  bool DiscoverDevices();
  void OnDeviceChanged();
  void ReportMac();

  // Tuning and signal.
  void OnTune();
  void OnTimer(uintptr_t id);
  void OnMisFilterChanged();

  // DiSEqC.
  void OnSimpleClicked();
  void OnDiseqc10Clicked();
  void OnDiseqc11Clicked();
  void OnDiseqc12Clicked();
  void OnReceiveReplyClicked();
  void OnDiseqcSend();

  // Remote control.
  void OnRcEnableClicked();
  void OnRcTypeChanged();

  // Transport stream capture.
  void OnFilterEnableClicked();

  // EEPROM.
  void OnEepromRead();
  void OnEepromWrite();

 private:
  // Routes notifications to the handlers above.
  static const fw::MapEntry<CQuorvexDemoDlg> kMessageMap[];
  // Deletes live filters, waits, stops the device and frees the library.
  void RunCloseSequence();
  // Writes whole lines to the open log file and flushes it; on the first
  // failing write or flush the file is closed, the box unchecked and the
  // failure logged.
  void WriteLogFile(const std::string& text);
  void OnLogFileFailed();

  // Remote control: starts the registration of the chosen type; stops it.
  void StartRemoteControl();
  void StopRemoteControl();
  // DelFilter on the remote-control filter, the queued lines served once it
  // returns and the outcome logged; true when the filter is gone.
  bool DeleteRemoteFilter();

  // Capture: starts into a file of the user's choice; stops and closes it.
  void StartCapture();
  void StopCapture();
  // DelFilter on a capture filter whose deletion failed before, the outcome
  // logged; true when it is gone.
  bool DeleteOrphanCaptureFilter();

  // The "Enable" boxes of reception and capture: the clicked box's own new
  // state decides, also when the exchange stopped at a bad number before it
  // reached the box. Unchecking stops what `running` says runs; checking
  // starts it only when every field was valid, and is undone otherwise.
  void ToggleByClickedBox(int id, int32_t& member, bool running, void (CQuorvexDemoDlg::*start)(),
                          void (CQuorvexDemoDlg::*stop)());

  // Clears the DiSEqC options the device in use does not offer (their box is
  // disabled), so that Send never uses them.
  void ClearDisabledDiseqcOptions();

 public:
  // Members, in declaration order; bound to controls by DoDataExchange.
  uintptr_t m_hIcon = 0;
  uintptr_t m_nTimer = 0;
  FILE* m_pLogFile = nullptr;
  fw::ComboBox m_cbDevice;
  fw::ListBox m_lbLog;
  uint32_t m_nFreq = 0;
  uint32_t m_nSymRate = 0;
  uint32_t m_nLofLow = 0;
  uint32_t m_nLofHigh = 0;
  uint32_t m_nLofSwitch = 0;
  int32_t m_nPol = 0;
  int32_t m_nFec = 0;
  int32_t m_nModulation = 0;
  fw::ComboBox m_cbMis;
  fw::Button m_chkPresent;
  fw::Button m_chkLock;
  int32_t m_bLogToFile = 0;
  int32_t m_bSimple = 0;
  int32_t m_nBurst = 0;
  int32_t m_bDiseqc10 = 0;
  int32_t m_bDiseqc11 = 0;
  int32_t m_bDiseqc12 = 0;
  fw::ComboBox m_cbDiseqc10;
  fw::ComboBox m_cbDiseqc11;
  fw::ComboBox m_cbDiseqc12;
  int32_t m_bReceiveReply = 0;
  int32_t m_bRcEnable = 0;
  int32_t m_nRcType = 0;
  int32_t m_nRcFilter = -1;
  int32_t m_nRcDev = 0;
  int32_t m_bFilterEnable = 0;
  uint32_t m_nPid = 0;
  int32_t m_nTsFilter = -1;
  std::string m_strFilterInfo;
  int32_t m_nInversion = 0;
  int32_t m_nPilot = 0;
  int32_t m_nRollOff = 0;
  fw::ComboBox m_cbEepromSize;

 private:
  // Serialises the log stream: a line from a library thread never goes to a
  // stream that is being closed.
  std::mutex m_logFileMutex;
  // Whether the user's reception or capture runs. A filter number held while
  // it does not belongs to a filter whose deletion failed: it may still be
  // delivering and is deleted before a new one is asked for.
  bool m_bReceiving = false;
  bool m_bCapturing = false;
  // The capability mask of the device in use, when the library reports one.
  std::optional<uint32_t> m_deviceCaps;
  // Every signal poll's figures, and the window that charts them.
  SignalRecorder m_signalHistory{*this};
};

// The one main dialog; set by its constructor, never cleared.
extern CQuorvexDemoDlg* g_pDlg;
// The dialog whose device list receives the enumeration callbacks.
extern CQuorvexDemoDlg* g_pEnumDlg;

// Timer id and period of the signal poll.
inline constexpr uintptr_t kSignalTimerId = 33;
inline constexpr unsigned kSignalTimerPeriodMs = 2000;

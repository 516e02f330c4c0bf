// The main dialog: owns every control, every user setting and every resource
// that lives longer than one click. Handlers of each subsystem are defined in
// that subsystem's folder, in the file each group below names; the state a
// subsystem shares with the library's threads lives in a class of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/log_file.h"
#include "capture/capture_session.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/message.h"
#include "remote/rc_reception.h"
#include "tuning/signal_recorder.h"

class CQuorvexDemoDlg : public fw::Dialog {
 public:
  CQuorvexDemoDlg();
  ~CQuorvexDemoDlg() override;

  // Message log (app/message_log.cpp).
  // Adds one line to the message list and, while it is open, the log file.
  void AddLog(std::string line);
  // Adds every line of `lines` (each ending in '\n'), in order, as AddLog
  // does, with one flush of the log file for all of them.
  void AddLogLines(const std::string& lines);
  // Logs the remote-control lines the callbacks have queued so far
  // (remote/remote_control.cpp).
  void ServeRemoteLines();

  // Device enumeration callbacks reach the dialog through this
  // (tuner/device_discovery.cpp).
  void AddEnumeratedDevice(uint32_t deviceId, const std::string& text);

 protected:
  void DoDataExchange(fw::DataExchange& dx) override;
  bool OnInitDialog() override;
  bool OnMessage(const fw::Message& message, uintptr_t& result) override;
  void OnOK() override;
  void OnCancel() override;

  // Application shell (app/quorvex_demo_dlg.cpp; the log's in app/message_log.cpp).
  void OnSysCommand(unsigned command, intptr_t param);
  void OnPaint();
  uintptr_t OnQueryDragIcon();
  void OnClose();
  void OnLogToFileClicked();
  void OnLogListDblClk();

  // Devices (tuner/device_discovery.cpp, tuner/device_changed.cpp).
  bool DiscoverDevices();
  void OnDeviceChanged();
  void ReportMac();

  // Tuning and signal (tuning/tune.cpp, tuning/signal_monitor.cpp, tuning/mis_filter.cpp).
  void OnTune();
  void OnTimer(uintptr_t id);
  void OnMisFilterChanged();

  // DiSEqC (diseqc/diseqc_control.cpp).
  void OnSimpleClicked();
  void OnDiseqc10Clicked();
  void OnDiseqc11Clicked();
  void OnDiseqc12Clicked();
  void OnReceiveReplyClicked();
  void OnDiseqcSend();

  // Remote control (remote/remote_control.cpp).
  void OnRcEnableClicked();
  void OnRcTypeChanged();

  // Transport stream capture (capture/pid_capture.cpp).
  void OnFilterEnableClicked();

  // EEPROM (eeprom/eeprom_backup.cpp).
  void OnEepromRead();
  void OnEepromWrite();

 private:
  // The tests' one way to the state they check (tests/program/main_dialog_fixture.h).
  friend class MainDialogPeer;

  // Routes notifications to the handlers above.
  static const fw::MapEntry<CQuorvexDemoDlg> kMessageMap[];
  // Deletes live filters, waits, stops the device and frees the library
  // (app/quorvex_demo_dlg.cpp, as are OnWindowTimer and ToggleByClickedBox).
  void RunCloseSequence();
  // Routes window timers: the capture status's to the session, the rest to
  // OnTimer.
  void OnWindowTimer(uintptr_t id);
  // Writes whole lines to the open log file and flushes it; on the first
  // failing write or flush the file is closed, the box unchecked and the
  // failure logged (app/message_log.cpp, as is OnLogFileFailed).
  void WriteLogFile(const std::string& text);
  void OnLogFileFailed();

  // Remote control (remote/remote_control.cpp): starts the registration of
  // the chosen type; stops it.
  void StartRemoteControl();
  void StopRemoteControl();
  // DelFilter on the remote-control filter, the queued lines served once it
  // returns and the outcome logged; true when the filter is gone.
  bool DeleteRemoteFilter();

  // Capture (capture/pid_capture.cpp): starts into a file of the user's
  // choice; stops and closes it.
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
  // disabled), so that Send never uses them (diseqc/diseqc_control.cpp).
  void ClearDisabledDiseqcOptions();

  // Members bound to controls by DoDataExchange keep the names the program
  // has always used; a subsystem's live in the class that holds its state.
  uintptr_t m_hIcon = 0;
  uintptr_t m_nTimer = 0;
  fw::ComboBox m_cbDevice;

  // Message log: the list, the box, and the file while the box is checked.
  fw::ListBox m_lbLog;
  int32_t m_bLogToFile = 0;
  LogFile m_logFile;

  // Tuning and signal.
  uint32_t m_nFreq = 0;
  uint32_t m_nSymRate = 0;
  uint32_t m_nLofLow = 0;
  uint32_t m_nLofHigh = 0;
  uint32_t m_nLofSwitch = 0;
  int32_t m_nPol = 0;
  int32_t m_nFec = 0;
  int32_t m_nModulation = 0;
  int32_t m_nInversion = 0;
  int32_t m_nPilot = 0;
  int32_t m_nRollOff = 0;
  fw::ComboBox m_cbMis;
  fw::Button m_chkPresent;
  fw::Button m_chkLock;

  // DiSEqC.
  int32_t m_bSimple = 0;
  int32_t m_nBurst = 0;
  int32_t m_bDiseqc10 = 0;
  int32_t m_bDiseqc11 = 0;
  int32_t m_bDiseqc12 = 0;
  fw::ComboBox m_cbDiseqc10;
  fw::ComboBox m_cbDiseqc11;
  fw::ComboBox m_cbDiseqc12;
  int32_t m_bReceiveReply = 0;

  // Remote-control reception and transport stream capture.
  RcReception m_rc;
  CaptureSession m_capture;

  // EEPROM.
  fw::ComboBox m_cbEepromSize;

  // The capability mask of the device in use, when the library reports one.
  std::optional<uint32_t> m_deviceCaps;
  // Every signal poll's figures, and the window that charts them.
  SignalRecorder m_signalHistory{*this};
};

// The dialog whose device list receives the enumeration callbacks.
extern CQuorvexDemoDlg* g_pEnumDlg;

// Timer id and period of the signal poll.
inline constexpr uintptr_t kSignalTimerId = 33;
inline constexpr unsigned kSignalTimerPeriodMs = 2000;

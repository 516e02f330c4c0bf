// The main dialog: owns every control, every user setting and every resource
// that lives longer than one click. Handlers of each subsystem are defined in
// that subsystem's folder, in the file each group below names; the state a
// subsystem shares with the library's threads lives in a class of its own.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/dialog_port.h"
#include "app/log_file.h"
#include "capture/capture_control.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/message.h"
#include "remote/rc_control.h"
#include "sweep/library_tuner.h"
#include "sweep/sweep_session.h"
#include "tuner/device_control.h"
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
  void AddEnumeratedDevice(uint32_t deviceId, const std::string& text);
  void OnDeviceChanged();

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
  uint16_t ChosenEepromSize() const;

 private:
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

  // The "Enable" boxes of reception and capture: the clicked box's own new
  // state decides, also when the exchange stopped at a bad number before it
  // reached the box. Unchecking stops `user` when it runs; checking starts it
  // only when every field was valid, and is undone otherwise.
  void ToggleByClickedBox(int32_t& member, FilterUser& user, const std::function<void()>& start);
  // Reception and capture, in the order a device switch and the close
  // sequence stop them.
  std::array<FilterUser*, 2> FilterUsers() { return {&m_rc, &m_capture}; }

  // The device a sweep runs on: none when no device runs; the LNB values as
  // the fields hold them (sweep/sweep_device.cpp).
  std::optional<SweepDevice> SweepDeviceNow();

  // Clears the DiSEqC options the device in use does not offer (their box is
  // disabled), so that Send never uses them (diseqc/diseqc_control.cpp).
  void ClearDisabledDiseqcOptions();

  // What the subsystems' logic asks of the dialog goes through this.
  DialogPort m_ui{*this};

  // Members bound to controls by DoDataExchange keep the names the program
  // has always used; a subsystem's live in the class that holds its state.
  uintptr_t m_hIcon = 0;
  uintptr_t m_nTimer = 0;
  fw::ComboBox m_cbDevice;
  DeviceControl m_devices{m_ui};

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
  RcControl m_rc{m_ui};
  CaptureControl m_capture{m_ui};

  // EEPROM.
  fw::ComboBox m_cbEepromSize;

  // Every signal poll's figures, and the window that charts them.
  SignalRecorder m_signalHistory{m_ui};

  // The transponder sweep and its window.
  SweepSession m_sweep{m_ui, [this] { return SweepDeviceNow(); },
                       [](const SweepDevice& d) -> std::unique_ptr<SweepTuner> {
                         return std::make_unique<LibraryTuner>(d.caps);
                       }};
};

// Timer id and period of the signal poll.
inline constexpr uintptr_t kSignalTimerId = 33;
inline constexpr unsigned kSignalTimerPeriodMs = 2000;

#include "app/quorvex_demo_dlg.h"

#include <string>

#include "app/about_dlg.h"
#include "framework/data_exchange.h"
#include "platform/system.h"
#include "res/dialogs.h"
#include "res/resource_ids.h"
#include "res/strings.h"
#include "tuner/tuner_api.h"

namespace {

using D = CQuorvexDemoDlg;

// Pause that lets the library wind down deleted filters before the device stops.
constexpr unsigned kFilterSettleMs = 500;

}  // namespace

const fw::MapEntry<D> CQuorvexDemoDlg::kMessageMap[] = {
    fw::OnSysCommandMessage(&D::OnSysCommand),
    fw::OnPaintMessage(&D::OnPaint),
    fw::OnQueryDragIconMessage(&D::OnQueryDragIcon),
    fw::OnCloseMessage(&D::OnClose),
    fw::OnClicked(IDC_CHK_LOG_TO_FILE, &D::OnLogToFileClicked),
    fw::OnDoubleClicked(IDC_LIST_LOG, &D::OnLogListDblClk),
    fw::OnSelChange(IDC_CB_DEVICE, &D::OnDeviceChanged),
    // Tuning and signal.
    fw::OnClicked(IDC_BTN_TUNE, &D::OnTune),
    fw::OnTimerMessage(&D::OnWindowTimer),
    fw::OnSelChange(IDC_LIST_MIS, &D::OnMisFilterChanged),
    // DiSEqC.
    fw::OnClicked(IDC_CHK_SIMPLE, &D::OnSimpleClicked),
    fw::OnClicked(IDC_CHK_DISEQC10, &D::OnDiseqc10Clicked),
    fw::OnClicked(IDC_CHK_DISEQC11, &D::OnDiseqc11Clicked),
    fw::OnClicked(IDC_CHK_DISEQC12, &D::OnDiseqc12Clicked),
    fw::OnClicked(IDC_CHK_RECEIVE_REPLY, &D::OnReceiveReplyClicked),
    fw::OnClicked(IDC_BTN_DISEQC_SEND, &D::OnDiseqcSend),
    // Remote control.
    fw::OnClicked(IDC_CHK_RC_ENABLE, &D::OnRcEnableClicked),
    fw::OnSelChange(IDC_LIST_RC_TYPE, &D::OnRcTypeChanged),
    // Transport stream capture.
    fw::OnClicked(IDC_CHK_FILTER_ENABLE, &D::OnFilterEnableClicked),
    // EEPROM.
    fw::OnClicked(IDC_BTN_EEPROM_READ, &D::OnEepromRead),
    fw::OnClicked(IDC_BTN_EEPROM_WRITE, &D::OnEepromWrite),
};

CQuorvexDemoDlg::CQuorvexDemoDlg() : fw::Dialog(res::MainDialogTemplate()) {
  m_hIcon = IDR_MAINFRAME;
  m_nLofLow = 9750;
  m_nLofHigh = 10600;
  m_nLofSwitch = 11700;
  m_nFreq = 10722;
  m_nSymRate = 27500;
}

CQuorvexDemoDlg::~CQuorvexDemoDlg() = default;

bool CQuorvexDemoDlg::OnMessage(const fw::Message& message, uintptr_t& result) {
  // Handlers of the map are members, so the table needs the class's access.
  return fw::RouteMessage(*this, kMessageMap, message, result);
}

void CQuorvexDemoDlg::DoDataExchange(fw::DataExchange& dx) {
  fw::Dialog::DoDataExchange(dx);
  fw::DDX_Control(dx, IDC_CB_DEVICE, m_cbDevice);
  fw::DDX_Control(dx, IDC_LIST_LOG, m_lbLog);
  fw::DDX_Text(dx, IDC_EDIT_FREQ, m_nFreq);
  fw::DDX_CBIndex(dx, IDC_LIST_POL, m_nPol);
  fw::DDX_CBIndex(dx, IDC_LIST_FEC, m_nFec);
  fw::DDX_CBIndex(dx, IDC_LIST_MODULATION, m_nModulation);
  fw::DDX_Control(dx, IDC_CHK_PRESENT, m_chkPresent);
  fw::DDX_Control(dx, IDC_CHK_LOCK, m_chkLock);
  fw::DDX_Text(dx, IDC_EDIT_SYMRATE, m_nSymRate);
  fw::DDX_Text(dx, IDC_EDIT_LOF_LOW, m_nLofLow);
  fw::DDX_Text(dx, IDC_EDIT_LOF_HIGH, m_nLofHigh);
  fw::DDX_Text(dx, IDC_EDIT_LOF_SWITCH, m_nLofSwitch);
  fw::DDX_Check(dx, IDC_CHK_LOG_TO_FILE, m_bLogToFile);
  fw::DDX_Check(dx, IDC_CHK_SIMPLE, m_bSimple);
  fw::DDX_Radio(dx, IDC_RADIO_BURST_A, m_nBurst);
  fw::DDX_Check(dx, IDC_CHK_DISEQC10, m_bDiseqc10);
  fw::DDX_Check(dx, IDC_CHK_DISEQC11, m_bDiseqc11);
  fw::DDX_Check(dx, IDC_CHK_DISEQC12, m_bDiseqc12);
  fw::DDX_Control(dx, IDC_LIST_DISEQC10, m_cbDiseqc10);
  fw::DDX_Control(dx, IDC_LIST_DISEQC11, m_cbDiseqc11);
  fw::DDX_Control(dx, IDC_LIST_DISEQC12, m_cbDiseqc12);
  fw::DDX_Check(dx, IDC_CHK_RECEIVE_REPLY, m_bReceiveReply);
  fw::DDX_Check(dx, IDC_CHK_RC_ENABLE, m_rc.m_bRcEnable);
  fw::DDX_CBIndex(dx, IDC_LIST_RC_TYPE, m_rc.m_nRcType);
  fw::DDX_CBIndex(dx, IDC_LIST_RC_DEV, m_rc.m_nRcDev);
  fw::DDX_Check(dx, IDC_CHK_FILTER_ENABLE, m_capture.m_bFilterEnable);
  fw::DDX_Text(dx, IDC_EDIT_PID, m_capture.m_nPid);
  fw::DDX_Text(dx, IDC_STATIC_FILTER_INFO, m_capture.session.m_strFilterInfo);
  fw::DDX_CBIndex(dx, IDC_LIST_INVERSION, m_nInversion);
  fw::DDX_CBIndex(dx, IDC_LIST_PILOT, m_nPilot);
  fw::DDX_CBIndex(dx, IDC_LIST_ROLLOFF, m_nRollOff);
  fw::DDX_Control(dx, IDC_LIST_MIS, m_cbMis);
  fw::DDX_Control(dx, IDC_LIST_EEPROM_SIZE, m_cbEepromSize);
}

bool CQuorvexDemoDlg::OnInitDialog() {
  fw::Dialog::OnInitDialog();

  const std::string about = res::LoadString(IDS_ABOUTBOX);
  if (!about.empty()) Window().AppendSystemMenu(IDM_ABOUTBOX, about);
  Window().AppendSystemMenu(IDM_SIGNALHISTORY, "Signal &history...");
  Window().AppendSystemMenu(IDM_SWEEP, "Transponder &sweep...");

  Window().SetIcon(m_hIcon, true);
  Window().SetIcon(m_hIcon, false);

  const int loaded = LoadTunerLibrary();
  if (loaded != 0) {
    MessageBox(loaded == -2 ? "quorvex.dll not have critical calls !" : "quorvex.dll not loaded !",
               "Error", fw::BoxIcon::Stop);
    EndDialog(fw::kIdCancel);
    return false;
  }

  if (TunerApi.SetChannelExEx != nullptr) {
    for (int id :
         {IDC_STATIC_MODULATION, IDC_LIST_MODULATION, IDC_STATIC_INVERSION, IDC_LIST_INVERSION,
          IDC_STATIC_PILOT, IDC_LIST_PILOT, IDC_STATIC_ROLLOFF, IDC_LIST_ROLLOFF}) {
      EnableItem(id, true);
    }
    AddLog("SetChannelExEx() used. Set modulation, inversion, pilot, rolloff supported.");
  } else if (TunerApi.SetChannelEx != nullptr) {
    EnableItem(IDC_STATIC_MODULATION, true);
    EnableItem(IDC_LIST_MODULATION, true);
    AddLog("SetChannelEx() used. Set modulation supported.");
  }

  if (TunerApi.Statistic != nullptr) {
    for (int id : {IDC_CHK_PRESENT, IDC_CHK_LOCK, IDC_STATIC_LEVEL, IDC_STATIC_QUALITY}) {
      EnableItem(id, true);
    }
    AddLog("Statistic() used. Extended signal statistic supported.");
  } else if (TunerApi.GetSignal != nullptr) {
    EnableItem(IDC_STATIC_LEVEL, true);
    EnableItem(IDC_STATIC_QUALITY, true);
    AddLog("GetSignal() used. Level/Quality reporting supported.");
  } else if (TunerApi.GetSignalStrength != nullptr) {
    EnableItem(IDC_STATIC_LEVEL, true);
    EnableItem(IDC_STATIC_QUALITY, true);
    AddLog("GetSignalStrength() used. Level/Quality reporting supported.");
  }

  if (!DiscoverDevices()) {
    EndDialog(fw::kIdCancel);
    return false;
  }

  for (int i = 0; i < 16; ++i) m_cbDiseqc11.AddString("Port " + std::to_string(i));
  for (int i = 0; i < 60; ++i) m_cbDiseqc12.AddString("Pos " + std::to_string(i));

  for (int i = 0; i < 256; ++i) m_cbMis.AddString(std::to_string(i));
  m_cbMis.SetCurSel(0);

  for (int size : {256, 512, 1024, 2048, 4096, 8192}) {
    const int index = m_cbEepromSize.AddString(std::to_string(size));
    m_cbEepromSize.SetItemData(index, static_cast<uintptr_t>(size));
  }
  m_cbEepromSize.SetCurSel(0);

  OnDeviceChanged();
  return true;
}

void CQuorvexDemoDlg::OnSysCommand(unsigned command, intptr_t param) {
  if ((command & 0xFFF0u) == IDM_ABOUTBOX) {
    CAboutDlg about;
    Window().RunModal(about);
    return;
  }
  if ((command & 0xFFF0u) == IDM_SIGNALHISTORY) return m_signalHistory.Open();
  if ((command & 0xFFF0u) == IDM_SWEEP) return m_sweep.Open();
  DefaultHandling(fw::SysCommandMessage(command, param));
}

void CQuorvexDemoDlg::OnWindowTimer(uintptr_t id) {
  if (id == kCaptureStatusTimerId) {
    m_capture.session.OnStatusTimer();
  } else if (m_sweep.IsTick(id)) {
    m_sweep.OnTimer();
  } else {
    OnTimer(id);
  }
}

void CQuorvexDemoDlg::OnPaint() {
  if (Window().IsIconic()) Window().PaintIconic(m_hIcon);
}

uintptr_t CQuorvexDemoDlg::OnQueryDragIcon() { return m_hIcon; }

void CQuorvexDemoDlg::ToggleByClickedBox(int32_t& member, FilterUser& user,
                                         const std::function<void()>& start) {
  const int id = user.EnableBox();
  const bool exchanged = UpdateData(true);
  member = IsDlgButtonChecked(id) != 0 ? 1 : 0;
  if (member != 0) {
    if (!exchanged) {
      member = 0;
    } else if (!user.Running()) {
      start();
    }
  } else if (user.Running()) {
    user.Stop();
  }
  if (exchanged) {
    UpdateData(false);
  } else {
    // The bad field keeps what the user typed; only the box is put right.
    CheckDlgButton(id, member);
  }
}

void CQuorvexDemoDlg::RunCloseSequence() {
  // A sweep makes no call after this: the device is about to stop.
  m_sweep.Abort();
  // A running filter is deleted without a word; one whose deletion failed
  // before is tried again, and its outcome logged as at the first try.
  for (FilterUser* user : FilterUsers()) user->Close();
  platform::Sleep(kFilterSettleMs);
  if (TunerApi.StopDVB() == 0) MessageBox("StopDVB() failed !", "Error", fw::BoxIcon::Stop);
  ReleaseTunerLibrary();
}

void CQuorvexDemoDlg::OnClose() {
  RunCloseSequence();
  EndDialog(fw::kIdCancel);
}

// Enter and Escape end the dialog too; they take the same way out as the close
// box, so no filter can call back into a dialog that is gone and no device is
// left running. Enter still reads the fields first and stays when one is bad.
void CQuorvexDemoDlg::OnOK() {
  if (!UpdateData(true)) return;
  RunCloseSequence();
  EndDialog(fw::kIdOk);
}

void CQuorvexDemoDlg::OnCancel() {
  RunCloseSequence();
  EndDialog(fw::kIdCancel);
}

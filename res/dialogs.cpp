#include "res/dialogs.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "res/resource_ids.h"
#include "res/version.h"

namespace res {

namespace {

using fw::ControlKind;
using fw::ControlTemplate;
using fw::DialogTemplate;
using fw::DluRect;
using fw::kIdStatic;
using Entries = std::vector<std::string>;

constexpr uint32_t kOff = fw::kDisabled;

// Small builders so each table row below reads like one line of the layout.

ControlTemplate Frame(int id, std::string text, DluRect r) {
  return {id, ControlKind::GroupBox, std::move(text), r, 0, {}, 0};
}

ControlTemplate Label(int id, std::string text, DluRect r, uint32_t style = 0) {
  return {id, ControlKind::Static, std::move(text), r, style, {}, 0};
}

// Edits scroll horizontally so a value never gets cut off while typing.
ControlTemplate Edit(int id, DluRect r, uint32_t style = 0) {
  return {id, ControlKind::Edit, {}, r, fw::kTabStop | fw::kAutoHScroll | style, {}, 0};
}

ControlTemplate NumberEdit(int id, DluRect r) { return Edit(id, r, fw::kNumber); }

ControlTemplate Combo(int id, DluRect r, uint32_t style = 0, Entries entries = {}) {
  return {id, ControlKind::ComboBox, {}, r, fw::kTabStop | style, std::move(entries), 0};
}

ControlTemplate Check(int id, std::string text, DluRect r, uint32_t style = 0) {
  return {id, ControlKind::CheckBox, std::move(text), r, fw::kTabStop | style, {}, 0};
}

// The signal indicators are check boxes the program ticks; the user cannot
// reach them with Tab.
ControlTemplate Indicator(int id, std::string text, DluRect r, uint32_t style = 0) {
  return {id, ControlKind::CheckBox, std::move(text), r, style, {}, 0};
}

ControlTemplate Radio(int id, std::string text, DluRect r, uint32_t style = 0) {
  return {id, ControlKind::Radio, std::move(text), r, fw::kTabStop | style, {}, 0};
}

ControlTemplate Button(int id, std::string text, DluRect r, uint32_t style = 0) {
  return {id, ControlKind::PushButton, std::move(text), r, fw::kTabStop | style, {}, 0};
}

Entries RcDeviceEntries() {
  Entries e{"ALL"};
  for (int i = 0; i < 0x20; ++i) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned>(i));
    e.emplace_back(buf);
  }
  return e;
}

DialogTemplate BuildMain() {
  DialogTemplate d;
  d.id = IDD_QUORVEXDEMO_DIALOG;
  d.caption = "Quorvex Demo";
  d.rect = {0, 0, 262, 419};
  d.fontName = "MS Shell Dlg";
  d.fontPoints = 8;
  d.style = fw::kDlgVisible | fw::kDlgModalFrame | fw::kDlgCaption | fw::kDlgSysMenu |
            fw::kDlgMinimizeBox | fw::kDlgAppWindow;

  const Entries kAutoOffOn{"AUTO", "OFF", "ON"};

  // Creation order is the tab order, so the rows follow it rather than the
  // visual grouping (e.g. 1045 and 1069 come late).
  d.controls = {
      Frame(kIdStatic, "Tuner settings", {6, 6, 150, 120}),
      Label(IDC_STATIC_FREQ, "Freq(MHz):", {12, 18, 37, 8}),
      NumberEdit(IDC_EDIT_FREQ, {12, 30, 42, 14}),
      Label(IDC_STATIC_SYMRATE, "Symrate(KS):", {60, 18, 44, 8}),
      NumberEdit(IDC_EDIT_SYMRATE, {60, 30, 42, 14}),
      Label(IDC_STATIC_POL, "Polarisation:", {12, 48, 40, 8}),
      Combo(IDC_LIST_POL, {12, 60, 42, 40}, 0, {"H/L", "V/R"}),
      Label(IDC_STATIC_FEC, "FEC:", {60, 48, 16, 8}),
      Combo(IDC_LIST_FEC, {60, 60, 36, 96}, 0,
            {"AUTO", "1/2", "2/3", "3/4", "4/5", "5/6", "6/7", "7/8", "8/9", "9/10", "1/4", "1/3",
             "2/5", "3/5", "5/11"}),
      Label(IDC_STATIC_MODULATION, "Modulation:", {12, 78, 38, 8}, kOff),
      Combo(IDC_LIST_MODULATION, {12, 90, 54, 96}, kOff,
            {"AUTO",       "QPSK",          "8PSK",          "16APSK",     "32APSK", "QPSK-S2",
             "Turbo QPSK", "Turbo 8PSK",    "Turbo 16PSK",   "DirecTV",    "BPSK",   "OQPSK",
             "DCII Combo", "DCII Split(I)", "DCII Split(Q)", "DCII OQPSK", "16QAM",  "32QAM",
             "64QAM",      "128QAM",        "256QAM"}),
      Button(IDC_BTN_TUNE, "Tune", {12, 108, 50, 14}),

      Frame(IDC_FRAME_SIGNAL, "Signal statistics", {6, 126, 150, 60}),
      Label(IDC_STATIC_LEVEL, "Level :", {12, 150, 66, 8}, kOff),
      Label(IDC_STATIC_QUALITY, "Quality :", {84, 150, 66, 8}, kOff),
      Label(IDC_STATIC_SNR, "SNR :", {12, 162, 66, 8}, kOff),
      Label(IDC_STATIC_BER, "BER :", {84, 162, 66, 8}, kOff),
      Indicator(IDC_CHK_PRESENT, "Present", {12, 138, 41, 10}, kOff),
      Indicator(IDC_CHK_LOCK, "Lock", {84, 138, 30, 10}, kOff),

      Frame(kIdStatic, "LNB settings", {162, 6, 96, 66}),
      Label(IDC_STATIC_LOF_LOW, "LOF Low:", {168, 18, 31, 8}),
      Label(IDC_STATIC_LOF_SWITCH, "LOF Switch:", {168, 36, 39, 8}),
      Label(IDC_STATIC_LOF_HIGH, "LOF High:", {168, 54, 32, 8}),
      Edit(IDC_EDIT_LOF_LOW, {210, 18, 40, 14}),
      Edit(IDC_EDIT_LOF_SWITCH, {210, 36, 40, 14}),
      Edit(IDC_EDIT_LOF_HIGH, {210, 54, 40, 14}),

      Check(IDC_CHK_LOG_TO_FILE, "Log messages to file", {6, 282, 81, 10}),
      {IDC_LIST_LOG,
       ControlKind::ListBox,
       {},
       {6, 294, 248, 102},
       fw::kTabStop | fw::kNotify | fw::kMultiSel | fw::kVScroll | fw::kNoIntegralHeight,
       {},
       0},

      Frame(kIdStatic, "DiSEqC", {162, 72, 96, 114}),
      Radio(IDC_RADIO_BURST_A, "A", {210, 84, 21, 10}, fw::kGroup | kOff),
      Radio(IDC_RADIO_BURST_B, "B", {234, 84, 20, 10}, kOff),
      // Starts a new group so the burst radio group ends with "B".
      Check(IDC_CHK_SIMPLE, "Simple:", {169, 84, 36, 10}, fw::kGroup | kOff),
      Check(IDC_CHK_DISEQC10, "1.0:", {169, 102, 29, 10}, kOff),
      Combo(IDC_LIST_DISEQC10, {198, 102, 54, 48}, kOff,
            {"PosA/OptA", "PosB/OptA", "PosA/OptB", "PosB/OptB"}),
      Check(IDC_CHK_DISEQC11, "1.1:", {169, 120, 29, 10}, kOff),
      Combo(IDC_LIST_DISEQC11, {198, 120, 54, 78}, kOff),
      Check(IDC_CHK_DISEQC12, "1.2:", {169, 138, 29, 10}, kOff),
      Combo(IDC_LIST_DISEQC12, {198, 138, 54, 78}, kOff),
      Button(IDC_BTN_DISEQC_SEND, "Send", {169, 166, 50, 14}, kOff),

      Frame(kIdStatic, "Remote control", {6, 216, 252, 30}),
      Check(IDC_CHK_RC_ENABLE, "Enable", {12, 228, 37, 10}, kOff),
      Check(IDC_CHK_RECEIVE_REPLY, "Receive reply (2.x)", {169, 154, 77, 10}, kOff),
      Combo(IDC_LIST_RC_TYPE, {90, 228, 36, 54}, kOff, {"RAW", "RC5", "RC6"}),
      // The drop-down keeps its scroll bar (disabled) even with few devices.
      Combo(IDC_CB_DEVICE, {51, 402, 204, 79}, fw::kVScroll | fw::kDisableNoScroll | kOff),
      Label(IDC_STATIC_DEVICE, "Active device:", {0, 402, 46, 8}),
      Combo(IDC_LIST_RC_DEV, {162, 228, 30, 54}, kOff, RcDeviceEntries()),
      Label(IDC_STATIC_RC_DEV, "RC-Dev:", {132, 228, 28, 8}),
      Label(kIdStatic, "RC-Type:", {54, 228, 32, 8}),

      Frame(kIdStatic, "Filter", {6, 186, 252, 30}),
      Check(IDC_CHK_FILTER_ENABLE, "Enable", {12, 198, 37, 10}),
      NumberEdit(IDC_EDIT_PID, {72, 198, 28, 14}),
      Label(IDC_STATIC_PID, "PID:", {54, 198, 15, 8}),
      Label(IDC_STATIC_FILTER_INFO, "", {109, 198, 143, 14}),
      Label(IDC_STATIC_INVERSION, "Inversion:", {102, 48, 34, 8}, kOff),
      Combo(IDC_LIST_INVERSION, {102, 60, 36, 60}, kOff, kAutoOffOn),
      Label(IDC_STATIC_PILOT, "Pilot:", {72, 78, 17, 8}, kOff),
      Label(IDC_STATIC_ROLLOFF, "RollOff:", {114, 78, 26, 8}, kOff),
      Combo(IDC_LIST_PILOT, {72, 90, 36, 54}, kOff, kAutoOffOn),
      Combo(IDC_LIST_ROLLOFF, {114, 90, 36, 54}, kOff, {"AUTO", "0.20", "0.25", "0.35"}),

      Frame(kIdStatic, "EEPROM access", {6, 246, 252, 30}),
      Button(IDC_BTN_EEPROM_READ, "Read", {12, 258, 50, 14}, kOff),
      Button(IDC_BTN_EEPROM_WRITE, "Write", {72, 258, 50, 14}, kOff),
      // The numbers 0..255 are appended when the dialog initialises.
      Combo(IDC_LIST_MIS, {114, 108, 35, 71}, fw::kVScroll | kOff, {"OFF"}),
      Label(IDC_STATIC_MIS, "MIS filter", {81, 111, 30, 8}, kOff),
      Combo(IDC_LIST_EEPROM_SIZE, {174, 258, 36, 90}),
      Label(IDC_STATIC_EEPROM_SIZE, "EEPROM size:", {128, 259, 45, 8}),
      Label(kIdStatic, "bytes", {212, 259, 19, 8}),
      Label(IDC_STATIC_RFLEVEL, "RFLevel:", {12, 173, 138, 8}, kOff),
  };
  return d;
}

DialogTemplate BuildAbout() {
  DialogTemplate d;
  d.id = IDD_ABOUTBOX;
  d.caption = "About QuorvexDemo";
  d.rect = {0, 0, 170, 62};
  d.fontName = "MS Shell Dlg";
  d.fontPoints = 8;
  d.style = fw::kDlgModalFrame | fw::kDlgCaption | fw::kDlgSysMenu;
  ControlTemplate icon{kIdStatic, ControlKind::Icon, {}, {14, 14, 21, 20}, 0, {}, IDR_MAINFRAME};
  d.controls = {
      icon,
      Label(kIdStatic, "QuorvexDemo", {42, 14, 114, 8}),
      Label(kIdStatic, "Version " + std::string(kProductVersion), {42, 26, 114, 8}),
      {fw::kIdOk,
       ControlKind::DefPushButton,
       "ОК",
       {113, 41, 50, 14},
       fw::kTabStop | fw::kGroup,
       {},
       0},
  };
  return d;
}

}  // namespace

const DialogTemplate& MainDialogTemplate() {
  static const DialogTemplate d = BuildMain();
  return d;
}

const DialogTemplate& AboutDialogTemplate() {
  static const DialogTemplate d = BuildAbout();
  return d;
}

const DialogTemplate* FindDialogTemplate(int id) {
  if (id == IDD_QUORVEXDEMO_DIALOG) return &MainDialogTemplate();
  if (id == IDD_ABOUTBOX) return &AboutDialogTemplate();
  return nullptr;
}

}  // namespace res

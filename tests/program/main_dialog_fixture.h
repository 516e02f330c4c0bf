// The main dialog on an in-memory window and a host that keeps posted work
// until the test pumps it, against a library faked by the test: the library's
// entry table starts empty for the test to fill and is put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/quorvex_demo_app.h"
#include "app/quorvex_demo_dlg.h"
#include "framework/dialog.h"
#include "framework/host.h"
#include "framework/list_model.h"
#include "framework/message.h"
#include "framework/post_queue.h"
#include "res/resource_ids.h"
#include "tuner/tuner_api.h"

struct FakeControl {
  bool enabled = true;
  std::string text;
  int check = 0;
  fw::ListModel list;
};

// Controls by id with their state, the order the program reads them in, the
// boxes shown, and file dialogs answered from a queue (empty: cancelled).
class FakeWindow : public fw::DialogWindow {
 public:
  explicit FakeWindow(const fw::DialogTemplate& t) {
    for (const auto& c : t.controls) {
      if (c.id == fw::kIdStatic) continue;
      FakeControl& fc = controls[c.id];
      fc.enabled = (c.style & fw::kDisabled) == 0;
      fc.text = c.text;
      for (const auto& e : c.entries) fc.list.Add(e);
    }
  }
  std::map<int, FakeControl> controls;
  std::vector<int> reads;
  std::vector<std::string> boxes;
  std::deque<std::optional<std::string>> answers;
  std::vector<fw::FileDialogRequest> asked;

  FakeControl& C(int id) { return controls.at(id); }
  const FakeControl& C(int id) const { return controls.at(id); }

  bool HasControl(int id) const override { return controls.count(id) != 0; }
  void EnableControl(int id, bool e) override { C(id).enabled = e; }
  bool IsControlEnabled(int id) const override { return C(id).enabled; }
  void SetText(int id, const std::string& t) override { C(id).text = t; }
  std::string GetText(int id) const override { return Read(id).text; }
  void SetCheck(int id, int s) override { C(id).check = s; }
  int GetCheck(int id) const override { return Read(id).check; }
  int AddString(int id, const std::string& t) override { return C(id).list.Add(t); }
  int GetCount(int id) const override { return C(id).list.Count(); }
  int GetCurSel(int id) const override { return Read(id).list.Selection(); }
  int SetCurSel(int id, int i) override { return C(id).list.Select(i); }
  int SetItemData(int id, int i, uintptr_t d) override { return C(id).list.SetData(i, d); }
  uintptr_t GetItemData(int id, int i) const override { return C(id).list.Data(i); }
  std::string GetItemText(int id, int i) const override { return std::string(C(id).list.Text(i)); }
  void ResetContent(int id) override { C(id).list.Clear(); }
  int SetTopIndex(int, int) override { return 0; }
  void SetFocus(int) override {}
  bool AppendSystemMenu(unsigned, const std::string&) override { return true; }
  void SetIcon(fw::IconHandle, bool) override {}
  bool IsIconic() const override { return false; }
  void PaintIconic(fw::IconHandle) override {}
  int MessageBox(const std::string& text, const std::string& caption, fw::BoxIcon) override {
    boxes.push_back(caption + " | " + text);
    return fw::kIdOk;
  }
  std::optional<std::string> FileDialog(const fw::FileDialogRequest& r) override {
    asked.push_back(r);
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
  uintptr_t SetTimer(uintptr_t id, unsigned) override { return id; }
  bool KillTimer(uintptr_t) override { return true; }
  void EndDialog(int) override {}
  int RunModal(fw::Dialog&) override { return fw::kIdOk; }

 private:
  const FakeControl& Read(int id) const {
    const_cast<FakeWindow*>(this)->reads.push_back(id);
    return C(id);
  }
};

// A user-interface thread busy elsewhere: posted work waits for Pump().
class QueueHost : public fw::Host {
 public:
  int RunModal(fw::Dialog&) override { return fw::kIdCancel; }
  int MessageBox(const std::string&, const std::string&, fw::BoxIcon) override { return 0; }
  void Post(std::function<void()> work) override { queue_.Post(std::move(work)); }
  size_t Pending() { return queue_.Pending(); }
  // Runs the queued work, including work posted meanwhile; returns how much ran.
  size_t Pump() { return queue_.Drain(); }

 private:
  fw::PostQueue queue_;
};

class MainDialogTestDlg : public CQuorvexDemoDlg {
 public:
  using CQuorvexDemoDlg::UpdateData;
};

// The state the tests check that no control shows.
class MainDialogPeer {
 public:
  explicit MainDialogPeer(const CQuorvexDemoDlg& d) : d_(d) {}
  int32_t TsFilter() const { return d_.m_capture.m_nTsFilter; }
  int32_t RcFilter() const { return d_.m_rc.m_nRcFilter; }
  // The members data exchange fills, by control id.
  int64_t Member(int id) const {
    switch (id) {
      case IDC_EDIT_FREQ:
        return d_.m_nFreq;
      case IDC_LIST_POL:
        return d_.m_nPol;
      case IDC_EDIT_LOF_HIGH:
        return d_.m_nLofHigh;
      case IDC_EDIT_LOF_SWITCH:
        return d_.m_nLofSwitch;
      case IDC_CHK_LOG_TO_FILE:
        return d_.m_bLogToFile;
      case IDC_EDIT_PID:
        return d_.m_capture.m_nPid;
      case IDC_RADIO_BURST_A:
        return d_.m_nBurst;
    }
    ADD_FAILURE() << "no member for control " << id;
    return 0;
  }

 private:
  const CQuorvexDemoDlg& d_;
};

struct MainDialogOnFakeLibrary : ::testing::Test {
  QueueHost host;
  MainDialogTestDlg dlg;
  MainDialogPeer peer{dlg};
  FakeWindow window{dlg.Template()};
  TunerApiRecord saved{};

  // The controls hold the dialog's initial members, as after start-up; the
  // dialog's own start-up is not run, it would load a real library.
  void SetUp() override {
    ASSERT_TRUE(theApp.startSockets);  // links the application object
    saved = TunerApi;
    TunerApi = TunerApiRecord{};
    fw::SetCurrentHost(&host);
    dlg.AttachWindow(&window);
    ASSERT_TRUE(dlg.UpdateData(false));
    window.reads.clear();
  }
  void TearDown() override {
    host.Pump();
    dlg.AttachWindow(nullptr);
    fw::SetCurrentHost(nullptr);
    TunerApi = saved;
  }

  void Click(int id) { dlg.Dispatch(fw::CommandMessage(id, fw::Notify::Clicked)); }
  // A check box clicked by the user: it flips before the handler runs.
  void Toggle(int id) {
    FakeControl& box = window.C(id);
    box.check = box.check == 1 ? 0 : 1;
    Click(id);
  }
  // The message log's lines, oldest first.
  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    const fw::ListModel& log = window.C(IDC_LIST_LOG).list;
    for (int i = 0; i < log.Count(); ++i) lines.emplace_back(log.Text(i));
    return lines;
  }
};

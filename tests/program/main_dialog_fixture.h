// The main dialog on an in-memory window and a host that keeps posted work
// until the test pumps it, against a library faked by the test: the library's
// entry table starts empty for the test to fill and is put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/quorvex_demo_app.h"
#include "app/quorvex_demo_dlg.h"
#include "framework/dialog.h"
#include "framework/host.h"
#include "framework/message.h"
#include "res/resource_ids.h"
#include "tuner/tuner_api.h"

struct FakeControl {
  bool enabled = true;
  std::string text;
  int check = 0;
  int sel = -1;
  std::vector<std::pair<std::string, uintptr_t>> entries;
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
      for (const auto& e : c.entries) fc.entries.push_back({e, 0});
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
  int AddString(int id, const std::string& t) override {
    C(id).entries.push_back({t, 0});
    return static_cast<int>(C(id).entries.size()) - 1;
  }
  int GetCount(int id) const override { return static_cast<int>(C(id).entries.size()); }
  int GetCurSel(int id) const override { return Read(id).sel; }
  int SetCurSel(int id, int i) override {
    FakeControl& c = C(id);
    c.sel = (i >= 0 && i < static_cast<int>(c.entries.size())) ? i : -1;
    return c.sel;
  }
  int SetItemData(int id, int i, uintptr_t d) override {
    C(id).entries.at(static_cast<size_t>(i)).second = d;
    return 0;
  }
  uintptr_t GetItemData(int id, int i) const override {
    return C(id).entries.at(static_cast<size_t>(i)).second;
  }
  std::string GetItemText(int id, int i) const override {
    return C(id).entries.at(static_cast<size_t>(i)).first;
  }
  void ResetContent(int id) override {
    C(id).entries.clear();
    C(id).sel = -1;
  }
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
  void Post(std::function<void()> work) override {
    std::lock_guard lock(mu_);
    queue_.push_back(std::move(work));
  }
  size_t Pending() {
    std::lock_guard lock(mu_);
    return queue_.size();
  }
  // Runs the queued work, including work posted meanwhile; returns how much ran.
  size_t Pump() {
    for (size_t n = 0;; ++n) {
      std::function<void()> work;
      {
        std::lock_guard lock(mu_);
        if (queue_.empty()) return n;
        work = std::move(queue_.front());
        queue_.pop_front();
      }
      work();
    }
  }

 private:
  std::mutex mu_;
  std::deque<std::function<void()>> queue_;
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
    for (const auto& e : window.C(IDC_LIST_LOG).entries) lines.push_back(e.first);
    return lines;
  }
};

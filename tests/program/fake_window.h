// An in-memory dialog window for unit tests: controls by id with their state,
// plus a record of every read the program makes, to check visiting order.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/host.h"

struct FakeControl {
  bool enabled = true;
  std::string text;
  int check = 0;
  int sel = -1;
  std::vector<std::pair<std::string, uintptr_t>> entries;
};

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
  std::vector<int> reads;  // ids whose value the program read, in order
  std::vector<std::string> boxes;
  int ended = 0;

  FakeControl& C(int id) { return controls.at(id); }
  const FakeControl& C(int id) const { return controls.at(id); }

  bool HasControl(int id) const override { return controls.count(id) != 0; }
  void EnableControl(int id, bool e) override { C(id).enabled = e; }
  bool IsControlEnabled(int id) const override { return C(id).enabled; }
  void SetText(int id, const std::string& t) override { C(id).text = t; }
  std::string GetText(int id) const override {
    const_cast<FakeWindow*>(this)->reads.push_back(id);
    return C(id).text;
  }
  void SetCheck(int id, int s) override { C(id).check = s; }
  int GetCheck(int id) const override {
    const_cast<FakeWindow*>(this)->reads.push_back(id);
    return C(id).check;
  }
  int AddString(int id, const std::string& t) override {
    C(id).entries.push_back({t, 0});
    return static_cast<int>(C(id).entries.size()) - 1;
  }
  int GetCount(int id) const override { return static_cast<int>(C(id).entries.size()); }
  int GetCurSel(int id) const override {
    const_cast<FakeWindow*>(this)->reads.push_back(id);
    return C(id).sel;
  }
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
  std::optional<std::string> FileDialog(const fw::FileDialogRequest&) override {
    return std::nullopt;
  }
  uintptr_t SetTimer(uintptr_t id, unsigned) override { return id; }
  bool KillTimer(uintptr_t) override { return true; }
  void EndDialog(int result) override { ended = result; }
  int RunModal(fw::Dialog&) override { return fw::kIdOk; }
};

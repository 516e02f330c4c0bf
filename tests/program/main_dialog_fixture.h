// The main dialog on an in-memory window, against a library faked by the test:
// the library's entry table starts empty for the test to fill with its fakes
// and is put back as it was afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/quorvex_demo_app.h"
#include "app/quorvex_demo_dlg.h"
#include "framework/message.h"
#include "res/resource_ids.h"
#include "tests/program/fake_window.h"
#include "tuner/tuner_api.h"

class MainDialogTestDlg : public CQuorvexDemoDlg {
 public:
  using CQuorvexDemoDlg::UpdateData;
};

// `Window` is FakeWindow or a test's own kind of it.
template <class Window = FakeWindow>
struct MainDialogOnFakeLibrary : ::testing::Test {
  MainDialogTestDlg dlg;
  Window window{dlg.Template()};
  TunerApiRecord saved{};

  // The controls hold the dialog's initial members, as after start-up; the
  // dialog's own start-up is not run, it would load a real library.
  void SetUp() override {
    ASSERT_TRUE(theApp.startSockets);  // links the application object
    saved = TunerApi;
    TunerApi = TunerApiRecord{};
    dlg.AttachWindow(&window);
    ASSERT_TRUE(dlg.UpdateData(false));
  }
  void TearDown() override {
    dlg.AttachWindow(nullptr);
    TunerApi = saved;
  }

  void Click(int id) { dlg.Dispatch(fw::CommandMessage(id, fw::Notify::Clicked)); }
  // A window timer fires; the signal poll's unless told.
  void Tick(uintptr_t timerId = kSignalTimerId) { dlg.Dispatch(fw::TimerMessage(timerId)); }
  // The message log's lines, oldest first.
  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    for (const auto& e : window.C(IDC_LIST_LOG).entries) lines.push_back(e.first);
    return lines;
  }
};

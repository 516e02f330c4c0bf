// A dialog for driving the headless host in tests: it records every message it
// receives and lets each test hook its start-up and its handlers.
#pragma once

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "hosts/headless/headless_host.h"

namespace headless_test {

// Ids of the test template's controls.
enum : int {
  kCheck = 100,
  kRadioA = 110,
  kRadioB = 111,
  kRadioC = 112,
  kOtherRadio = 120,
  kCombo = 200,
  kList = 300,
  kNumberEdit = 400,
  kTextEdit = 401,
  kDisabledButton = 500,
};

fw::DialogTemplate MakeTemplate(uint32_t style = fw::kDlgSysMenu | fw::kDlgCaption);

class TestDialog : public fw::Dialog {
 public:
  explicit TestDialog(const fw::DialogTemplate& t) : fw::Dialog(t) {}

  std::function<void(TestDialog&)> onInit;
  std::function<void(TestDialog&, const fw::Message&)> onMessage;
  // What arrived, in order: "clicked 100", "selchange 200", "dblclick 300",
  // "timer 7", "syscommand 16", "close".
  std::vector<std::string> received;
  // Handles Close itself without ending, as a dialog that is busy might.
  bool refuseClose = false;

 protected:
  bool OnInitDialog() override {
    if (onInit) onInit(*this);
    return true;
  }
  bool OnMessage(const fw::Message& m, uintptr_t&) override;
};

// One run of a script against a dialog; the transcript it produced.
struct Outcome {
  std::string transcript;
  int result = 0;
  bool scriptError = false;
};

Outcome RunScript(TestDialog& dialog, const std::string& script);
// The same with the script read from `in` into `out`, whole first or line by
// line as a script on a pipe is.
Outcome RunScript(TestDialog& dialog, std::istream& in, std::ostringstream& out,
                  bool checkWholeScriptFirst);

// The last line of a transcript.
std::string LastLine(const std::string& transcript);

}  // namespace headless_test

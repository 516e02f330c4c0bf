#include "tests/headless/test_dialog.h"

#include "tests/support/received_text.h"

namespace headless_test {

fw::DialogTemplate MakeTemplate(uint32_t style) {
  using fw::ControlKind;
  fw::DialogTemplate t;
  t.caption = "Test";
  t.style = style;
  auto add = [&](int id, ControlKind kind, std::string text, uint32_t s = 0,
                 std::vector<std::string> entries = {}) {
    fw::ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.text = std::move(text);
    c.style = s;
    c.entries = std::move(entries);
    t.controls.push_back(std::move(c));
  };
  add(fw::kIdStatic, ControlKind::Static, "Label");
  add(fw::kIdOk, ControlKind::DefPushButton, "OK");
  add(fw::kIdCancel, ControlKind::PushButton, "Cancel");
  add(kCheck, ControlKind::CheckBox, "Check");
  add(kRadioA, ControlKind::Radio, "A", fw::kGroup);
  add(kRadioB, ControlKind::Radio, "B");
  add(kRadioC, ControlKind::Radio, "C");
  add(kOtherRadio, ControlKind::Radio, "Other", fw::kGroup);
  add(kCombo, ControlKind::ComboBox, "", fw::kGroup, {"zero", "one", "two"});
  add(kList, ControlKind::ListBox, "", fw::kNotify);
  add(kNumberEdit, ControlKind::Edit, "5", fw::kNumber);
  add(kTextEdit, ControlKind::Edit, "");
  add(kDisabledButton, ControlKind::PushButton, "Off", fw::kDisabled);
  return t;
}

bool TestDialog::OnMessage(const fw::Message& m, uintptr_t&) {
  if (std::string text = testsupport::ReceivedText(m); !text.empty()) {
    received.push_back(std::move(text));
  }
  if (onMessage) onMessage(*this, m);
  if (refuseClose && m.kind == fw::MessageKind::Close) return true;
  return false;  // OK, Cancel and Close keep their default handling
}

Outcome RunScript(TestDialog& dialog, const std::string& script) {
  std::istringstream in(script);
  std::ostringstream out;
  return RunScript(dialog, in, out, true);
}

Outcome RunScript(TestDialog& dialog, std::istream& in, std::ostringstream& out,
                  bool checkWholeScriptFirst) {
  Outcome o;
  {
    headless::HeadlessHost host(in, out,
                                headless::HeadlessHost::Options{false, checkWholeScriptFirst});
    fw::SetCurrentHost(&host);
    try {
      o.result = host.RunModal(dialog);
    } catch (const headless::ScriptError&) {
      o.scriptError = true;
    }
    fw::SetCurrentHost(nullptr);
  }
  o.transcript = out.str();
  return o;
}

std::string LastLine(const std::string& transcript) {
  std::string t = transcript;
  if (!t.empty() && t.back() == '\n') t.pop_back();
  const size_t nl = t.rfind('\n');
  return nl == std::string::npos ? t : t.substr(nl + 1);
}

}  // namespace headless_test

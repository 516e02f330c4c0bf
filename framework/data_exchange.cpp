#include "framework/data_exchange.h"

#include <cctype>

#include "framework/controls.h"
#include "framework/dialog.h"

namespace fw {

void DataExchange::Fail(int id, const std::string& message) {
  dialog_.MessageBox(message, AppTitle(), BoxIcon::Warning);
  dialog_.Window().SetFocus(id);
  throw DataExchangeFailure{};
}

bool ParseUnsigned32(const std::string& text, uint32_t& value) {
  size_t i = 0;
  const size_t n = text.size();
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (i < n && blank(text[i])) ++i;
  if (i == n || !std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  uint64_t v = 0;
  while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
    v = v * 10 + static_cast<uint64_t>(text[i] - '0');
    if (v > 0xFFFFFFFFull) return false;
    ++i;
  }
  while (i < n && blank(text[i])) ++i;
  if (i != n) return false;
  value = static_cast<uint32_t>(v);
  return true;
}

void DDX_Control(DataExchange& dx, int id, Control& control) {
  if (!control.IsAttached()) control.Attach(&dx.Owner(), id);
}

void DDX_Text(DataExchange& dx, int id, uint32_t& value) {
  DialogWindow& w = dx.Owner().Window();
  if (dx.Saving()) {
    uint32_t parsed = 0;
    if (!ParseUnsigned32(w.GetText(id), parsed)) dx.Fail(id, kParseUnsignedMessage);
    value = parsed;
  } else {
    w.SetText(id, std::to_string(value));
  }
}

void DDX_Text(DataExchange& dx, int id, std::string& value) {
  DialogWindow& w = dx.Owner().Window();
  if (dx.Saving()) {
    value = w.GetText(id);
  } else {
    w.SetText(id, value);
  }
}

void DDX_CBIndex(DataExchange& dx, int id, int32_t& index) {
  DialogWindow& w = dx.Owner().Window();
  if (dx.Saving()) {
    index = w.GetCurSel(id);
  } else {
    w.SetCurSel(id, index);
  }
}

void DDX_Check(DataExchange& dx, int id, int32_t& state) {
  DialogWindow& w = dx.Owner().Window();
  if (dx.Saving()) {
    state = w.GetCheck(id);
  } else {
    w.SetCheck(id, state);
  }
}

void DDX_Radio(DataExchange& dx, int id, int32_t& index) {
  DialogWindow& w = dx.Owner().Window();
  const std::vector<int> group = dx.Owner().Template().RadioGroup(id);
  if (dx.Saving()) {
    index = -1;
    for (size_t i = 0; i < group.size(); ++i) {
      if (w.GetCheck(group[i]) != 0) {
        index = static_cast<int32_t>(i);
        break;
      }
    }
  } else {
    for (size_t i = 0; i < group.size(); ++i) {
      w.SetCheck(group[i], static_cast<int32_t>(i) == index ? 1 : 0);
    }
  }
}

}  // namespace fw

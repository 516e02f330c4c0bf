// Data exchange between dialog members and controls, in both directions.
// Reading stops at the first edit that does not hold a valid number: the
// framework shows its validation box, and later members keep their values.
#pragma once

#include <cstdint>
#include <string>

namespace fw {

class Dialog;
class Control;

class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool saveAndValidate)
      : dialog_(dialog), saveAndValidate_(saveAndValidate) {}
  // True when reading controls into members.
  bool Saving() const { return saveAndValidate_; }
  Dialog& Owner() const { return dialog_; }
  // Shows the validation box for a control and stops the exchange.
  [[noreturn]] void Fail(int id, const std::string& message);

 private:
  Dialog& dialog_;
  bool saveAndValidate_;
};

// Thrown inside the framework only; UpdateData catches it.
struct DataExchangeFailure {};

// The text the validation box shows for a field that is not an unsigned number.
inline constexpr const char* kParseUnsignedMessage = "Please enter a positive integer.";

// Parses an unsigned 32-bit decimal number the way the dialog's edit exchange
// does: optional blanks around, digits only, no overflow.
bool ParseUnsigned32(const std::string& text, uint32_t& value);

// Attaches a control object to its dialog item.
void DDX_Control(DataExchange& dx, int id, Control& control);
// An unsigned number in an edit.
void DDX_Text(DataExchange& dx, int id, uint32_t& value);
// A string in any control's window text.
void DDX_Text(DataExchange& dx, int id, std::string& value);
// The selected index of a drop-down list (-1 for none).
void DDX_CBIndex(DataExchange& dx, int id, int32_t& index);
// The check state of a check box.
void DDX_Check(DataExchange& dx, int id, int32_t& state);
// The index of the ticked radio button in the group that starts at id (-1 for none).
void DDX_Radio(DataExchange& dx, int id, int32_t& index);

}  // namespace fw

// The modeless sweep window on wxWidgets: the file chooser, Start and Stop, a
// progress bar, the table of results and "Save CSV...".
#pragma once

#include <wx/frame.h>

#include "framework/sweep_window.h"

class wxButton;
class wxGauge;
class wxListCtrl;
class wxStaticText;

namespace wxhost {

class SweepFrame : public wxFrame, public fw::SweepWindow {
 public:
  SweepFrame(wxWindow* parent, fw::SweepWindowModel& model);

  // fw::SweepWindow.
  void ShowNewData() override;
  void BringToFront() override;

  // The controls (for tests).
  wxListCtrl* Table() const { return table_; }
  wxGauge* Progress() const { return progress_; }
  wxButton* StartButton() const { return start_; }
  wxButton* StopButton() const { return stop_; }
  wxButton* SaveButton() const { return save_; }
  wxButton* ChooseButton() const { return choose_; }
  wxStaticText* StatusText() const { return status_; }

 private:
  fw::SweepWindowModel& model_;
  wxButton* choose_ = nullptr;
  wxButton* start_ = nullptr;
  wxButton* stop_ = nullptr;
  wxButton* save_ = nullptr;
  wxStaticText* file_ = nullptr;
  wxGauge* progress_ = nullptr;
  wxListCtrl* table_ = nullptr;
  wxStaticText* status_ = nullptr;
};

}  // namespace wxhost

// The modeless chart window on wxWidgets: the program's picture painted with
// a wxDC on a panel, the span list, the fast switch and the save button.
#pragma once

#include <wx/frame.h>

#include "framework/chart_window.h"

class wxCheckBox;
class wxChoice;
class wxDC;
class wxStaticText;
class wxPanel;

namespace wxhost {

// Paints a chart picture onto a device context at its origin.
void PaintChartPicture(wxDC& dc, const fw::ChartPicture& picture, int width, int height);

class ChartFrame : public wxFrame, public fw::ChartWindow {
 public:
  ChartFrame(wxWindow* parent, fw::ChartWindowModel& model);

  // fw::ChartWindow.
  void ShowNewData() override;
  void BringToFront() override;

  // The drawing area (for tests).
  wxPanel* Chart() const { return chart_; }

 private:
  fw::ChartWindowModel& model_;
  wxPanel* chart_ = nullptr;
  wxStaticText* summary_ = nullptr;
  wxChoice* spans_ = nullptr;
  wxCheckBox* fast_ = nullptr;
};

}  // namespace wxhost

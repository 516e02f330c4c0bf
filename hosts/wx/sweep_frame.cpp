#include "hosts/wx/sweep_frame.h"

#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hosts/wx/frame_placement.h"
#include "hosts/wx/gtk_style.h"
#include "hosts/wx/wx_text.h"
#include "hosts/wx/wx_window.h"

namespace wxhost {

namespace {

// Column widths in pixels: the place, the transponder, the outcome, the figures.
constexpr int kColumnWidths[] = {130, 190, 130, 360};

}  // namespace

SweepFrame::SweepFrame(wxWindow* parent, fw::SweepWindowModel& model)
    : wxFrame(parent, wxID_ANY, ToWx(model.Title()), wxDefaultPosition, wxSize(520, 480),
              wxDEFAULT_FRAME_STYLE | wxFRAME_FLOAT_ON_PARENT),
      model_(model) {
  auto* root = new wxPanel(this);
  choose_ = new wxButton(root, wxID_ANY, "Choose...");
  file_ = new wxStaticText(root, wxID_ANY, ToWx(model.FileText()), wxDefaultPosition,
                           wxSize(80, -1), wxST_ELLIPSIZE_START | wxST_NO_AUTORESIZE);
  start_ = new wxButton(root, wxID_ANY, "Start");
  stop_ = new wxButton(root, wxID_ANY, "Stop");
  save_ = new wxButton(root, wxID_ANY, "Save CSV...");
  progress_ = new wxGauge(root, wxID_ANY, 1);
  table_ = new wxListCtrl(root, wxID_ANY, wxDefaultPosition, wxSize(480, 300),
                          wxLC_REPORT | wxLC_SINGLE_SEL);
  const std::vector<std::string> columns = model.Columns();
  for (size_t i = 0; i < columns.size(); ++i) {
    table_->AppendColumn(ToWx(columns[i]), wxLIST_FORMAT_LEFT,
                         i < std::size(kColumnWidths) ? kColumnWidths[i] : 120);
  }
  status_ = new wxStaticText(root, wxID_ANY, ToWx(model.Status()));

  // The file on a line of its own: a long path must not push the buttons out.
  auto* fileRow = new wxBoxSizer(wxHORIZONTAL);
  fileRow->Add(choose_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  fileRow->Add(file_, 1, wxALIGN_CENTER_VERTICAL);
  auto* bar = new wxBoxSizer(wxHORIZONTAL);
  bar->Add(start_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  bar->Add(stop_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 12);
  bar->Add(progress_, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 12);
  bar->Add(save_, 0, wxALIGN_CENTER_VERTICAL);
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(fileRow, 0, wxEXPAND | wxALL, 6);
  column->Add(bar, 0, wxEXPAND | wxLEFT | wxRIGHT, 6);
  column->Add(table_, 1, wxEXPAND | wxALL, 6);
  column->Add(status_, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 6);
  root->SetSizer(column);

  choose_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { model_.ChooseFile(); });
  start_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { model_.Start(); });
  stop_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { model_.Stop(); });
  save_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { model_.Save(); });
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) {
    model_.Closed();
    Destroy();
  });
  KeepUsableBesideModal(this);
  ShowNewData();
}

void SweepFrame::ShowNewData() {
  file_->SetLabel(ToWx(model_.FileText()));
  const size_t rows = model_.RowCount();
  if (static_cast<size_t>(table_->GetItemCount()) > rows) table_->DeleteAllItems();
  const size_t shown = static_cast<size_t>(table_->GetItemCount());
  for (size_t i = shown; i < rows; ++i) {
    const std::vector<std::string> row = model_.Row(i);
    const long item = table_->InsertItem(static_cast<long>(i), row.empty() ? "" : ToWx(row[0]));
    for (size_t c = 1; c < row.size(); ++c)
      table_->SetItem(item, static_cast<int>(c), ToWx(row[c]));
  }
  if (rows > shown) table_->EnsureVisible(static_cast<long>(rows - 1));
  progress_->SetRange(static_cast<int>(std::max<size_t>(model_.Total(), 1)));
  progress_->SetValue(static_cast<int>(std::min(model_.Finished(), model_.Total())));
  status_->SetLabel(ToWx(model_.Status()));
  start_->Enable(model_.CanStart());
  stop_->Enable(model_.Running());
  save_->Enable(model_.CanSave());
}

void SweepFrame::BringToFront() {
  Show();
  wxFrame::Raise();
}

fw::SweepWindow* WxDialogWindow::OpenSweepWindow(fw::SweepWindowModel& model) {
  auto* frame = new SweepFrame(this, model);
  // A little lower than the chart window, so both can be open.
  PlaceBeside(*frame, *this, 40);
  frame->Show();
  return frame;
}

}  // namespace wxhost

#include "hosts/wx/chart_frame.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dcbuffer.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>

#include "hosts/wx/frame_placement.h"
#include "hosts/wx/gtk_style.h"
#include "hosts/wx/wx_text.h"
#include "hosts/wx/wx_window.h"

namespace wxhost {

namespace {

wxColour Colour(fw::Rgb c) { return wxColour(c.r, c.g, c.b); }

}  // namespace

void PaintChartPicture(wxDC& dc, const fw::ChartPicture& p, int width, int height) {
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(Colour(p.background)));
  dc.DrawRectangle(0, 0, width, height);
  for (const auto& r : p.rects) {
    dc.SetBrush(wxBrush(Colour(r.colour)));
    dc.DrawRectangle(r.x, r.y, r.w, r.h);
  }
  for (const auto& l : p.lines) {
    if (l.points.size() < 2) continue;
    wxPen pen(Colour(l.colour), l.width);
    pen.SetCap(wxCAP_BUTT);
    dc.SetPen(pen);
    std::vector<wxPoint> points;
    points.reserve(l.points.size());
    for (const fw::ChartPoint& pt : l.points) points.emplace_back(pt.x, pt.y);
    dc.DrawLines(static_cast<int>(points.size()), points.data());
  }
  wxFont font = dc.GetFont();
  font.SetPixelSize(wxSize(0, 11));
  dc.SetFont(font);
  for (const auto& t : p.texts) {
    dc.SetTextForeground(Colour(t.colour));
    const wxString text = ToWx(t.text);
    const int x = t.alignRight ? t.x - dc.GetTextExtent(text).GetWidth() : t.x;
    dc.DrawText(text, x, t.y);
  }
}

ChartFrame::ChartFrame(wxWindow* parent, fw::ChartWindowModel& model)
    : wxFrame(parent, wxID_ANY, ToWx(model.Title()), wxDefaultPosition, wxSize(460, 400),
              wxDEFAULT_FRAME_STYLE | wxFRAME_FLOAT_ON_PARENT),
      model_(model) {
  auto* root = new wxPanel(this);
  auto* spans = spans_ = new wxChoice(root, wxID_ANY);
  for (const std::string& name : model.SpanNames()) spans->Append(ToWx(name));
  spans->SetSelection(model.Span());
  auto* fast = fast_ = new wxCheckBox(root, wxID_ANY, ToWx(model.SwitchName()));
  fast->SetValue(model.Switch());
  auto* save = new wxButton(root, wxID_ANY, "Save CSV...");
  summary_ = new wxStaticText(root, wxID_ANY, ToWx(model.Summary()));
  chart_ = new wxPanel(root, wxID_ANY, wxDefaultPosition, wxSize(600, 300));
  chart_->SetBackgroundStyle(wxBG_STYLE_PAINT);

  auto* bar = new wxBoxSizer(wxHORIZONTAL);
  bar->Add(new wxStaticText(root, wxID_ANY, "Span:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
  bar->Add(spans, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 12);
  bar->Add(fast, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 12);
  bar->AddStretchSpacer();
  bar->Add(save, 0, wxALIGN_CENTER_VERTICAL);
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(bar, 0, wxEXPAND | wxALL, 6);
  column->Add(summary_, 0, wxEXPAND | wxLEFT | wxRIGHT, 6);
  column->Add(chart_, 1, wxEXPAND | wxALL, 6);
  root->SetSizer(column);

  spans->Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) { model_.SetSpan(e.GetSelection()); });
  fast->Bind(wxEVT_CHECKBOX, [this, fast](wxCommandEvent&) {
    model_.SetSwitch(fast->GetValue());
    fast->SetValue(model_.Switch());
  });
  save->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { model_.Save(); });
  chart_->Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(chart_);
    const wxSize size = chart_->GetClientSize();
    PaintChartPicture(dc, model_.Picture(size.x, size.y), size.x, size.y);
  });
  chart_->Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
    chart_->Refresh(false);
    e.Skip();
  });
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) {
    model_.Closed();
    Destroy();
  });
  KeepUsableBesideModal(this);
}

fw::ChartWindow* WxDialogWindow::OpenChartWindow(fw::ChartWindowModel& model) {
  auto* frame = new ChartFrame(this, model);
  PlaceBeside(*frame, *this, 0);
  frame->Show();
  return frame;
}

void ChartFrame::ShowNewData() {
  const wxSize before = summary_->GetBestSize();
  summary_->SetLabel(ToWx(model_.Summary()));
  if (summary_->GetBestSize() != before) summary_->GetParent()->Layout();
  spans_->SetSelection(model_.Span());
  fast_->SetValue(model_.Switch());
  chart_->Refresh(false);
}

void ChartFrame::BringToFront() {
  Show();
  wxFrame::Raise();
}

}  // namespace wxhost

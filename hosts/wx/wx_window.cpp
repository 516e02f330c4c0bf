#include "hosts/wx/wx_window.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dcclient.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "framework/file_name.h"
#include "framework/icon_origin.h"
#include "framework/notification.h"
#include "hosts/wx/gtk_style.h"
#include "hosts/wx/icons.h"
#include "hosts/wx/log_list.h"
#include "hosts/wx/wx_host.h"
#include "hosts/wx/wx_text.h"

namespace wxhost {

namespace {

// A check box that the Tab key passes over (the signal indicators).
class IndicatorCheckBox : public wxCheckBox {
 public:
  using wxCheckBox::wxCheckBox;
  bool AcceptsFocusFromKeyboard() const override { return false; }
};

// Runs a function when it fires.
class CallbackTimer : public wxTimer {
 public:
  explicit CallbackTimer(std::function<void()> onFire) : onFire_(std::move(onFire)) {}
  void Notify() override { onFire_(); }

 private:
  std::function<void()> onFire_;
};

// A window can grow up to this factor over its dialog units before controls
// that want more are cut.
constexpr double kMaxLayoutFactor = 2.0;

long FrameStyle(const fw::DialogTemplate& t, bool owned) {
  long style = 0;
  if (t.style & fw::kDlgCaption) style |= wxCAPTION;
  if (t.style & fw::kDlgSysMenu) style |= wxSYSTEM_MENU | wxCLOSE_BOX;
  if (t.style & fw::kDlgMinimizeBox) style |= wxMINIMIZE_BOX;
  // Without this wxWidgets would make the application's top window the owner
  // of an ownerless dialog.
  if (!owned) style |= wxDIALOG_NO_PARENT;
  return style;
}

// The dialog font: the system's GUI font, one point above the template's
// size, which is what reads like the classic 8-point dialog font on screen.
wxFont DialogFont(const fw::DialogTemplate& t) {
  wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
#ifdef __WXMSW__
  font.SetPointSize(t.fontPoints);
#else
  font.SetPointSize(t.fontPoints + 1);
#endif
  return font;
}

}  // namespace

WxDialogWindow::WxDialogWindow(wxWindow* owner, fw::Dialog& dialog, WxHost& host)
    : wxDialog(owner, wxID_ANY, ToWx(dialog.Template().caption), wxDefaultPosition, wxDefaultSize,
               FrameStyle(dialog.Template(), owner != nullptr)),
      dialog_(&dialog),
      host_(host) {
  hasSystemMenu_ = (dialog.Template().style & fw::kDlgSysMenu) != 0;
  UseCompactControls();
  Build();
  for (auto& [c, w] : controls_) Wire(*c, w);
  Bind(wxEVT_CHAR_HOOK, &WxDialogWindow::OnCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, &WxDialogWindow::OnCloseWindow, this);
  Bind(wxEVT_CONTEXT_MENU, &WxDialogWindow::OnContextMenu, this);
  Bind(wxEVT_PAINT, &WxDialogWindow::OnPaintWindow, this);
}

WxDialogWindow::~WxDialogWindow() { Detach(); }

void WxDialogWindow::Detach() {
  for (auto& [id, timer] : timers_) timer->Stop();
  dialog_ = nullptr;
}

void WxDialogWindow::Build() {
  const fw::DialogTemplate& t = dialog_->Template();
  SetFont(DialogFont(t));
  // Dialog units of this font, measured over a long run for precision.
  const wxSize unit = ConvertDialogToPixels(wxSize(4000, 8000));
  const Scale base{unit.x / 4000.0, unit.y / 8000.0};

  // Every control is made at its size for the base scale, so wxWidgets does
  // not ask GTK for a best size on creation; only the controls whose content
  // must fit are measured, and an edit or a drop-down of this font measures
  // the same as any other.
  std::vector<wxhost::Fit> fits;
  wxSize editBest, comboBest;
  for (const fw::ControlTemplate& c : t.controls) {
    const PixelRect initial = ToPixels(ScreenDlu(c), base);
    wxWindow* w = Create(c, wxPoint(initial.x, initial.y), wxSize(initial.width, initial.height));
    controls_.emplace_back(&c, w);
    if (c.id != fw::kIdStatic && records_.count(c.id) == 0) {
      ControlRecord& r = records_[c.id];
      r.kind = c.kind;
      r.widget = w;
      if (c.kind == fw::ControlKind::ListBox) r.model = &static_cast<LogList*>(w)->Lines();
      if (c.kind == fw::ControlKind::ComboBox) r.model = &r.entries;
    }
    if (c.style & fw::kDisabled) w->Disable();

    // What must fit: the text of labels and buttons, and the height of every
    // control a user reads or types into.
    wxhost::Fit f;
    f.kind = c.kind;
    f.dlu = ScreenDlu(c);
    switch (c.kind) {
      case fw::ControlKind::Static:
      case fw::ControlKind::CheckBox:
      case fw::ControlKind::Radio:
      case fw::ControlKind::PushButton:
      case fw::ControlKind::DefPushButton: {
        const wxSize best = w->GetBestSize();
        f.neededWidth = c.text.empty() ? 0 : best.x;
        f.neededHeight = best.y;
        break;
      }
      case fw::ControlKind::Edit:
        if (editBest == wxSize()) editBest = w->GetBestSize();
        f.neededHeight = editBest.y;
        break;
      case fw::ControlKind::ComboBox:
        if (comboBest == wxSize()) comboBest = w->GetBestSize();
        f.neededHeight = comboBest.y;
        break;
      case fw::ControlKind::GroupBox:
      case fw::ControlKind::ListBox:
      case fw::ControlKind::Icon:
        break;
    }
    fits.push_back(f);
  }

  scale_ = FitScale(base, fits, kMaxLayoutFactor);
  for (auto& [c, w] : controls_) {
    const PixelRect r = ToPixels(ScreenDlu(*c), scale_);
    if (c->kind == fw::ControlKind::Icon) {
      // An icon control takes the icon's own size at its top-left corner.
      w->SetSize(r.x, r.y, wxDefaultCoord, wxDefaultCoord);
    } else {
      w->SetSize(r.x, r.y, r.width, r.height);
    }
  }
  const PixelRect client = ToPixels(fw::DluRect{0, 0, t.rect.cx, t.rect.cy}, scale_);
  SetClientSize(client.width, client.height);
  CentreOnScreen();
}

wxWindow* WxDialogWindow::Create(const fw::ControlTemplate& c, const wxPoint& at,
                                 const wxSize& size) {
  const wxString text = ToWx(c.text);
  switch (c.kind) {
    case fw::ControlKind::GroupBox:
      return new wxStaticBox(this, wxID_ANY, text, at, size);
    case fw::ControlKind::Static:
      return new wxStaticText(this, wxID_ANY, text, at, size, wxST_NO_AUTORESIZE);
    case fw::ControlKind::Edit: {
      auto* edit = new wxTextCtrl(this, wxID_ANY, text, at, size);
      if (c.style & fw::kNumber) {
        // Digits only, as typed; editing keys and the clipboard keys pass.
        edit->Bind(wxEVT_CHAR, [](wxKeyEvent& e) {
          const int key = e.GetKeyCode();
          if (key < WXK_SPACE || key == WXK_DELETE || key >= WXK_START || e.HasAnyModifiers() ||
              (key >= '0' && key <= '9')) {
            e.Skip();
          } else {
            wxBell();
          }
        });
      }
      return edit;
    }
    case fw::ControlKind::PushButton:
    case fw::ControlKind::DefPushButton: {
      auto* button = new wxButton(this, c.id == fw::kIdOk ? wxID_OK : wxID_ANY, text, at, size);
      if (c.kind == fw::ControlKind::DefPushButton) button->SetDefault();
      return button;
    }
    case fw::ControlKind::CheckBox:
      if ((c.style & fw::kTabStop) == 0) {
        return new IndicatorCheckBox(this, wxID_ANY, text, at, size);
      }
      return new wxCheckBox(this, wxID_ANY, text, at, size);
    case fw::ControlKind::Radio:
      return new wxRadioButton(this, wxID_ANY, text, at, size,
                               (c.style & fw::kGroup) ? wxRB_GROUP : 0);
    case fw::ControlKind::ComboBox: {
      auto* choice = new wxChoice(this, wxID_ANY, at, size);
      SizeByShownEntry(choice);
      // The control shows the template's entries from the start, as GTK draws
      // a drop-down without entries greyed in the first frame; they reach the
      // model, with their item data, as the dialog starts, and FillChoice
      // appends only what the control does not show yet.
      for (const std::string& e : c.entries) choice->Append(ToWxEntry(e));
      return choice;
    }
    case fw::ControlKind::ListBox: {
      auto* list = new LogList(this);
      list->SetSize(wxRect(at, size));
      return list;
    }
    case fw::ControlKind::Icon:
      return new wxStaticBitmap(this, wxID_ANY,
                                IconBitmap(static_cast<fw::IconHandle>(c.iconId),
                                           wxSystemSettings::GetMetric(wxSYS_ICON_X)),
                                at);
  }
  return new wxStaticText(this, wxID_ANY, text);
}

void WxDialogWindow::Wire(const fw::ControlTemplate& c, wxWindow* w) {
  // Which event means what to the dialog is the framework's rule; the native
  // event of each kind is the toolkit's.
  const fw::ControlTemplate* control = &c;
  const auto tell = [this, control](fw::ControlEvent event) {
    if (const std::optional<fw::Message> m = fw::ControlNotification(*control, event)) Deliver(*m);
  };
  const auto pressed = [tell](wxCommandEvent&) { tell(fw::ControlEvent::Pressed); };
  switch (c.kind) {
    case fw::ControlKind::PushButton:
    case fw::ControlKind::DefPushButton:
      w->Bind(wxEVT_BUTTON, pressed);
      break;
    case fw::ControlKind::CheckBox:
      w->Bind(wxEVT_CHECKBOX, pressed);
      break;
    case fw::ControlKind::Radio:
      w->Bind(wxEVT_RADIOBUTTON, pressed);
      break;
    case fw::ControlKind::ComboBox:
      w->Bind(wxEVT_CHOICE, [tell](wxCommandEvent&) { tell(fw::ControlEvent::SelectionChanged); });
      break;
    case fw::ControlKind::ListBox: {
      auto* list = static_cast<LogList*>(w);
      list->onClick = [tell] { tell(fw::ControlEvent::SelectionChanged); };
      list->onDoubleClick = [tell] { tell(fw::ControlEvent::DoubleClicked); };
      break;
    }
    case fw::ControlKind::GroupBox:
    case fw::ControlKind::Static:
    case fw::ControlKind::Edit:
    case fw::ControlKind::Icon:
      break;
  }
}

void WxDialogWindow::RunLoop(const std::function<void(WxDialogWindow&)>& onShown) {
  // Shown = mapped and painted once; the first idle moment after that. The
  // drop-downs get their remaining entries right after.
  Bind(wxEVT_IDLE, [this, onShown](wxIdleEvent& e) {
    e.Skip();
    if (!fillLater_ || ended_ || !IsShownOnScreen() || !painted_) return;
    fillLater_ = false;
    if (onShown) {
      CallAfter([this, onShown] {
        if (!ended_) onShown(*this);
      });
    }
    CallAfter([this] {
      for (auto& [id, r] : records_) {
        if (r.kind == fw::ControlKind::ComboBox) FillChoice(id);
      }
    });
  });
  // The first enabled tab stop starts with the focus, as the dialog manager
  // does once the dialog is up (wxWidgets would pick its own).
  CallAfter([this] {
    for (auto& [c, w] : controls_) {
      if ((c->style & fw::kTabStop) != 0 && w->IsEnabled() && w->IsShown()) {
        w->SetFocus();
        break;
      }
    }
  });
  looping_ = true;
  ShowModal();
  looping_ = false;
}

void WxDialogWindow::Deliver(const fw::Message& message) {
  if (dialog_ == nullptr || ended_) return;
  dialog_->Dispatch(message);
}

const WxDialogWindow::ControlRecord* WxDialogWindow::Record(int id) const {
  auto it = records_.find(id);
  return it == records_.end() ? nullptr : &it->second;
}

WxDialogWindow::ControlRecord* WxDialogWindow::Record(int id) {
  auto it = records_.find(id);
  return it == records_.end() ? nullptr : &it->second;
}

LogList* WxDialogWindow::MessageList(int id) const {
  const ControlRecord* r = Record(id);
  return r != nullptr && r->kind == fw::ControlKind::ListBox ? static_cast<LogList*>(r->widget)
                                                             : nullptr;
}

wxChoice* WxDialogWindow::DropDown(int id) const {
  const ControlRecord* r = Record(id);
  return r != nullptr && r->kind == fw::ControlKind::ComboBox ? static_cast<wxChoice*>(r->widget)
                                                              : nullptr;
}

bool WxDialogWindow::FocusIsOnPushButton() const {
  const wxWindow* focus = FindFocus();
  for (const auto& [c, w] : controls_) {
    if (w == focus) {
      return c->kind == fw::ControlKind::PushButton || c->kind == fw::ControlKind::DefPushButton;
    }
  }
  return false;
}

wxWindow* WxDialogWindow::Control(int id) const {
  const ControlRecord* r = Record(id);
  return r != nullptr ? r->widget : nullptr;
}

bool WxDialogWindow::HasControl(int id) const { return Record(id) != nullptr; }

void WxDialogWindow::EnableControl(int id, bool enable) {
  if (wxWindow* w = Control(id)) w->Enable(enable);
}

bool WxDialogWindow::IsControlEnabled(int id) const {
  wxWindow* w = Control(id);
  return w != nullptr && w->IsThisEnabled();
}

void WxDialogWindow::SetText(int id, const std::string& text) {
  const ControlRecord* r = Record(id);
  if (r == nullptr) return;
  switch (r->kind) {
    case fw::ControlKind::Edit:
      static_cast<wxTextCtrl*>(r->widget)->ChangeValue(ToWx(text));
      break;
    case fw::ControlKind::ComboBox:
    case fw::ControlKind::ListBox:
      // A list has no text of its own to set.
      break;
    default:
      r->widget->SetLabel(ToWx(text));
      break;
  }
}

std::string WxDialogWindow::GetText(int id) const {
  const ControlRecord* r = Record(id);
  if (r == nullptr) return {};
  if (r->kind == fw::ControlKind::Edit) {
    return FromWx(static_cast<wxTextCtrl*>(r->widget)->GetValue());
  }
  // A list's text is its selected entry, as the program gave it.
  if (r->model != nullptr) return std::string(r->model->Text(GetCurSel(id)));
  return FromWx(r->widget->GetLabel());
}

void WxDialogWindow::SetCheck(int id, int state) {
  const ControlRecord* r = Record(id);
  if (r == nullptr) return;
  if (r->kind == fw::ControlKind::CheckBox) {
    static_cast<wxCheckBox*>(r->widget)->SetValue(state != 0);
  } else if (r->kind == fw::ControlKind::Radio && state != 0) {
    // A radio button in a group is cleared by checking another one.
    static_cast<wxRadioButton*>(r->widget)->SetValue(true);
  }
}

int WxDialogWindow::GetCheck(int id) const {
  const ControlRecord* r = Record(id);
  if (r == nullptr) return 0;
  if (r->kind == fw::ControlKind::CheckBox) {
    return static_cast<wxCheckBox*>(r->widget)->GetValue() ? 1 : 0;
  }
  if (r->kind == fw::ControlKind::Radio) {
    return static_cast<wxRadioButton*>(r->widget)->GetValue() ? 1 : 0;
  }
  return 0;
}

fw::ListModel* WxDialogWindow::Model(int id) {
  ControlRecord* r = Record(id);
  return r != nullptr ? r->model : nullptr;
}

const fw::ListModel* WxDialogWindow::Model(int id) const {
  const ControlRecord* r = Record(id);
  return r != nullptr ? r->model : nullptr;
}

int WxDialogWindow::AddString(int id, const std::string& text) {
  if (LogList* list = MessageList(id)) return list->Append(text);
  fw::ListModel* model = Model(id);
  if (model == nullptr) return -1;
  const int index = model->Add(text);
  if (index >= 0 && !fillLater_) FillChoice(id);
  return index;
}

void WxDialogWindow::FillChoice(int id, int count) {
  wxChoice* choice = DropDown(id);
  if (choice == nullptr) return;
  const fw::ListModel& model = *Model(id);
  const int wanted = count < 0 ? model.Count() : std::min(count, model.Count());
  if (static_cast<int>(choice->GetCount()) >= wanted) return;
  wxArrayString texts;
  for (int i = static_cast<int>(choice->GetCount()); i < wanted; ++i) {
    texts.Add(ToWxEntry(model.Text(i)));
  }
  choice->Append(texts);
}

int WxDialogWindow::GetCount(int id) const {
  const fw::ListModel* model = Model(id);
  return model != nullptr ? model->Count() : -1;
}

int WxDialogWindow::GetCurSel(int id) const {
  if (const LogList* list = MessageList(id)) return list->CaretLine();
  // A drop-down's selection is the control's own: the user changes it.
  if (const wxChoice* choice = DropDown(id)) return choice->GetSelection();
  return -1;
}

int WxDialogWindow::SetCurSel(int id, int index) {
  fw::ListModel* model = Model(id);
  if (model == nullptr) return -1;
  const int selected = model->Select(index);
  if (LogList* list = MessageList(id)) {
    list->SetCaretLine(selected);
  } else {
    FillChoice(id, selected + 1);
    DropDown(id)->SetSelection(selected < 0 ? wxNOT_FOUND : selected);
  }
  return selected;
}

int WxDialogWindow::SetItemData(int id, int index, uintptr_t data) {
  fw::ListModel* model = Model(id);
  return model != nullptr ? model->SetData(index, data) : -1;
}

uintptr_t WxDialogWindow::GetItemData(int id, int index) const {
  const fw::ListModel* model = Model(id);
  return model != nullptr ? model->Data(index) : 0;
}

std::string WxDialogWindow::GetItemText(int id, int index) const {
  const fw::ListModel* model = Model(id);
  return model != nullptr ? std::string(model->Text(index)) : std::string();
}

void WxDialogWindow::ResetContent(int id) {
  if (LogList* list = MessageList(id)) {
    list->RemoveAll();
  } else if (wxChoice* choice = DropDown(id)) {
    Model(id)->Clear();
    choice->Clear();
  }
}

int WxDialogWindow::SetTopIndex(int id, int index) {
  if (LogList* list = MessageList(id)) return list->ScrollToLine(index) ? 0 : -1;
  // A closed drop-down shows no rows to scroll; the index is only checked.
  fw::ListModel* model = Model(id);
  return model != nullptr ? model->SetTop(index) : -1;
}

void WxDialogWindow::SetFocus(int id) {
  if (wxWindow* w = Control(id)) w->SetFocus();
}

bool WxDialogWindow::AppendSystemMenu(unsigned command, const std::string& text) {
  if (!hasSystemMenu_) return false;
  systemMenu_.emplace_back(command, text);
#ifdef __WXMSW__
  // Windows has the real thing: the entry goes after a separator at the end
  // of the window's system menu, and choosing it sends the command.
  if (wxMenu* menu = MSWGetSystemMenu()) {
    menu->AppendSeparator();
    menu->Append(static_cast<int>(command), ToWx(text));
    Bind(
        wxEVT_MENU, [this, command](wxCommandEvent&) { SysCommand(command); },
        static_cast<int>(command));
  }
#endif
  return true;
}

void WxDialogWindow::SetIcon(fw::IconHandle icon, bool) {
  // wxWidgets takes every size at once and picks the big and the small one
  // itself; the second call for the same icon changes nothing, and decoding
  // every size again would only slow the start-up.
  if (icon == iconShown_) return;
  iconShown_ = icon;
  const wxIconBundle bundle = IconBundle(icon);
  if (!bundle.IsEmpty()) SetIcons(bundle);
}

bool WxDialogWindow::IsIconic() const { return IsIconized(); }

void WxDialogWindow::PaintIconic(fw::IconHandle icon) {
  if (paintDc_ == nullptr) return;
  const int size = wxSystemSettings::GetMetric(wxSYS_ICON_X, this);
  const wxBitmap bitmap = IconBitmap(icon, size > 0 ? size : 32);
  if (!bitmap.IsOk()) return;
  const wxSize client = GetClientSize();
  const fw::Point at =
      fw::CenteredIconOrigin(client.x, client.y, bitmap.GetWidth(), bitmap.GetHeight());
  paintDc_->DrawBitmap(bitmap, at.x, at.y, true);
}

int WxDialogWindow::MessageBox(const std::string& text, const std::string& caption,
                               fw::BoxIcon icon) {
  return WxHost::ShowMessageBox(this, text, caption, icon);
}

std::optional<std::string> WxDialogWindow::FileDialog(const fw::FileDialogRequest& request) {
#ifdef __WXMSW__
  const bool starDotStarMatchesAll = true;
#else
  const bool starDotStarMatchesAll = false;
#endif
  wxFileDialog dialog(this, request.save ? wxString("Save As") : wxString("Open"),
                      ToWx(request.initialDir), ToWx(request.defaultName),
                      ToWx(Wildcard(request.filter, starDotStarMatchesAll)),
                      request.save ? wxFD_SAVE : wxFD_OPEN);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  wxString chosen = dialog.GetPath();
  // Some ports only fill in the path once their native dialog has run; the
  // folder and name are there either way.
  if (chosen.empty() && !dialog.GetFilename().empty()) {
    chosen = wxFileName(dialog.GetDirectory(), dialog.GetFilename()).GetFullPath();
  }
  const std::string path = FromWx(chosen);
  if (path.empty()) return std::nullopt;
  return fw::WithDefaultExtension(path, request.defaultExt);
}

uintptr_t WxDialogWindow::SetTimer(uintptr_t id, unsigned milliseconds) {
  std::unique_ptr<wxTimer>& timer = timers_[id];
  if (!timer) {
    timer = std::make_unique<CallbackTimer>([this, id] { Deliver(fw::TimerMessage(id)); });
  }
  // Starting a running timer again restarts it with the new period.
  timer->Start(static_cast<int>(milliseconds));
  return id;
}

bool WxDialogWindow::KillTimer(uintptr_t id) {
  auto it = timers_.find(id);
  if (it == timers_.end() || !it->second->IsRunning()) return false;
  // Only stopped: the handler that kills a timer may be running inside that
  // very timer's notification.
  it->second->Stop();
  return true;
}

void WxDialogWindow::EndDialog(int result) {
  if (ended_) return;
  ended_ = true;
  result_ = result;
  for (auto& [id, timer] : timers_) timer->Stop();
  if (onEnded) onEnded();
  if (looping_) EndModal(result == fw::kIdOk ? wxID_OK : wxID_CANCEL);
}

int WxDialogWindow::RunModal(fw::Dialog& child) { return host_.RunWindow(child, this); }

void WxDialogWindow::SysCommand(unsigned command) {
  Deliver(fw::SysCommandMessage(command));
  // What the window system itself does with the command once the dialog has
  // let it through (the dialog's default handling takes care of Close).
  if ((command & 0xFFF0u) == kScMinimize && !ended_) Iconize(true);
}

void WxDialogWindow::ShowWindowMenu(const wxPoint& at) {
  if (!hasSystemMenu_) return;
  wxMenu menu;
  std::vector<unsigned> commands;
  auto add = [&](unsigned command, const wxString& text) {
    const int item = wxID_HIGHEST + 1 + static_cast<int>(commands.size());
    commands.push_back(command);
    menu.Append(item, text);
  };
  if (dialog_ != nullptr && (dialog_->Template().style & fw::kDlgMinimizeBox)) {
    add(kScMinimize, "Mi&nimize");
  }
  add(fw::kScClose, "&Close\tAlt+F4");
  for (const auto& [command, text] : systemMenu_) {
    menu.AppendSeparator();
    add(command, ToWx(text));
  }
  const int chosen = GetPopupMenuSelectionFromUser(menu, at);
  const int index = chosen - (wxID_HIGHEST + 1);
  if (chosen == wxID_NONE || index < 0 || index >= static_cast<int>(commands.size())) return;
  SysCommand(commands[static_cast<size_t>(index)]);
}

void WxDialogWindow::OnContextMenu(wxContextMenuEvent& event) {
  const wxPoint screen = event.GetPosition();
  ShowWindowMenu(screen == wxDefaultPosition ? wxPoint(0, 0) : ScreenToClient(screen));
}

void WxDialogWindow::OnCharHook(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  const int mods = event.GetModifiers();
  if (key == WXK_ESCAPE && mods == wxMOD_NONE) {
    Deliver(fw::KeyCommand(fw::DialogKey::Escape));
    return;
  }
  if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && mods == wxMOD_NONE) {
    // A push button with the focus takes Enter as its own click; anywhere
    // else Enter is the dialog's OK command.
    if (FocusIsOnPushButton()) {
      event.Skip();
      return;
    }
    Deliver(fw::KeyCommand(fw::DialogKey::Enter));
    return;
  }
  // The window menu from the keyboard: where Windows has Alt+Space, GTK
  // offers Shift+F10 and the menu key; F1 goes straight to the About entry.
  if ((key == WXK_F10 && mods == wxMOD_SHIFT) || key == WXK_WINDOWS_MENU ||
      (key == WXK_SPACE && mods == wxMOD_ALT)) {
    ShowWindowMenu(wxPoint(0, 0));
    return;
  }
  if (key == WXK_F1 && mods == wxMOD_NONE) {
    if (const std::optional<unsigned> about = fw::AboutMenuCommand(systemMenu_)) {
      SysCommand(*about);
      return;
    }
  }
  event.Skip();
}

void WxDialogWindow::OnCloseWindow(wxCloseEvent& event) {
  // The dialog decides: its close handling ends it or keeps it open. The
  // default wxWidgets handling (a Cancel click) is not wanted.
  if (!ended_) Deliver(fw::MessageOf(fw::MessageKind::Close));
  if (!ended_) {
    if (event.CanVeto()) {
      event.Veto();
    } else {
      EndDialog(fw::kIdCancel);
    }
  }
}

void WxDialogWindow::OnPaintWindow(wxPaintEvent&) {
  wxPaintDC dc(this);
  painted_ = true;
  paintDc_ = &dc;
  Deliver(fw::MessageOf(fw::MessageKind::Paint));
  paintDc_ = nullptr;
}

}  // namespace wxhost

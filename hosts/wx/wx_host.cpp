#include "hosts/wx/wx_host.h"

#include <wx/app.h>
#include <wx/msgdlg.h>

#include <memory>
#include <utility>

#include "framework/dialog.h"
#include "framework/dialog_life.h"
#include "hosts/wx/warm_up.h"
#include "hosts/wx/wx_text.h"
#include "hosts/wx/wx_window.h"

namespace wxhost {

WxHost::WxHost(Options options) : options_(std::move(options)) {
  auto queue = std::make_shared<std::weak_ptr<fw::PostQueue>>();
  posts_ = std::make_shared<fw::PostQueue>([queue] {
    // QueueEvent takes wxWidgets' own short lock; it never waits for the
    // user-interface thread to get round to the work.
    if (wxAppConsole* app = wxAppConsole::GetInstance()) {
      app->CallAfter([weak = *queue] {
        if (std::shared_ptr<fw::PostQueue> q = weak.lock()) q->Drain();
      });
    }
  });
  *queue = posts_;
  StartToolkitWarmUp();
}

WxHost::~WxHost() {
  posts_->Close();
  FinishToolkitWarmUp();
}

int WxHost::RunModal(fw::Dialog& dialog) {
  if (!open_.empty()) return RunWindow(dialog, open_.back());
  SetAccepting(true);
  struct Ending {
    WxHost& host;
    ~Ending() {
      host.SetAccepting(false);
      // The program ends after its main dialog; not with the warm-up still
      // inside pango or gdk-pixbuf.
      FinishToolkitWarmUp();
    }
  } ending{*this};
  return RunWindow(dialog, nullptr);
}

int WxHost::RunWindow(fw::Dialog& dialog, wxWindow* owner) {
  // A modal dialog lives on the stack for the length of its loop.
  WxDialogWindow window(owner, dialog, *this);
  open_.push_back(&window);
  if (owner == nullptr) window.onEnded = [this] { SetAccepting(false); };
  struct Closing {
    WxHost& host;
    WxDialogWindow& window;
    ~Closing() {
      window.Detach();
      host.open_.pop_back();
    }
  } closing{*this, window};
  return fw::RunDialog(dialog, window,
                       [&] { window.RunLoop(owner == nullptr ? options_.onMainShown : nullptr); });
}

int WxHost::ShowMessageBox(wxWindow* owner, const std::string& text, const std::string& caption,
                           fw::BoxIcon icon) {
  long style = wxOK | wxCENTRE;
  switch (icon) {
    case fw::BoxIcon::Stop:
      style |= wxICON_ERROR;
      break;
    case fw::BoxIcon::Warning:
      style |= wxICON_WARNING;
      break;
    case fw::BoxIcon::Information:
      style |= wxICON_INFORMATION;
      break;
    case fw::BoxIcon::None:
      style |= wxICON_NONE;
      break;
  }
  wxMessageDialog box(owner, ToWx(text), ToWx(caption), style);
  box.ShowModal();
  // The only button is OK; closing the box any other way also means OK.
  return fw::kIdOk;
}

int WxHost::MessageBox(const std::string& text, const std::string& caption, fw::BoxIcon icon) {
  return ShowMessageBox(nullptr, text, caption, icon);
}

void WxHost::Post(std::function<void()> work) { posts_->Post(std::move(work)); }

void WxHost::SetAccepting(bool accepting) {
  if (accepting) {
    posts_->Open();
  } else {
    posts_->Close();
  }
}

}  // namespace wxhost

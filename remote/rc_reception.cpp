#include "remote/rc_reception.h"

#include <atomic>
#include <utility>

#include "remote/rc_line.h"
#include "tuner/ui_port.h"

namespace {

// The library's remote-control callbacks carry no context argument, so the
// reception they queue to is found here: the one the program's dialog owns.
std::atomic<RcReception*> g_rcReception{nullptr};

void Deliver(const std::string& line) {
  if (RcReception* reception = g_rcReception.load(std::memory_order_acquire)) {
    reception->Deliver(line);
  }
}

}  // namespace

void QV_CALLBACK RcRawCallback(const void* data, uint32_t count) {
  Deliver(RcRawLine(static_cast<const uint8_t*>(data), count));
}

void QV_CALLBACK Rc5Callback(const void* code, uint32_t kind) { Deliver(Rc5Line(code, kind)); }

void QV_CALLBACK Rc6Callback(const void* code, uint32_t kind) { Deliver(Rc6Line(code, kind)); }

RcReception::RcReception(UiPort& ui, std::function<void()> serve)
    : ui_(ui), serve_(std::move(serve)) {
  g_rcReception.store(this, std::memory_order_release);
}

RcReception::~RcReception() {
  RcReception* self = this;
  g_rcReception.compare_exchange_strong(self, nullptr);
}

void RcReception::Accept(bool accept) {
  std::lock_guard lock(mutex_);
  accepting_ = accept;
}

void RcReception::Deliver(const std::string& line) {
  bool post = false;
  {
    std::lock_guard lock(mutex_);
    if (!accepting_) return;
    queue_.append(line);
    queue_.push_back('\n');
    post = !postPending_;
    postPending_ = true;
  }
  if (post) ui_.Post(serve_);
}

const std::string& RcReception::TakeLines() {
  batch_.clear();
  {
    std::lock_guard lock(mutex_);
    batch_.swap(queue_);
    postPending_ = false;
  }
  return batch_;
}

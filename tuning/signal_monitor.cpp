// The signal timer: every poll goes to the group and the signal history.
#include <utility>

#include "app/quorvex_demo_dlg.h"
#include "framework/message.h"
#include "tuning/signal_poll.h"
#include "tuning/signal_recorder.h"

void CQuorvexDemoDlg::OnTimer(uintptr_t id) {
  // A poll between a sweep's tune and its reading would mix two callers'
  // calls on one device; the sweep reads the signal itself meanwhile.
  if ((id == kSignalTimerId || m_signalHistory.IsFastTick(id)) && !m_sweep.Running()) {
    // The two groups are independent: neither gates the other. A fast sample
    // only feeds the history; the group keeps its two-second pace.
    SignalSample sample;
    PollSignal(m_ui, sample, id == kSignalTimerId);
    sample.stream = m_capture.TakeInterval();
    m_signalHistory.Record(std::move(sample));
  }
  fw::Message m;
  m.kind = fw::MessageKind::Timer;
  m.timerId = id;
  DefaultHandling(m);
}

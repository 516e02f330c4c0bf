// Recording the packets of one PID to a file the user chooses: the fields of
// the "Filter" group, the library's filter and the capture session it feeds.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "capture/capture_session.h"
#include "tuner/filter_user.h"
#include "tuner/library_filter.h"
#include "tuning/signal_history.h"

class UiPort;

class CaptureControl final : public FilterUser {
 public:
  explicit CaptureControl(UiPort& ui);

  // Bound to the group's controls by the dialog's data exchange.
  int32_t m_bFilterEnable = 0;
  uint32_t m_nPid = 8192;
  // What the library's buffers go to (its m_strFilterInfo is the status text).
  CaptureSession session;

  /* The library's filter: -1 for none; held while no capture runs, it belongs to a
     filter whose deletion failed. */
  const LibraryFilter& Filter() const { return filter_; }
  /* Whether the user's capture runs. */
  bool Running() const override { return filter_.Running(); }

  /* Starts a capture of m_nPid into a file of the user's choice; unticks the box
     (m_bFilterEnable) when it does not start. */
  void Start();
  /* Stops the capture, closes the file and shows the final total. */
  void Stop() override;
  /* The window closes: a running filter is deleted without a word, an orphan with its
     outcome logged. */
  void Close() override;
  /* While a capture runs: what it delivered since the last call (or since it started),
     for the signal sample being taken; nothing while none runs. */
  std::optional<StreamInterval> TakeInterval();
  int EnableBox() const override;
  unsigned SettleMs() const override;

 private:
  UiPort& ui_;
  LibraryFilter filter_{{"DelFilter() success."}};
  // Where the last interval ended.
  TsHealthTotals taken_;
  std::chrono::steady_clock::time_point takenAt_;
};

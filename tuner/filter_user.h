// A subsystem that runs on a filter of the library's (remote-control
// reception, PID capture): what switching the device and closing the window
// do with it, the same for each.
#pragma once

class FilterUser {
 public:
  virtual ~FilterUser() = default;
  /* Whether the user's reception or capture runs. */
  virtual bool Running() const = 0;
  /* Stops it with its usual lines, as unticking its box does. */
  virtual void Stop() = 0;
  /* The window closes: a running filter is deleted without a word, an orphan with its
     outcome logged. */
  virtual void Close() = 0;
  /* The "Enable" box that starts and stops it. */
  virtual int EnableBox() const = 0;
  /* How long the library is given to settle after a stop, before the device changes
     under it. */
  virtual unsigned SettleMs() const = 0;
};

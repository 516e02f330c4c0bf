// The life of one filter the library hands out (SetFilter, SetRemoteControl).
// Its number is -1 while there is none. A filter whose DelFilter failed is
// kept (an orphan: it may still deliver) and deleted again before the next
// registration and when the window closes. A registration the library
// refused leaves the number as it was, whatever the library wrote there.
// What was queued when DelFilter returned is served before the outcome is
// logged.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class UiPort;

class LibraryFilter {
 public:
  // Runs once DelFilter returned, with whether the filter is gone.
  using Returned = std::function<void(bool deleted)>;

  // `deletedLines`: what a successful deletion logs ("DelFilter() success."
  // and the like); a failed one logs "DelFilter() failed !".
  explicit LibraryFilter(std::vector<std::string> deletedLines);

  /* The library's number, -1 for none. */
  int32_t Number() const { return number_; }
  /* Whether the library holds a filter of ours, running or orphaned. */
  bool Held() const { return number_ != -1; }
  /* Whether the user's reception or capture runs on it. */
  bool Running() const { return running_; }

  /* Registers through `add`, which passes on where the library writes the number; true
     when the library took it. */
  bool Register(const std::function<bool(int32_t* number)>& add);
  /* Deletes the filter and logs the outcome; one that could not be deleted stays as an
     orphan. True when it is gone. */
  bool Delete(UiPort& ui, const Returned& returned = {});
  /* Before a registration: an orphan is deleted first, its outcome logged; false while
     it stays. */
  bool ClearOrphan(UiPort& ui, const Returned& returned = {});
  /* When the window closes: a running filter is deleted without a word, an orphan as
     ClearOrphan deletes it. */
  void Close(UiPort& ui, const Returned& returned = {});

 private:
  std::vector<std::string> deletedLines_;
  int32_t number_ = -1;
  bool running_ = false;
};

#include "tuner/library_filter.h"

#include <utility>

#include "tuner/tuner_api.h"
#include "tuner/ui_port.h"

LibraryFilter::LibraryFilter(std::vector<std::string> deletedLines)
    : deletedLines_(std::move(deletedLines)) {}

bool LibraryFilter::Register(const std::function<bool(int32_t*)>& add) {
  // The library writes the number only on success; a refusal keeps what was
  // there, so closing never deletes a number it did not hand out.
  const int32_t previous = number_;
  running_ = add(&number_);
  if (!running_) number_ = previous;
  return running_;
}

bool LibraryFilter::Delete(UiPort& ui, const Returned& returned) {
  running_ = false;
  const bool deleted = TunerApi.DelFilter(number_) != 0;
  if (deleted) number_ = -1;
  if (returned) returned(deleted);
  if (!deleted) {
    ui.Log("DelFilter() failed !");
    return false;
  }
  for (const std::string& line : deletedLines_) ui.Log(line);
  return true;
}

bool LibraryFilter::ClearOrphan(UiPort& ui, const Returned& returned) {
  return !Held() || Delete(ui, returned);
}

void LibraryFilter::Close(UiPort& ui, const Returned& returned) {
  if (!running_) {
    ClearOrphan(ui, returned);
    return;
  }
  running_ = false;
  const bool deleted = TunerApi.DelFilter(number_) != 0;
  if (deleted) number_ = -1;
  if (returned) returned(deleted);
}

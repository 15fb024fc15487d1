#pragma once
// A modal window opened in the middle of a run (the preview, a message box) is used with the
// normal cursor: the busy one is taken off while it lives and put back when it closes.
#include <QCursor>
#include <vector>

namespace qavi {

class TCursorNormal {
 public:
  TCursorNormal();
  ~TCursorNormal();
  TCursorNormal(const TCursorNormal&) = delete;
  TCursorNormal& operator=(const TCursorNormal&) = delete;

 private:
  std::vector<QCursor> quitados_;  // the application's cursor stack, top first
};

}  // namespace qavi

#include "report/render/CursorNormal.h"

#include <QGuiApplication>

namespace qavi {

TCursorNormal::TCursorNormal() {
  while (const QCursor* c = QGuiApplication::overrideCursor()) {
    quitados_.push_back(*c);
    QGuiApplication::restoreOverrideCursor();
  }
}

TCursorNormal::~TCursorNormal() {
  for (auto it = quitados_.rbegin(); it != quitados_.rend(); ++it) QGuiApplication::setOverrideCursor(*it);
}

}  // namespace qavi

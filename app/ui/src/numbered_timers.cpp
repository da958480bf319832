#include "numbered_timers.h"

#include <QTimerEvent>
#include <algorithm>

namespace chromiva::ui {

NumberedTimers::~NumberedTimers() {
  for (auto& entry : timers_) entry.second.stop();
}

void NumberedTimers::Arm(int timer, int milliseconds) {
  timers_[timer].start(std::max(milliseconds, 0), Qt::PreciseTimer, this);
}

void NumberedTimers::Kill(int timer) {
  auto found = timers_.find(timer);
  if (found != timers_.end()) found->second.stop();
}

void NumberedTimers::timerEvent(QTimerEvent* event) {
  for (auto& [number, timer] : timers_) {
    if (timer.timerId() != event->timerId()) continue;
    timer.stop();
    if (target_) target_(number);
    return;
  }
  QObject::timerEvent(event);
}

}  // namespace chromiva::ui

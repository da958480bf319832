// Numbered one-shot window timers, for the form and the dialogs alike: arming a number again
// restarts it, its event goes to the target with the number and stops it.
#pragma once

#include <QBasicTimer>
#include <QObject>
#include <functional>
#include <map>

namespace chromiva::ui {

class NumberedTimers : public QObject {
  Q_OBJECT

 public:
  explicit NumberedTimers(QObject* parent = nullptr) : QObject(parent) {}
  ~NumberedTimers() override;

  void Arm(int timer, int milliseconds);
  void Kill(int timer);
  // Where a timer's event goes (its number); an empty target drops the events.
  void SetTarget(std::function<void(int)> target) { target_ = std::move(target); }

 protected:
  void timerEvent(QTimerEvent* event) override;

 private:
  std::map<int, QBasicTimer> timers_;
  std::function<void(int)> target_;
};

}  // namespace chromiva::ui

// The demonstration run: detects the instruments, measures once, saves a picture of the window
// when asked to and, in that case, ends the program.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

namespace chromiva::ui {

class CMainFrame;

class DemoRun : public QObject {
  Q_OBJECT

 public:
  // With a screenshot path the run saves the window there and closes it.
  DemoRun(CMainFrame& frame, QString screenshot);
  void Start();
  // 0 when every step was done.
  int Status() const { return status_; }

 private:
  void WaitFor(std::function<bool()> condition, std::function<void()> next, const char* step);
  void Click(int id);
  void Finish();
  void Fail(const char* step);

  CMainFrame& frame_;
  QString screenshot_;
  QTimer poll_;
  int waitedMs_ = 0;
  int status_ = 0;
};

}  // namespace chromiva::ui

#include "demo_run.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QPixmap>
#include <cstdio>

#include "chromiva/acquisition/control_ids.h"
#include "form_view.h"
#include "main_frame.h"

namespace chromiva::ui {
namespace {

namespace control = acquisition::control;
constexpr int kPollMs = 50;
constexpr int kLongestWaitMs = 30000;

}  // namespace

DemoRun::DemoRun(CMainFrame& frame, QString screenshot)
    : frame_(frame), screenshot_(std::move(screenshot)) {}

void DemoRun::Start() {
  Ctintrose_mfView* view = frame_.view();
  view->SetDialogAnswers(
      [](const std::string& question) {
        std::fprintf(stderr, "%s -> OK\n", question.c_str());
        return true;
      },
      [](const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); });
  const FormBinding& binding = view->binding();
  QTimer::singleShot(300, this, [this, &binding] {
    Click(control::kDetect);
    WaitFor([&binding] { return binding.fields().detected; },
            [this, &binding] {
              Click(control::kOneShot);
              WaitFor(
                  [this, &binding] {
                    return !binding.fields().measuring && !binding.AcquisitionBusy() &&
                           frame_.document().recordCount[0] > 0;
                  },
                  [this] { QTimer::singleShot(300, this, [this] { Finish(); }); }, "measure");
            },
            "detect");
  });
}

void DemoRun::Click(int id) {
  if (auto* button = qobject_cast<QAbstractButton*>(frame_.view()->Control(id))) button->click();
}

void DemoRun::WaitFor(std::function<bool()> condition, std::function<void()> next,
                      const char* step) {
  waitedMs_ = 0;
  poll_.disconnect();
  connect(&poll_, &QTimer::timeout, this, [this, condition, next, step] {
    waitedMs_ += kPollMs;
    if (condition()) {
      poll_.stop();
      next();
    } else if (waitedMs_ > kLongestWaitMs) {
      poll_.stop();
      Fail(step);
    }
  });
  poll_.start(kPollMs);
}

void DemoRun::Fail(const char* step) {
  std::fprintf(stderr, "demo: the step '%s' did not finish\n", step);
  status_ = 1;
  Finish();
}

void DemoRun::Finish() {
  if (screenshot_.isEmpty()) return;
  if (!frame_.grab().save(screenshot_)) {
    std::fprintf(stderr, "demo: cannot write %s\n", qPrintable(screenshot_));
    status_ = 1;
  } else {
    std::printf("window picture: %s\n", qPrintable(QFileInfo(screenshot_).absoluteFilePath()));
  }
  frame_.SetSaveQuestion([](const QString&) { return CMainFrame::SaveAnswer::kDiscard; });
  frame_.close();
  QApplication::quit();
}

}  // namespace chromiva::ui

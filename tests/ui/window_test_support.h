// Driving the window's modal dialogs from a test: the form runs them with exec(), so the test
// acts on them from the event loop once they are shown.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

namespace chromiva::ui::testing {

// Runs `act` on the next modal dialog as soon as it is shown; a dialog that `act` leaves open
// (also after a failed check) is then closed as by its close box. The wait ends with the
// returned timer, so a dialog that never opened cannot take over a later one.
[[nodiscard]] inline std::unique_ptr<QTimer> WhenModal(std::function<void(QDialog&)> act) {
  auto poll = std::make_unique<QTimer>();
  poll->setInterval(10);
  QObject::connect(poll.get(), &QTimer::timeout, [timer = poll.get(), act = std::move(act)] {
    QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    timer->stop();
    act(*dialog);
    if (dialog != nullptr && dialog->isVisible()) dialog->reject();
  });
  poll->start();
  return poll;
}

// The widget of control `id` of a dialog or the form.
template <typename Widget = QWidget>
Widget* Find(const QWidget& parent, int id) {
  return parent.findChild<Widget*>(QStringLiteral("c%1").arg(id));
}

// Clicks an enabled button of a dialog; false when it is missing or disabled.
inline bool ClickIn(const QWidget& parent, int id) {
  auto* button = Find<QAbstractButton>(parent, id);
  if (button == nullptr || !button->isEnabled()) return false;
  QTest::mouseClick(button, Qt::LeftButton);
  return true;
}

// Saves `window` with `dialog` drawn where it is shown over it, into the build folder.
inline bool SaveScreenshot(QWidget& window, const char* name, QWidget* dialog = nullptr) {
  QPixmap picture = window.grab();
  if (dialog != nullptr) {
    QPainter painter(&picture);
    painter.drawPixmap(dialog->mapToGlobal(QPoint(0, 0)) - window.mapToGlobal(QPoint(0, 0)),
                       dialog->grab());
  }
  return picture.save(QStringLiteral(CHROMIVA_SCREENSHOT_DIR "/") + QString::fromLatin1(name));
}

}  // namespace chromiva::ui::testing

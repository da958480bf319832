#include "lock_indicators.h"

#include <dlfcn.h>

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace chromiva::ui {
namespace {

constexpr int kLockPollMs = 250;

#if QT_CONFIG(xcb)
using Atom = unsigned long;
using InternAtom = Atom (*)(Display*, const char*, int);
using GetNamedIndicator = int (*)(Display*, Atom, int*, int*, void*, int*);

// The two XKB calls, from the X library already in the process (or loaded once).
struct XkbCalls {
  InternAtom internAtom = nullptr;
  GetNamedIndicator getNamedIndicator = nullptr;
  bool ok() const { return internAtom != nullptr && getNamedIndicator != nullptr; }
};

const XkbCalls& Calls() {
  static const XkbCalls calls = [] {
    XkbCalls found;
    void* library = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (library == nullptr) library = dlopen("libX11.so.6", RTLD_LAZY);
    if (library == nullptr) return found;
    found.internAtom = reinterpret_cast<InternAtom>(dlsym(library, "XInternAtom"));
    found.getNamedIndicator =
        reinterpret_cast<GetNamedIndicator>(dlsym(library, "XkbGetNamedIndicator"));
    return found;
  }();
  return calls;
}

// The indicator's state; false when the keyboard has no indicator of that name.
bool IndicatorOn(Display* display, const XkbCalls& calls, const char* name) {
  const Atom atom = calls.internAtom(display, name, 1);
  int on = 0;
  if (atom == 0 || !calls.getNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) {
    return false;
  }
  return on != 0;
}
#endif

}  // namespace

std::optional<LockStates> ReadLockStates() {
#if QT_CONFIG(xcb)
  auto* x11 =
      qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  Display* display = x11 == nullptr ? nullptr : x11->display();
  const XkbCalls& calls = Calls();
  if (display == nullptr || !calls.ok()) return std::nullopt;
  return LockStates{IndicatorOn(display, calls, "Caps Lock"),
                    IndicatorOn(display, calls, "Num Lock"),
                    IndicatorOn(display, calls, "Scroll Lock")};
#else
  return std::nullopt;
#endif
}

void AddLockIndicators(QWidget& window, QStatusBar& bar) {
  QLabel* panes[3] = {};
  int n = 0;
  for (const char* name : {"CAP", "NUM", "SCRL"}) {
    auto* pane = new QLabel(QString::fromLatin1(name), &bar);
    pane->setObjectName(QStringLiteral("indicator%1").arg(QString::fromLatin1(name)));
    pane->setEnabled(false);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar.addPermanentWidget(pane);
    panes[n++] = pane;
  }
  auto* poll = new QTimer(&bar);
  QObject::connect(poll, &QTimer::timeout, &bar, [&window, panes, poll] {
    if (!window.isActiveWindow()) return;
    const std::optional<LockStates> states = ReadLockStates();
    if (!states) {
      poll->stop();  // not readable on this platform: the panes stay grey
      return;
    }
    const bool on[3] = {states->caps, states->num, states->scroll};
    for (int i = 0; i < 3; ++i) {
      if (panes[i]->isEnabled() != on[i]) panes[i]->setEnabled(on[i]);
    }
  });
  poll->start(kLockPollMs);
}

}  // namespace chromiva::ui

#include "dialogs/maintenance_dialog_widget.h"
#include "language.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimerEvent>
#include <QVBoxLayout>

namespace chromiva::ui {
namespace {

namespace ids = acquisition::dialogs::maintenance_ids;

constexpr QSize kTableListSize{860, 460};
// The least of the table list on a small screen; it scrolls to show the rest.
constexpr QSize kTableListSmallest{240, 160};
constexpr int kSerialListHeight = 150;
// Title bar and borders when the window manager's are not known yet.
constexpr QSize kAssumedDecoration{16, 48};

// Room for a dialog of `parent` on the screen it opens on, decoration taken off.
QSize RoomOnScreen(const QWidget* parent) {
  const QWidget* window = parent != nullptr ? parent->window() : nullptr;
  const QScreen* screen = window != nullptr ? window->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  QSize decoration = kAssumedDecoration;
  if (window != nullptr && window->isVisible() && window->frameGeometry() != window->geometry()) {
    decoration = window->frameGeometry().size() - window->geometry().size();
  }
  return screen->availableGeometry().size() - decoration;
}

}  // namespace

MaintenanceDialogWidget::MaintenanceDialogWidget(QWidget* parent,
                                                 acquisition::dialogs::MaintenanceDialog& dialog,
                                                 QtDialogTimers& timers)
    : ControlsDialog(parent, dialog.controls(), ids::kDialog, ids::kTitle),
      dialog_(dialog),
      timers_(timers) {
  buttonColumn_ = new QWidget(this);
  auto* buttons = new QVBoxLayout(buttonColumn_);
  buttons->setContentsMargins(0, 0, 0, 0);
  buttons->addWidget(AddButton(ids::kFile));
  QListWidget* serials = AddList(ids::kSerialList);
  serials->setFixedHeight(kSerialListHeight);
  buttons->addWidget(serials);
  for (int id : {ids::kSet, ids::kInitialise, ids::kDark, ids::kGain, ids::kWrite}) {
    buttons->addWidget(AddButton(id));
  }
  buttons->addStretch();

  auto* layout = new QGridLayout(this);
  layout->addWidget(BuildTableList(), 0, 0);
  layout->addWidget(buttonColumn_, 0, 1);
  Refresh();
  FitScreen(parent);
  timers_.SetTarget([this](int timer) { Handle([this, timer] { dialog_.OnTimer(timer); }); });
}

MaintenanceDialogWidget::~MaintenanceDialogWidget() {
  timers_.SetTarget({});
}

// The whole table list where the screen has room for it; on a smaller screen the dialog keeps
// its layout at the screen's size and the table list scrolls.
void MaintenanceDialogWidget::FitScreen(const QWidget* parent) {
  const QSize full = sizeHint();
  buttonColumn_->setFixedWidth(buttonColumn_->sizeHint().width());
  tableList_->setMinimumSize(kTableListSmallest);
  setFixedSize(full.boundedTo(RoomOnScreen(parent)));
}

// The column header over the wide table list; it scrolls sideways with the list.
QWidget* MaintenanceDialogWidget::BuildTableList() {
  auto* box = new QWidget(this);
  auto* headerStrip = new QWidget(box);
  auto* header = new QLabel(ShownText(ids::kColumnHeader), headerStrip);
  header->adjustSize();
  headerStrip->setFixedHeight(header->height());
  QListWidget* list = AddList(ids::kTableList);
  list->setParent(box);
  list->setSelectionMode(QAbstractItemView::NoSelection);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  list->setMinimumSize(kTableListSize);
  tableList_ = list;
  // The list draws its lines this far from its left edge.
  const int indent = list->frameWidth() +
                     list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
  header->move(indent, 0);
  list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  connect(list->horizontalScrollBar(), &QScrollBar::valueChanged, header,
          [header, indent](int value) { header->move(indent - value, 0); });
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  column->addWidget(headerStrip);
  column->addWidget(list);
  return box;
}

void MaintenanceDialogWidget::OnClicked(int id) {
  dialog_.Clicked(id);
}

void MaintenanceDialogWidget::OnSelected(int id, int index) {
  dialog_.Selected(id, index);
}

void RunMaintenanceDialog(QWidget* parent, acquisition::dialogs::MaintenanceDialog& dialog,
                          QtDialogTimers& timers) {
  MaintenanceDialogWidget widget(parent, dialog, timers);
  widget.exec();
}

}  // namespace chromiva::ui

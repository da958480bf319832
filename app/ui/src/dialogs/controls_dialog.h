// The Qt side shared by the modal dialogs: a QDialog whose widgets mirror a DialogControls table
// (object names "c<id>") and forward clicks, list choices and typed text by id. Every handler is
// followed by a refresh, so the widgets always show the table as the logic left it.
#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "chromiva/acquisition/dialogs/dialog_controls.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace chromiva::ui {

// Noto Sans Mono CJK JP 10 pt, the font of the form and its dialogs.
QFont DialogFont();

class ControlsDialog : public QDialog {
  Q_OBJECT

 public:
  ControlsDialog(QWidget* parent, acquisition::dialogs::DialogControls& controls, int dialogId,
                 const char* title);

  // The widget of control `id`, or nullptr.
  QWidget* Control(int id) const;
  // Brings the widgets in line with the control table.
  void Refresh();

 protected:
  // What the dialog's logic does with a click, a list choice or typed text.
  virtual void OnClicked(int id) = 0;
  virtual void OnSelected(int /*id*/, int /*index*/) {}
  virtual void OnEdited(int /*id*/, std::string /*text*/) {}

  // Runs a handler and refreshes the widgets after it.
  void Handle(const std::function<void()>& handler);

  // Widgets of control `id`, children of the dialog, wired to the handlers above.
  QPushButton* AddButton(int id);
  QAbstractButton* AddCheckBox(int id);
  QAbstractButton* AddRadio(int id);
  QLineEdit* AddEdit(int id);
  QPlainTextEdit* AddTextArea(int id);
  QListWidget* AddList(int id);
  QComboBox* AddDropDown(int id);
  QLabel* AddStatic(int id);
  // A label of the template without an id of its own.
  QLabel* AddLabel(const char* text);

 protected:
  // The title, the labels and the captions again in the window's new language.
  void changeEvent(QEvent* event) override;

 private:
  QWidget* Register(int id, QWidget* widget);
  QAbstractButton* WireBox(int id, QAbstractButton* box);
  void RefreshControl(const acquisition::ControlState& state, QWidget* widget);

  acquisition::dialogs::DialogControls& controls_;
  std::map<int, QWidget*> widgets_;
  std::string title_;
  std::vector<std::pair<QLabel*, std::string>> labels_;
  bool refreshing_ = false;
};

}  // namespace chromiva::ui

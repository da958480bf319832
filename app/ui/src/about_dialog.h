// The about box: icon, "Chromiva  Version 1.0", a line about the program and OK.
#pragma once

#include <QDialog>

namespace chromiva::ui {

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent);
};

}  // namespace chromiva::ui

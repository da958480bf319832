#include "about_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>

#include "program_icon.h"

namespace chromiva::ui {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dialog100"));
  setWindowTitle(tr("バージョン情報 chromiva"));
  setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 9));
  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("icon"));
  icon->setPixmap(ProgramIcon().pixmap(32, 32));
  auto* version = new QLabel(QStringLiteral("Chromiva  Version 1.0"), this);
  auto* line = new QLabel(tr("USB 分光器の計測・記録プログラム"), this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  layout->addWidget(version, 0, 1);
  layout->addWidget(line, 1, 1);
  layout->addWidget(buttons, 0, 2, 2, 1, Qt::AlignTop);
}

}  // namespace chromiva::ui

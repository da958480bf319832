#include "edit_num_dlg.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "language.h"

namespace chromiva::ui {

CEditNumDlg::CEditNumDlg(QWidget* parent)
    : QDialog(parent),
      label_(new QLabel(QStringLiteral("----------"), this)),
      edit_(new QLineEdit(this)) {
  setWindowTitle(ShownText(acquisition::kEditNumberCaption));
  setModal(true);
  // A window does not take its parent's font: the form's is set here.
  if (parent != nullptr) setFont(parent->font());
  label_->setObjectName(QStringLiteral("c1070"));
  edit_->setObjectName(QStringLiteral("c1069"));
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("c1"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QCoreApplication::translate("Window", "キャンセル"), this);
  cancel->setObjectName(QStringLiteral("c2"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* entry = new QHBoxLayout;
  entry->addWidget(label_);
  entry->addWidget(edit_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(entry);
  layout->addLayout(buttons);
}

int CEditNumDlg::exec() {
  label_->setText(ShownText(number.label));
  edit_->setText(QString::fromStdString(acquisition::EditNumberText(number.value)));
  edit_->selectAll();
  return QDialog::exec();
}

void CEditNumDlg::accept() {
  number.value = acquisition::ReadEditNumber(edit_->text().toStdString());
  QDialog::accept();
}

std::optional<std::string> CEditNumDlg::AskText(const std::string& label,
                                                const std::string& shown) {
  label_->setText(ShownText(label));
  edit_->setText(QString::fromStdString(shown));
  edit_->selectAll();
  if (QDialog::exec() != QDialog::Accepted) return std::nullopt;
  return edit_->text().toStdString();
}

std::optional<std::string> EnterNumberWithDialog(QWidget* parent, const std::string& label,
                                                 const std::string& shown) {
  CEditNumDlg dialog(parent);
  return dialog.AskText(label, shown);
}

}  // namespace chromiva::ui

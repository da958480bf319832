#include "journal_offer.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <ctime>

namespace chromiva::ui {
namespace {

std::string Question(const data::JournalInfo& journal) {
  char when[32] = "";
  std::tm local{};
  if (localtime_r(&journal.modified, &local) != nullptr) {
    std::strftime(when, sizeof when, "%Y/%m/%d %H:%M:%S", &local);
  }
  return QCoreApplication::translate("Window",
                                     "保存されずに終わった記録があります。\n%1 (%2 bytes, %3)\n"
                                     "記録を復元しますか? 破棄すると元に戻せません。")
      .arg(QString::fromStdString(journal.path.string()), QString::number(journal.bytes),
           QString::fromLatin1(when))
      .toStdString();
}

}  // namespace

JournalAnswer AskAboutJournal(QWidget* parent, const std::string& question) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("chromiva"),
                  QString::fromStdString(question), QMessageBox::NoButton, parent);
  QPushButton* recover =
      box.addButton(QCoreApplication::translate("Window", "復元"), QMessageBox::AcceptRole);
  QPushButton* discard =
      box.addButton(QCoreApplication::translate("Window", "破棄"), QMessageBox::DestructiveRole);
  box.addButton(QCoreApplication::translate("Window", "後で"), QMessageBox::RejectRole);
  box.setDefaultButton(recover);
  box.exec();
  if (box.clickedButton() == recover) return JournalAnswer::kRecover;
  if (box.clickedButton() == discard) return JournalAnswer::kDiscard;
  return JournalAnswer::kLater;
}

std::filesystem::path OfferJournalRecovery(data::Ctintrose_mfDoc& document,
                                           const std::filesystem::path& folder,
                                           const JournalQuestion& ask,
                                           const std::function<void(const std::string&)>& tell) {
  for (const data::JournalInfo& journal : data::ListJournals(folder)) {
    if (journal.inUse) continue;
    switch (ask(Question(journal))) {
      case JournalAnswer::kLater:
        continue;
      case JournalAnswer::kDiscard: {
        const data::DataFileResult discarded = data::DiscardJournal(journal.path);
        if (!discarded.ok()) tell(discarded.message);
        continue;
      }
      case JournalAnswer::kRecover: {
        const data::JournalRecovery recovery = data::RecoverJournal(journal.path, document);
        if (!recovery.result.ok()) {
          tell(journal.path.string() + ": " + recovery.result.message);
          continue;
        }
        document.modified = true;
        QString told =
            QCoreApplication::translate("Window", "%1 回分の記録を復元しました。保存してください。")
                .arg(recovery.passes);
        if (recovery.tornTail)
          told += QCoreApplication::translate("Window", "\n(途中で切れた最後の記録は除きました)");
        tell(told.toStdString());
        return journal.path;
      }
    }
  }
  return {};
}

}  // namespace chromiva::ui

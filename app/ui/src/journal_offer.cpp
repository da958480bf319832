#include "journal_offer.h"

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
  return "保存されずに終わった記録があります。\n" + journal.path.string() + " (" +
         std::to_string(journal.bytes) + " bytes, " + when +
         ")\n記録を復元しますか? 破棄すると元に戻せません。";
}

}  // namespace

JournalAnswer AskAboutJournal(QWidget* parent, const std::string& question) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("chromiva"),
                  QString::fromStdString(question), QMessageBox::NoButton, parent);
  QPushButton* recover = box.addButton(QStringLiteral("復元"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QStringLiteral("破棄"), QMessageBox::DestructiveRole);
  box.addButton(QStringLiteral("後で"), QMessageBox::RejectRole);
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
        tell(std::to_string(recovery.passes) + " 回分の記録を復元しました。保存してください。" +
             (recovery.tornTail ? "\n(途中で切れた最後の記録は除きました)" : ""));
        return journal.path;
      }
    }
  }
  return {};
}

}  // namespace chromiva::ui

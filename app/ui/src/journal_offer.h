// The start-up offer to take back the records of a recording that ended without a save: each
// unfinished journal is recovered into the document, discarded, or left for later.
#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>

#include "chromiva/data/document.h"
#include "chromiva/data/journal.h"

namespace chromiva::ui {

enum class JournalAnswer { kRecover, kDiscard, kLater };

// Asks about one journal: the question names its file, size and time.
using JournalQuestion = std::function<JournalAnswer(const std::string& question)>;
JournalAnswer AskAboutJournal(QWidget* parent, const std::string& question);

// Offers every unfinished journal in `folder` that no running recording holds. The first one
// recovered fills `document` (which must be empty) and is returned; the rest of the offer
// ends there. Returns an empty path when nothing was recovered. `tell` shows the outcome.
std::filesystem::path OfferJournalRecovery(data::Ctintrose_mfDoc& document,
                                           const std::filesystem::path& folder,
                                           const JournalQuestion& ask,
                                           const std::function<void(const std::string&)>& tell);

}  // namespace chromiva::ui

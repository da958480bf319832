// The main frame: caption "chromiva - <document>", menu, toolbar, status bar, the remembered
// placement, the document commands (new, open, save, save as, recent files, exit) and dropped
// files. Closing is refused while a measurement pass talks to the instruments.
#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "chromiva/acquisition/document_session.h"
#include "chromiva/acquisition/settings_store.h"
#include "chromiva/data/document.h"
#include "graph_view.h"
#include "journal_offer.h"
#include "language.h"

class QAction;
class QMenu;
class QToolBar;

namespace chromiva::ui {

class Ctintrose_mfView;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  CMainFrame(data::Ctintrose_mfDoc& document, acquisition::SettingsStore& store,
             bool maintenanceForThisRun);

  Ctintrose_mfView* view() const { return view_; }
  data::Ctintrose_mfDoc& document() { return document_; }

  // The document commands. Each one first offers to save a modified document and does
  // nothing when that is cancelled. They return true when done.
  bool NewDocument();
  // Offers the journals of recordings that ended without a save (at start-up, with an empty
  // document); `ask` answers instead of the question box (tests).
  void OfferJournalRecovery(const JournalQuestion& ask = {});
  // Opens `path`; a refused file is reported and the document stays as it was.
  bool OpenDocument(const QString& path);
  bool SaveDocument();
  // Saves under `path`, or under a chosen name when `path` is empty.
  bool SaveDocumentAs(const QString& path = {});
  // The document's file, absolute; empty while it is untitled.
  QString DocumentPath() const;
  std::vector<std::string> RecentFiles() const { return recentFiles_; }

  // Answers "save the changes?" instead of a message box (tests): Save, Discard or Cancel.
  enum class SaveAnswer { kSave, kDiscard, kCancel };
  void SetSaveQuestion(std::function<SaveAnswer(const QString&)> answer) {
    saveAnswer_ = std::move(answer);
  }

  // Writes the form's settings and the frame's restored rectangle (once).
  void WriteSettingsAtExit();

  // Shows the window in `language` at once and keeps it as the setting ([ui] language); false
  // (and said) when its catalogue cannot be loaded.
  bool SwitchLanguage(Language language);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  acquisition::DocumentSession& Session();
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusBar();
  void BuildLanguageMenu();
  void RememberMenuTexts();
  // Every text of the frame again in the window's language.
  void RetranslateUi();
  QString ShownTitle() const;
  void ShowRecentFiles();
  void ChooseAndOpen();
  void OpenRecentFile(int n);
  void UpdateCaption();
  void BuildComparisonMenu();
  void ShowMenuStates();
  void SaveGraphPicture(GraphPicture kind);
  // "Save the changes?" for a modified document: true after a save or a discard (which ends
  // the journal as a save does), false when cancelled or when the save failed.
  bool SaveModified();
  bool SaveTo(const QString& path);
  bool DocumentCommandsAllowed();
  void AddRecentFile(const QString& path);
  void AfterDocumentChange();

  data::Ctintrose_mfDoc& document_;
  acquisition::SettingsStore& store_;
  Ctintrose_mfView* view_;
  std::vector<std::string> recentFiles_;
  QMenu* fileMenu_ = nullptr;
  QMenu* viewMenu_ = nullptr;
  std::vector<QAction*> compareActions_;
  QAction* mirrorAction_ = nullptr;
  QAction* newAction_ = nullptr;
  QAction* openAction_ = nullptr;
  QAction* saveAction_ = nullptr;
  QAction* cutAction_ = nullptr;
  QAction* copyAction_ = nullptr;
  QAction* pasteAction_ = nullptr;
  QAction* printAction_ = nullptr;
  QAction* aboutAction_ = nullptr;
  std::vector<QAction*> recentActions_;
  QToolBar* toolBar_ = nullptr;
  std::vector<std::pair<QAction*, std::string>> menuTexts_;
  std::vector<std::pair<QAction*, Language>> languageActions_;
  std::function<SaveAnswer(const QString&)> saveAnswer_;
  bool settingsWritten_ = false;
};

}  // namespace chromiva::ui

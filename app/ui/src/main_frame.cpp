#include "main_frame.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "about_dialog.h"
#include "chromiva/acquisition/control_ids.h"
#include "form_view.h"
#include "language.h"
#include "lock_indicators.h"
#include "program_icon.h"
#include "settings.h"

namespace chromiva::ui {
namespace {

constexpr const char* kFileFilter = "chromiva Files (*.cvdata)";
constexpr int kBusyCloseShownMs = 5000;

QString Q(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

// What the window says when a save failed: why, and where the records went instead.
std::string SaveFailureText(const std::filesystem::path& path,
                            const acquisition::SaveOutcome& outcome,
                            const std::filesystem::path& journal) {
  QString text = Q(path) + QStringLiteral(": ") + QString::fromStdString(outcome.saved.message);
  for (const std::string& failure : outcome.recovery.failures)
    text += QStringLiteral("\n") + QString::fromStdString(failure);
  if (outcome.recovery.ok()) {
    text += QCoreApplication::translate("Window", "\n記録は次のファイルに保存しました: %1")
                .arg(Q(outcome.recovery.saved));
  } else if (journal.empty()) {
    text += QCoreApplication::translate("Window", "\n記録はどこにも保存できませんでした。");
  } else {
    text +=
        QCoreApplication::translate(
            "Window", "\n記録はどこにも保存できませんでした。記録は次のファイルに残っています: %1")
            .arg(Q(journal));
  }
  return text.toStdString();
}

// A source text of the menus, shown as it is until RetranslateUi() translates it.
QString Source(const char* text) {
  return QString::fromUtf8(text);
}

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback, const QStyle* style) {
  return QIcon::fromTheme(QString::fromLatin1(name), style->standardIcon(fallback));
}

// Where a window stored at `stored` is put: on the screen that shows most of it (the primary
// screen when none shows any, as after a screen was unplugged), no larger than that screen's
// available area and moved inside it, so that a damaged placement never asks for a huge window.
QRect OnSomeScreen(const QRect& stored) {
  const QScreen* chosen = QGuiApplication::primaryScreen();
  long long mostShown = 0;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect shown = screen->availableGeometry().intersected(stored);
    const long long area = static_cast<long long>(shown.width()) * shown.height();
    if (!shown.isEmpty() && area > mostShown) {
      mostShown = area;
      chosen = screen;
    }
  }
  if (chosen == nullptr) return stored;
  const QRect area = chosen->availableGeometry();
  QRect placed(stored.topLeft(), stored.size().boundedTo(area.size()));
  if (mostShown == 0) placed.moveTopLeft(area.topLeft());
  placed.moveLeft(std::clamp(placed.left(), area.left(), area.right() + 1 - placed.width()));
  placed.moveTop(std::clamp(placed.top(), area.top(), area.bottom() + 1 - placed.height()));
  return placed;
}

}  // namespace

CMainFrame::CMainFrame(data::Ctintrose_mfDoc& document, acquisition::SettingsStore& store,
                       bool maintenanceForThisRun)
    : document_(document),
      store_(store),
      view_(new Ctintrose_mfView(document, store, maintenanceForThisRun, this)) {
  setObjectName(QStringLiteral("CMainFrame"));
  // Without a desktop icon theme the toolbar takes the standard icons of Adwaita.
  if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor")) {
    QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() +
                               QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                         QStringLiteral("icons"),
                                                         QStandardPaths::LocateDirectory));
    QIcon::setThemeName(QStringLiteral("Adwaita"));
  }
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setWindowIcon(ProgramIcon());
  setCentralWidget(view_);
  setAcceptDrops(true);
  recentFiles_ = ReadRecentFiles(store_);
  BuildMenus();
  BuildToolBar();
  ShowMenuStates();
  BuildStatusBar();
  BuildLanguageMenu();
  RememberMenuTexts();
  RetranslateUi();
  // Left and top place the window's outer frame; the width and height are those of the
  // window without its decoration, so a stored rectangle comes back exactly.
  const FramePlacement placement = ReadFramePlacement(store_);
  const QRect stored(placement.left, placement.top, placement.right - placement.left,
                     placement.bottom - placement.top);
  const QRect placed = OnSomeScreen(stored);
  resize(placed.size());
  move(placed.topLeft());
  connect(view_, &Ctintrose_mfView::Refreshed, this, &CMainFrame::UpdateCaption);
  UpdateCaption();
}

void CMainFrame::BuildMenus() {
  const QStyle* style = this->style();
  fileMenu_ = menuBar()->addMenu(Source(QT_TR_NOOP("ファイル(&F)")));
  newAction_ = fileMenu_->addAction(ThemeIcon("document-new", QStyle::SP_FileIcon, style),
                                    Source(QT_TR_NOOP("新規作成(&N)")), QKeySequence::New, this,
                                    [this] { NewDocument(); });
  openAction_ = fileMenu_->addAction(ThemeIcon("document-open", QStyle::SP_DialogOpenButton, style),
                                     Source(QT_TR_NOOP("開く(&O)...")), QKeySequence::Open, this,
                                     [this] { ChooseAndOpen(); });
  saveAction_ = fileMenu_->addAction(ThemeIcon("document-save", QStyle::SP_DialogSaveButton, style),
                                     Source(QT_TR_NOOP("上書き保存(&S)")), QKeySequence::Save, this,
                                     [this] { SaveDocument(); });
  fileMenu_->addAction(Source(QT_TR_NOOP("名前を付けて保存(&A)...")), this,
                       [this] { SaveDocumentAs(); });
  fileMenu_->addSeparator();
  fileMenu_->addAction(Source(QT_TR_NOOP("CSVデータ保存")), this,
                       [this] { view_->RunControlCommand(acquisition::control::kCsv); });
  fileMenu_->addAction(Source(QT_TR_NOOP("グラフを画像で保存...")), this,
                       [this] { SaveGraphPicture(GraphPicture::kGraphOnly); });
  fileMenu_->addAction(Source(QT_TR_NOOP("画面どおりにグラフを画像で保存...")), this,
                       [this] { SaveGraphPicture(GraphPicture::kAsSeen); });
  fileMenu_->addSeparator();
  BuildComparisonMenu();
  fileMenu_->addSeparator();
  for (int n = 0; n < kRecentFileCount; ++n) {
    QAction* action = fileMenu_->addAction(QString());
    connect(action, &QAction::triggered, this, [this, n] { OpenRecentFile(n); });
    recentActions_.push_back(action);
  }
  fileMenu_->addSeparator();
  fileMenu_->addAction(Source(QT_TR_NOOP("アプリケーションの終了(&X)")), this, &QWidget::close);
  ShowRecentFiles();

  // The form has no handler for the edit commands or for printing: they stay disabled.
  QMenu* edit = menuBar()->addMenu(Source(QT_TR_NOOP("編集(&E)")));
  edit->addAction(Source(QT_TR_NOOP("元に戻す(&U)")), QKeySequence::Undo)->setEnabled(false);
  edit->addSeparator();
  cutAction_ = edit->addAction(ThemeIcon("edit-cut", QStyle::SP_DialogDiscardButton, style),
                               Source(QT_TR_NOOP("切り取り(&T)")), QKeySequence::Cut);
  copyAction_ = edit->addAction(ThemeIcon("edit-copy", QStyle::SP_FileDialogContentsView, style),
                                Source(QT_TR_NOOP("コピー(&C)")), QKeySequence::Copy);
  pasteAction_ = edit->addAction(ThemeIcon("edit-paste", QStyle::SP_DialogApplyButton, style),
                                 Source(QT_TR_NOOP("貼り付け(&P)")), QKeySequence::Paste);
  printAction_ = new QAction(ThemeIcon("document-print", QStyle::SP_ComputerIcon, style),
                             Source(QT_TR_NOOP("印刷")), this);
  for (QAction* action : {cutAction_, copyAction_, pasteAction_, printAction_}) {
    action->setEnabled(false);
  }

  viewMenu_ = menuBar()->addMenu(Source(QT_TR_NOOP("表示(&V)")));
  QMenu* help = menuBar()->addMenu(Source(QT_TR_NOOP("ヘルプ(&H)")));
  aboutAction_ =
      help->addAction(ThemeIcon("help-about", QStyle::SP_MessageBoxInformation, style),
                      Source(QT_TR_NOOP("バージョン情報 chromiva(&A)...")), this, [this] {
                        CAboutDlg dialog(this);
                        dialog.exec();
                      });
}

// The comparison controls stay hidden on the form; the menu reaches them.
void CMainFrame::BuildComparisonMenu() {
  namespace control = acquisition::control;
  fileMenu_->addAction(Source(QT_TR_NOOP("比較データを開く...")), this,
                       [this] { view_->RunControlCommand(control::kCompare); });
  const std::pair<const char*, int> steps[] = {
      {QT_TR_NOOP("比較データ: 前のセンサー"), control::kCompareBack},
      {QT_TR_NOOP("比較データ: 次のセンサー"), control::kCompareNext},
      {QT_TR_NOOP("比較データ: 前のデータ"), control::kCompareBack2},
      {QT_TR_NOOP("比較データ: 次のデータ"), control::kCompareNext2}};
  for (const auto& [caption, id] : steps) {
    QAction* action =
        fileMenu_->addAction(Source(caption), this, [this, id] { view_->RunControlCommand(id); });
    compareActions_.push_back(action);
  }
  connect(view_, &Ctintrose_mfView::Refreshed, this, &CMainFrame::ShowMenuStates);
  ShowMenuStates();
}

void CMainFrame::ShowMenuStates() {
  const acquisition::FormStatus status = view_->binding().Status();
  for (QAction* action : compareActions_) action->setEnabled(status.compareDocument != nullptr);
  if (mirrorAction_ != nullptr) mirrorAction_->setEnabled(status.mirrorDeviceIndex >= 0);
}

void CMainFrame::SaveGraphPicture(GraphPicture kind) {
  const QString path = QFileDialog::getSaveFileName(
      this, tr("グラフを画像で保存"), QStringLiteral("graph.png"), QStringLiteral("PNG (*.png)"));
  if (path.isEmpty()) return;
  if (!view_->Graph()->View()->SaveGraphPicture(path, kind)) {
    QMessageBox::information(this, QStringLiteral("chromiva"),
                             tr("画像を保存できません: %1").arg(path));
  }
}

void CMainFrame::BuildToolBar() {
  QToolBar* bar = addToolBar(QString());
  toolBar_ = bar;
  bar->setObjectName(QStringLiteral("toolbar128"));
  bar->addActions({newAction_, openAction_, saveAction_});
  bar->addSeparator();
  bar->addActions({cutAction_, copyAction_, pasteAction_});
  bar->addSeparator();
  bar->addActions({printAction_, aboutAction_});
  QAction* toggle = bar->toggleViewAction();
  toggle->setText(Source(QT_TR_NOOP("ツール バー(&T)")));
  viewMenu_->addAction(toggle);
  // The device list whose mirror line opens the mirror dialog stays hidden on the form.
  mirrorAction_ = viewMenu_->addAction(Source(QT_TR_NOOP("ミラー制御...")), this,
                                       [this] { view_->OpenMirrorDialog(); });
}

void CMainFrame::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  // The idle text comes back after every passing message.
  connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& message) {
    if (message.isEmpty()) bar->showMessage(tr("レディ"));
  });
  bar->showMessage(tr("レディ"));
  AddLockIndicators(*this, *bar);
  QAction* toggle = viewMenu_->addAction(Source(QT_TR_NOOP("ステータス バー(&S)")));
  toggle->setCheckable(true);
  toggle->setChecked(true);
  connect(toggle, &QAction::toggled, bar, &QWidget::setVisible);
}

void CMainFrame::ChooseAndOpen() {
  if (!DocumentCommandsAllowed() || !SaveModified()) return;
  const QString path = QFileDialog::getOpenFileName(this, {}, {}, QString::fromLatin1(kFileFilter));
  if (!path.isEmpty()) OpenDocument(path);
}

void CMainFrame::OpenRecentFile(int n) {
  const auto index = static_cast<std::size_t>(n);
  if (index >= recentFiles_.size() || !DocumentCommandsAllowed() || !SaveModified()) return;
  const std::string path = recentFiles_[index];
  if (OpenDocument(QString::fromStdString(path))) return;
  // A file that no longer opens leaves the list.
  std::erase(recentFiles_, path);
  WriteRecentFiles(store_, recentFiles_);
  ShowRecentFiles();
}

void CMainFrame::ShowRecentFiles() {
  for (std::size_t n = 0; n < recentActions_.size(); ++n) {
    QAction* action = recentActions_[n];
    if (n < recentFiles_.size()) {
      action->setText(
          QStringLiteral("&%1 %2").arg(n + 1).arg(QString::fromStdString(recentFiles_[n])));
      action->setEnabled(true);
      action->setVisible(true);
    } else {
      action->setText(tr("最近使ったファイル"));
      action->setEnabled(false);
      action->setVisible(n == 0 && recentFiles_.empty());
    }
  }
}

void CMainFrame::AddRecentFile(const QString& path) {
  recentFiles_ = WithRecentFile(recentFiles_, QFileInfo(path).absoluteFilePath().toStdString());
  WriteRecentFiles(store_, recentFiles_);
  ShowRecentFiles();
}

// The document's title as shown: an untitled document keeps "無題" inside (it decides the
// automatic naming) and only shows it in the window's language.
QString CMainFrame::ShownTitle() const {
  if (document_.title == data::kUntitledTitle) return tr("無題");
  return QString::fromStdString(document_.title);
}

void CMainFrame::UpdateCaption() {
  setWindowTitle(QStringLiteral("chromiva - ") + ShownTitle());
}

bool CMainFrame::DocumentCommandsAllowed() {
  // A running measurement writes into the document: it is not replaced under it.
  return !view_->binding().fields().measuring && !view_->binding().WorkerWritesDocument();
}

bool CMainFrame::SaveModified() {
  if (!document_.modified) return true;
  const QString question = tr("%1 への変更を保存しますか?").arg(ShownTitle());
  SaveAnswer answer = SaveAnswer::kCancel;
  if (saveAnswer_) {
    answer = saveAnswer_(question);
  } else {
    const auto button = QMessageBox::question(
        this, QStringLiteral("chromiva"), question,
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    answer = button == QMessageBox::Save      ? SaveAnswer::kSave
             : button == QMessageBox::Discard ? SaveAnswer::kDiscard
                                              : SaveAnswer::kCancel;
  }
  if (answer == SaveAnswer::kSave) return SaveDocument();
  if (answer == SaveAnswer::kCancel) return false;
  // Let go as a save lets go: the journal of a discarded recording is not offered again.
  Session().Discard();
  return true;
}

void CMainFrame::OfferJournalRecovery(const JournalQuestion& ask) {
  const JournalQuestion question =
      ask ? ask : [this](const std::string& text) { return AskAboutJournal(this, text); };
  const std::filesystem::path recovered = ui::OfferJournalRecovery(
      document_, data::DefaultJournalFolder(), question,
      [this](const std::string& message) { view_->ShowOkMessage(message); });
  if (recovered.empty()) return;
  Session().AdoptRecoveredJournal(recovered);
  AfterDocumentChange();
}

acquisition::DocumentSession& CMainFrame::Session() {
  return view_->binding().session();
}

QString CMainFrame::DocumentPath() const {
  return QString::fromStdString(view_->binding().session().path().string());
}

bool CMainFrame::NewDocument() {
  if (!DocumentCommandsAllowed() || !SaveModified()) return false;
  Session().StartUntitled();
  AfterDocumentChange();
  return true;
}

bool CMainFrame::OpenDocument(const QString& path) {
  if (!DocumentCommandsAllowed()) return false;
  const data::DataFileResult result = Session().Open(path.toStdString());
  if (!result.ok()) {
    view_->ShowOkMessage(tr("予期しないファイル形式です。\n%1: %2")
                             .arg(path, QString::fromStdString(result.message))
                             .toStdString());
    return false;
  }
  AddRecentFile(DocumentPath());
  AfterDocumentChange();
  return true;
}

void CMainFrame::AfterDocumentChange() {
  view_->InitialUpdate();
  UpdateCaption();
}

bool CMainFrame::SaveDocument() {
  const QString path = DocumentPath();
  if (path.isEmpty()) return SaveDocumentAs();
  return SaveTo(path);
}

bool CMainFrame::SaveDocumentAs(const QString& path) {
  QString target = path;
  if (target.isEmpty()) {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QString::fromLatin1(kFileFilter));
    dialog.setDefaultSuffix(QStringLiteral("cvdata"));
    dialog.selectFile(ShownTitle());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    target = dialog.selectedFiles().front();
  }
  return SaveTo(target);
}

bool CMainFrame::SaveTo(const QString& path) {
  // Between passes the document is still; while a worker fills it, it is not saved.
  if (view_->binding().WorkerWritesDocument()) {
    view_->ShowOkMessage(
        tr("計測中のため保存できません。計測が終わってから保存してください。").toStdString());
    return false;
  }
  acquisition::DocumentSession& session = Session();
  const acquisition::SaveOutcome outcome = session.SaveAs(path.toStdString());
  if (!outcome.ok()) {
    view_->ShowOkMessage(SaveFailureText(path.toStdString(), outcome, session.journal().path()));
    return false;
  }
  AddRecentFile(DocumentPath());
  UpdateCaption();
  return true;
}

void CMainFrame::WriteSettingsAtExit() {
  if (settingsWritten_) return;
  settingsWritten_ = true;
  view_->WriteSettings();
  // A maximised or minimised window stores the rectangle it is restored to.
  const QRect restored = normalGeometry().isValid() ? normalGeometry() : geometry();
  const QPoint decoration = geometry().topLeft() - frameGeometry().topLeft();
  const QPoint outer = restored.topLeft() - decoration;
  WriteFramePlacement(
      store_, {outer.x(), outer.y(), outer.x() + restored.width(), outer.y() + restored.height()});
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (view_->binding().AcquisitionBusy()) {
    // Refused while a pass talks to the instruments; said, so that it does not look like a hang.
    statusBar()->showMessage(tr("計測中は終了できません。計測が終わってから終了してください。"),
                             kBusyCloseShownMs);
    event->ignore();
    return;
  }
  if (!SaveModified()) {
    event->ignore();
    return;
  }
  WriteSettingsAtExit();
  event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.front().isLocalFile()) return;
  event->acceptProposedAction();
  if (!DocumentCommandsAllowed() || !SaveModified()) return;
  OpenDocument(urls.front().toLocalFile());
}

}  // namespace chromiva::ui

namespace chromiva::ui {

// "言語 / Language" names itself in both languages, and each language in its own.
void CMainFrame::BuildLanguageMenu() {
  QMenu* menu = viewMenu_->addMenu(QStringLiteral("言語 / Language"));
  menu->setObjectName(QStringLiteral("languageMenu"));
  auto* group = new QActionGroup(menu);
  const std::pair<Language, QString> choices[] = {{Language::kJapanese, QStringLiteral("日本語")},
                                                  {Language::kEnglish, QStringLiteral("English")}};
  for (const auto& [language, name] : choices) {
    QAction* action = menu->addAction(name);
    action->setObjectName(QStringLiteral("language_") +
                          QString::fromLatin1(LanguageCode(language)));
    action->setCheckable(true);
    action->setActionGroup(group);
    connect(action, &QAction::triggered, this, [this, language] { SwitchLanguage(language); });
    languageActions_.emplace_back(action, language);
  }
}

bool CMainFrame::SwitchLanguage(Language language) {
  if (!UseLanguage(language)) {
    view_->ShowOkMessage(
        tr("表示言語を切り替えられません: 翻訳を読み込めませんでした。").toStdString());
    RetranslateUi();
    return false;
  }
  store_.WriteText("ui", "language", LanguageCode(language));
  return true;
}

// The menus' texts are written in Japanese, the source language; they are remembered once, so
// that each language can be shown from them.
void CMainFrame::RememberMenuTexts() {
  const auto remember = [this](QAction* action) {
    if (action == nullptr || action->isSeparator() || action->text().isEmpty()) return;
    if (std::find(recentActions_.begin(), recentActions_.end(), action) != recentActions_.end())
      return;
    if (action->menu() != nullptr && action->menu()->objectName() == QLatin1String("languageMenu"))
      return;
    menuTexts_.emplace_back(action, action->text().toStdString());
  };
  for (QAction* top : menuBar()->actions()) {
    remember(top);
    if (QMenu* menu = top->menu()) {
      for (QAction* action : menu->actions()) remember(action);
    }
  }
  remember(printAction_);
}

void CMainFrame::RetranslateUi() {
  // The toolbar's title names its toggle action too: the menu's own text comes after it.
  toolBar_->setWindowTitle(tr("標準"));
  for (const auto& [action, source] : menuTexts_) action->setText(tr(source.c_str()));
  statusBar()->clearMessage();  // the idle text comes back in the new language
  for (const auto& [action, language] : languageActions_)
    action->setChecked(language == CurrentLanguage());
  ShowRecentFiles();
  UpdateCaption();
}

void CMainFrame::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange && toolBar_ != nullptr) RetranslateUi();
  QMainWindow::changeEvent(event);
}

}  // namespace chromiva::ui

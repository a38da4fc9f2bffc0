#include "ui/options_dialog.h"

#include <QAbstractSpinBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/activation_history.h"

namespace zandor {

OptionsDialog::OptionsDialog(SettingsStore& settings, ActivationHistory& history, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("frmOptions"));
  setWindowTitle(tr("Zandor - Options"));
  setModal(false);
  BuildControls();
  history.Watch(this);
  connect(&history, &ActivationHistory::Activated, this, &OptionsDialog::OnActivated);
  Load();
}

void OptionsDialog::BuildControls() {
  // The focus chain takes the controls in the order they are created, this
  // one (the mail folder frame before the store choice above it); SetTabOrder
  // then puts them in reading order.
  rangeAndPort_.Build(this);
  const std::vector<QWidget*> messageFrames = {removal_.Build(this), pluggedIn_.Build(this),
                                               conversion_.Build(this), longMessages_.Build(this)};
  QWidget* mailFolder = mailStore_.BuildFolderFrame(this);
  BuildButtons();
  LayOut(messageFrames, mailFolder);
  SetTabOrder();
  IgnoreWheelWhenUnfocused();
  rangeAndPort_.OfferPorts();
}

void OptionsDialog::BuildButtons() {
  btnCancel_ = new QPushButton(tr("&Cancel"), this);
  btnCancel_->setObjectName(QStringLiteral("btnCancel"));
  btnCancel_->setAutoDefault(false);
  btnOK_ = new QPushButton(tr("&OK"), this);
  btnOK_->setObjectName(QStringLiteral("btnOK"));
  btnOK_->setDefault(true);
  connect(btnOK_, &QPushButton::clicked, this, &OptionsDialog::Ok);
  connect(btnCancel_, &QPushButton::clicked, this, &OptionsDialog::Cancel);
}

void OptionsDialog::LayOut(const std::vector<QWidget*>& messageFrames, QWidget* mailFolder) {
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnCancel_);
  buttons->addWidget(btnOK_);
  // Three pages, so that each fits a small screen (800x600, or twice the
  // scale on a laptop); a page that still does not fit scrolls, and OK and
  // Cancel stay below the pages, always in reach.
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("tabsOptions"));
  //: The tab of the mail store: a Maildir folder or an IMAP account
  mailTab_ = AddPage(tr("Mail"), QStringLiteral("scrollMail"), nullptr,
                     {mailStore_.BuildChoice(this), mailFolder,
                      mailStore_.BuildImapAccount(
                          this,
                          [this](const ImapOptions& account, const QString& password) {
                            Q_EMIT PasswordGiven(account, password);
                          },
                          [this] { PinCertificate(settings_, QString()); })});
  //: The tab of the date range, the port and what is removed
  AddPage(tr("Kelvo"), QStringLiteral("scrollKelvo"), rangeAndPort_.LayOut(),
          {messageFrames[0], messageFrames[1]});
  //: The tab of the character conversion and of long messages
  AddPage(tr("Conversion"), QStringLiteral("scrollConversion"), nullptr,
          {messageFrames.begin() + 2, messageFrames.end()});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addLayout(buttons);
}

QWidget* OptionsDialog::AddPage(const QString& title, const QString& name, QLayout* top,
                                const std::vector<QWidget*>& frames) {
  auto* page = new QWidget;
  auto* pageLayout = new QVBoxLayout(page);
  if (top != nullptr) pageLayout->addLayout(top);
  for (QWidget* frame : frames) pageLayout->addWidget(frame);
  pageLayout->addStretch(1);
  // A hint line that comes or goes changes the page's layout.
  page->installEventFilter(this);
  pages_.push_back(page);
  auto* scroll = new QScrollArea;
  scroll->setObjectName(name);
  scroll->setWidget(page);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  // A screen too narrow for the options scrolls them sideways too, rather
  // than cut off their right edge.
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  scroll->setMinimumHeight(120);
  tabs_->addTab(scroll, title);
  return scroll;
}

void OptionsDialog::SetTabOrder() {
  std::vector<QWidget*> order = rangeAndPort_.TabOrder();
  for (const std::vector<QWidget*>& more :
       {removal_.TabOrder(), pluggedIn_.TabOrder(), conversion_.TabOrder(),
        longMessages_.TabOrder(), mailStore_.TabOrder(),
        std::vector<QWidget*>{btnCancel_, btnOK_}}) {
    order.insert(order.end(), more.begin(), more.end());
  }
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void OptionsDialog::IgnoreWheelWhenUnfocused() {
  QList<QWidget*> values;
  for (QComboBox* list : findChildren<QComboBox*>()) values << list;
  for (QAbstractSpinBox* number : findChildren<QAbstractSpinBox*>()) values << number;
  for (QWidget* value : values) {
    // Not focused by the wheel either: a click or Tab takes them.
    value->setFocusPolicy(Qt::StrongFocus);
    value->installEventFilter(this);
  }
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event) {
  // A hint line came or went: the dialog grows rather than scroll.
  if (std::find(pages_.begin(), pages_.end(), watched) != pages_.end()) {
    if (event->type() == QEvent::LayoutRequest && isVisible()) FitContents();
    return false;
  }
  // A wheel turned while the pointer passes over a list must scroll the
  // options, not change the value it happens to be over. Ignored, the event
  // goes on to the scroll area.
  if (event->type() == QEvent::Wheel && watched->isWidgetType() &&
      !static_cast<QWidget*>(watched)->hasFocus()) {
    event->ignore();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

int OptionsDialog::ScrollBarWidth() const {
  return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, tabs_);
}

QSize OptionsDialog::OpeningSize() const {
  // Wide enough for the widest page; as high as the highest is at that
  // width, the hint lines wrapped, with the tabs above and the buttons below.
  int pageWidth = 0;
  for (const QWidget* page : pages_) pageWidth = std::max(pageWidth, page->sizeHint().width());
  int pageHeight = 0;
  for (const QWidget* page : pages_) {
    pageHeight = std::max(pageHeight, page->hasHeightForWidth() ? page->heightForWidth(pageWidth)
                                                                : page->sizeHint().height());
  }
  // The tabs' own frame and bar: what their size hint adds to their pages'.
  QSize pagesHint;
  for (int i = 0; i < tabs_->count(); ++i)
    pagesHint = pagesHint.expandedTo(tabs_->widget(i)->sizeHint());
  const QSize chrome = tabs_->sizeHint() - pagesHint;
  const QMargins margins = layout()->contentsMargins();
  QSize wanted(pageWidth + chrome.width() + margins.left() + margins.right(),
               pageHeight + chrome.height() + layout()->spacing() + btnOK_->sizeHint().height() +
                   margins.top() + margins.bottom());
  const QScreen* shown = screen();
  if (shown == nullptr) return wanted;
  // Room for the title bar.
  const QSize room = shown->availableGeometry().size() - QSize(0, 40);
  if (wanted.height() > room.height()) wanted.rwidth() += ScrollBarWidth();
  return wanted.boundedTo(room).expandedTo(minimumSizeHint());
}

void OptionsDialog::FitContents() {
  // Opens at the size the options want; later, a hint line that appears
  // makes it grow rather than scroll, but it never shrinks under the user.
  resize(opened_ ? size().expandedTo(OpeningSize()) : OpeningSize());
  opened_ = true;
}

void OptionsDialog::showEvent(QShowEvent* event) {
  FitContents();
  QDialog::showEvent(event);
  // The keyring may take a moment to answer: the dialog is drawn first.
  QTimer::singleShot(0, this, [this] { ShowAccountState(); });
}

void OptionsDialog::ShowAccountState() {
  if (ChosenStore() == StoreKind::Imap) mailStore_.ShowAccountState(Imap());
}

void OptionsDialog::Load() {
  rangeAndPort_.OfferRanges();
  longMessages_.OfferChoices();
  const StoredOptions stored = ReadStoredOptions(settings_);
  conversion_.Restore(stored.conversion);
  longMessages_.Restore(stored.longMessages, stored.parts);
  rangeAndPort_.RestorePortPaths(stored);
  mailStore_.Restore(stored);
  pluggedIn_.Restore(stored.pluggedIn);
}

void OptionsDialog::ShowAtMailFolder() {
  tabs_->setCurrentWidget(mailTab_);
  show();
  raise();
  activateWindow();
  mailStore_.FocusWhereTheMailIs();
}

void OptionsDialog::OnActivated(QWidget* window, QWidget* previous) {
  // A return from another program leaves the snapshot as it was.
  if (window != this || previous == this) return;
  removal_.TakeSnapshot();
  rangeAndPort_.OfferPorts();
}

void OptionsDialog::RestorePortAndRange(const StoredOptions& stored) {
  rangeAndPort_.RestorePortAndRange(stored);
}

void OptionsDialog::Ok() {
  StoredOptions stored;
  stored.port = rangeAndPort_.Port();
  stored.range = rangeAndPort_.Range();
  stored.longMessages = longMessages_.Chosen();
  // What the box shows after OK is what is stored and what a synchronisation
  // uses: a whole number of parts, 0 to 999.
  stored.parts = ClampedPartsText(longMessages_.Parts());
  stored.conversion = conversion_.Selected();
  stored.portPaths = rangeAndPort_.PortPaths();
  stored.mailFolder = mailStore_.MailFolderText();
  stored.storeKind = ChosenStore();
  stored.imap = Imap();
  stored.pluggedIn = pluggedIn_.Chosen();
  const bool watching = ReadStoredOptions(settings_).pluggedIn.sync;
  WriteStoredOptions(settings_, stored);
  if (stored.pluggedIn.sync != watching && turnWatcher_) turnWatcher_(stored.pluggedIn.sync);
  mailStore_.Stored(stored.imap);
  longMessages_.ShowParts(stored.parts);
  hide();
}

void OptionsDialog::Cancel() {
  RestoreStored();
  removal_.RestoreSnapshot();
  hide();
}

void OptionsDialog::RestoreStored() {
  const StoredOptions stored = ReadStoredOptions(settings_);
  RestorePortAndRange(stored);
  conversion_.Restore(stored.conversion);
  longMessages_.Restore(stored.longMessages, stored.parts);
  rangeAndPort_.RestorePortPaths(stored);
  mailStore_.Restore(stored);
  pluggedIn_.Restore(stored.pluggedIn);
}

void OptionsDialog::closeEvent(QCloseEvent* event) {
  if (isVisible()) Cancel();
  event->accept();
}

void OptionsDialog::reject() {
  Cancel();
}

SyncOptions OptionsDialog::Current() const {
  SyncOptions options;
  options.port = rangeAndPort_.Port();
  options.portPath = rangeAndPort_.PortPath();
  options.range = rangeAndPort_.Range();
  options.mode = conversion_.Mode();
  options.longMessages = longMessages_.Chosen();
  options.parts = longMessages_.Parts();
  options.removeFromKelvo = removal_.RemoveFromKelvo();
  options.removeFromMail = removal_.RemoveFromMail();
  options.fullSync = fullSyncSource_ && fullSyncSource_();
  return options;
}

QString OptionsDialog::MailFolder() const {
  return mailStore_.MailFolder();
}

StoreKind OptionsDialog::ChosenStore() const {
  return mailStore_.Chosen();
}

ImapOptions OptionsDialog::Imap() const {
  // The keys the dialog does not show are read afresh, so that a line the
  // user added to the settings file meanwhile is used, and kept by OK.
  ImapOptions imap = ReadStoredOptions(settings_).imap;
  const ImapOptions shown = mailStore_.Imap();
  imap.host = shown.host;
  imap.port = shown.port;
  imap.security = shown.security;
  imap.user = shown.user;
  return imap;
}

}  // namespace zandor

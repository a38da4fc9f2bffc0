#include "ui/sync_status_bar.h"

#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <algorithm>

#include "front/printable_text.h"
#include "front/run_report.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(StatusBarWhere)
};

}  // namespace

QString WhereText(const QString& mailFolder, int port, const QString& portPath) {
  QString folder = QDir::cleanPath(mailFolder);
  const QString home = QDir::homePath();
  if (folder == home || folder.startsWith(home + QLatin1Char('/'))) {
    folder = QLatin1Char('~') + folder.mid(home.size());
  }
  //: The status line's port when none is chosen in the options
  if (port < 1) return folder + QStringLiteral(" · ") + Text::tr("no port");
  //: %1 is the port entry's number, 1 to 4; %2 its device path, /dev/ttyUSB0
  return folder + QStringLiteral(" · ") + Text::tr("Com %1 (%2)").arg(port).arg(portPath);
}

// A one-line label that shows as much of its text as fits, cut in the middle
// with an ellipsis rather than mid-word at its end; the whole text is its tooltip.
class ElidedLabel final : public QLabel {
 public:
  using QLabel::QLabel;
  void SetWholeText(const QString& text) {
    whole_ = text;
    setToolTip(text);
    Elide();
  }
  const QString& WholeText() const { return whole_; }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QLabel::resizeEvent(event);
    Elide();
  }

 private:
  void Elide() { setText(fontMetrics().elidedText(whole_, Qt::ElideMiddle, width())); }
  QString whole_;
};

SyncStatusBar::SyncStatusBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("syncStatusBar"));
  where_ = new ElidedLabel(this);
  where_->setObjectName(QStringLiteral("lblWhere"));
  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("lblNote"));
  for (QLabel* label : std::initializer_list<QLabel*>{where_, note_}) {
    label->setTextFormat(Qt::PlainText);
    label->setMinimumWidth(1);
  }
  // A long note (the Kelvo's silence, a failure) wraps rather than being cut.
  note_->setWordWrap(true);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("barProgress"));
  // Wide enough for the run's count and the time left on one line.
  progress_->setMinimumWidth(progress_->fontMetrics().horizontalAdvance(
                                 //: Only measured, never shown: the longest progress text
                                 //: there is, written as the run's progress is translated
                                 tr("message 888 of 888, part 88 of 88, 88:88 left")) +
                             24);
  sent_ = new QLabel(this);
  sent_->setObjectName(QStringLiteral("lblBytesSent"));
  elapsed_ = new QLabel(this);
  elapsed_->setObjectName(QStringLiteral("lblElapsed"));
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(4, 0, 0, 2);
  layout->setVerticalSpacing(0);
  layout->addWidget(where_, 0, 0);
  layout->addWidget(note_, 1, 0, 1, 2);
  layout->addWidget(progress_, 0, 1);
  layout->addWidget(elapsed_, 0, 2);
  layout->addWidget(sent_, 1, 2);
  layout->setColumnStretch(0, 1);
  FinishRun();
}

void SyncStatusBar::SetWhere(const QString& text) {
  where_->SetWholeText(text);
}
void SyncStatusBar::SetNote(const QString& text) {
  note_->setText(PrintableText(text));
}
QString SyncStatusBar::Where() const {
  return where_->WholeText();
}
QString SyncStatusBar::Note() const {
  return note_->text();
}

void SyncStatusBar::StartRun(const QDateTime& now) {
  started_ = now;
  bytesSent_ = 0;
  progress_->setRange(0, 0);
  for (QWidget* widget : std::initializer_list<QWidget*>{progress_, sent_, elapsed_})
    widget->show();
  AddBytesSent(0);
  ShowElapsed(now);
}

void SyncStatusBar::FinishRun() {
  for (QWidget* widget : std::initializer_list<QWidget*>{progress_, sent_, elapsed_})
    widget->hide();
}

void SyncStatusBar::ShowProgress(const Progress& progress) {
  switch (progress.stage) {
    case Progress::Stage::Scanning:
    case Progress::Stage::Sending:
      // The whole run when mail was counted as due, else the folder.
      if (progress.dueCount > 0) {
        progress_->setRange(0, progress.dueCount);
        progress_->setValue(std::max(progress.dueIndex, 1));
        progress_->setFormat(DueText(progress));
      } else if (progress.stage == Progress::Stage::Scanning) {
        progress_->setRange(0, progress.count);
        progress_->setValue(progress.index);
        //: %1 is the folder being scanned, %v the number of its message, %m how many it holds
        progress_->setFormat(tr("%1: %v of %m").arg(progress.folder));
      }
      break;
    case Progress::Stage::Handshake:
    case Progress::Stage::Receiving:
    case Progress::Stage::Removing:
      progress_->setRange(0, 0);  // busy: the Kelvo decides how much comes
      break;
  }
}

void SyncStatusBar::AddBytesSent(qsizetype bytes) {
  bytesSent_ += bytes;
  // Qt says "1 bytes"; below a kilobyte the count is said in words.
  //: How much was sent to the Kelvo so far
  const QString size = bytesSent_ == 1     ? tr("1 byte")
                       : bytesSent_ < 1024 ? tr("%n bytes", nullptr, static_cast<int>(bytesSent_))
                                           : QLocale().formattedDataSize(bytesSent_);
  //: %1 is how much was sent to the Kelvo: "12 bytes", "3.4 KiB"
  sent_->setText(tr("%1 sent").arg(size));
}

void SyncStatusBar::ShowElapsed(const QDateTime& now) {
  const qint64 seconds = started_.isValid() ? std::max<qint64>(0, started_.secsTo(now)) : 0;
  elapsed_->setText(
      QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0')));
}

}  // namespace zandor

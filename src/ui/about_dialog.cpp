#include "ui/about_dialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef ZANDOR_VERSION
#define ZANDOR_VERSION "0.1.0"
#endif

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(AboutText)
};

}  // namespace

QString VersionLine() {
  //: %1 is the program's version, 1.2.3
  return Text::tr("Version %1").arg(QLatin1String(ZANDOR_VERSION));
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(tr("About Zandor"));
  setModal(false);

  auto* title = new QLabel(QStringLiteral("Zandor"), this);
  title->setObjectName(QStringLiteral("lblTitle"));
  QFont titleFont = title->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
  titleFont.setBold(true);
  title->setFont(titleFont);

  auto* version = new QLabel(VersionLine(), this);
  version->setObjectName(QStringLiteral("lblVersion"));

  auto* description =
      new QLabel(tr("Keeps a Maildir mail store and a Kelvo handheld in step over a serial "
                    "cable: messages written on the Kelvo come into the mail folder, the mail "
                    "of the chosen folders and date range goes to the Kelvo, and deletions "
                    "can follow in both directions."),
                 this);
  description->setObjectName(QStringLiteral("lblDescription"));
  description->setWordWrap(true);

  auto* credits =
      new QLabel(tr("Written by the Zandor developers.\nBuilt with Qt, GMime and SQLite."), this);
  credits->setObjectName(QStringLiteral("lblCredits"));

  auto* licence =
      new QLabel(tr("Licensed under the GNU General Public License, version 3 or later"), this);
  licence->setObjectName(QStringLiteral("lblLicence"));
  licence->setWordWrap(true);

  // There is no web page to send a report to: the README and the manual page
  // say what a report should hold. The command is never broken over two lines.
  //: 'Reporting a problem' is a heading of the README, which stays in English; the
  //: space of 'man zandor' is a no-break space, so that the command stays on one line
  auto* report = new QLabel(tr("Report a problem: see 'Reporting a problem' in the "
                               "README, or run 'man\u00A0zandor'"),
                            this);
  report->setObjectName(QStringLiteral("lblReport"));
  report->setWordWrap(true);
  report->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* cmdOK = new QPushButton(tr("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setDefault(true);
  connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(version);
  layout->addSpacing(8);
  layout->addWidget(description);
  layout->addSpacing(8);
  layout->addWidget(credits);
  layout->addSpacing(8);
  layout->addWidget(licence);
  layout->addWidget(report);
  layout->addStretch(1);
  layout->addLayout(buttons);
  setMinimumWidth(360);
}

}  // namespace zandor

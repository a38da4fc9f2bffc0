#include "ui/certificate_dialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "front/printable_text.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(CertificateText)
};

QLabel* Value(const QString& text, const char* name, bool fixed = false) {
  auto* label = new QLabel(PrintableText(text, fixed ? LineBreaks::Keep : LineBreaks::Replace));
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  // A fingerprint keeps its two lines of sixteen pairs; the rest wraps.
  label->setWordWrap(!fixed);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  if (fixed) label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  return label;
}

QString Day(const QDateTime& when) {
  return when.isValid() ? when.toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"))
                        //: A date of the certificate's validity that it does not give
                        : Text::tr("not given");
}

// "AB:CD:...:EF" in two lines of sixteen pairs, as people compare them.
QString TwoLines(const QString& fingerprint) {
  return fingerprint.size() == 95 ? fingerprint.left(47) + QLatin1Char('\n') + fingerprint.mid(48)
                                  : fingerprint;
}

}  // namespace

CertificateDialog::CertificateDialog(QWidget* parent, const UntrustedCertificate& certificate)
    : QDialog(parent) {
  setObjectName(QStringLiteral("dialogCertificate"));
  //: %1 is the server's name
  setWindowTitle(tr("Zandor - Certificate of %1").arg(certificate.host));
  auto* layout = new QVBoxLayout(this);
  auto* headline = new QLabel;
  if (certificate.pinned.isEmpty()) {
    //: %1 is the server's name
    headline->setText(
        tr("Zandor cannot confirm that %1 is the server it claims to be.").arg(certificate.host));
  } else {
    //: %1 is the server's name
    headline->setText(
        tr("The certificate of %1 has changed since you trusted it.").arg(certificate.host));
  }
  headline->setObjectName(QStringLiteral("labelCertificateHeadline"));
  headline->setWordWrap(true);
  QFont bold = headline->font();
  bold.setBold(true);
  headline->setFont(bold);
  layout->addWidget(headline);

  auto* details = new QFormLayout;
  details->setRowWrapPolicy(QFormLayout::WrapLongRows);
  details->addRow(tr("Server:"), Value(certificate.host, "labelCertificateServer"));
  details->addRow(tr("Not trusted because:"), Value(certificate.why, "labelCertificateWhy"));
  details->addRow(tr("Issued to:"), Value(certificate.subject, "labelCertificateSubject"));
  details->addRow(tr("Issued by:"), Value(certificate.issuer, "labelCertificateIssuer"));
  details->addRow(
      tr("Valid:"),
      //: %1 and %2 are dates and times, "2025-01-31 12:00 UTC", or "not given"
      Value(tr("from %1 until %2").arg(Day(certificate.validFrom), Day(certificate.validUntil)),
            "labelCertificateValidity"));
  details->addRow(tr("SHA-256 fingerprint:"),
                  Value(TwoLines(certificate.fingerprint), "labelCertificateFingerprint", true));
  if (!certificate.pinned.isEmpty()) {
    //: The fingerprint of the certificate trusted until now
    details->addRow(tr("Trusted before:"),
                    Value(TwoLines(certificate.pinned), "labelCertificatePinned", true));
  }
  layout->addLayout(details);

  auto* advice = new QLabel(
      tr("Trust it only if the fingerprint is the one the server's keeper gives you. Zandor then "
         "trusts this certificate for this account, and refuses any other."));
  advice->setWordWrap(true);
  layout->addWidget(advice);

  auto* buttons = new QDialogButtonBox;
  QPushButton* trust =
      buttons->addButton(tr("Trust this certificate"), QDialogButtonBox::AcceptRole);
  trust->setObjectName(QStringLiteral("buttonTrust"));
  QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  cancel->setObjectName(QStringLiteral("buttonCancel"));
  // Trusting a stranger is never the default.
  trust->setAutoDefault(false);
  cancel->setDefault(true);
  trust->setEnabled(!certificate.fingerprint.isEmpty());
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  // Wrapped lines get the height they need at the width the dialog opens with.
  layout->setSizeConstraint(QLayout::SetMinimumSize);
  setMinimumWidth(fontMetrics().averageCharWidth() * 80);
}

}  // namespace zandor

#include "ui/certificate_dialog.h"

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
                        : QStringLiteral("not given");
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
  setWindowTitle(QStringLiteral("Zandor - Certificate of %1").arg(certificate.host));
  auto* layout = new QVBoxLayout(this);
  auto* headline = new QLabel(
      certificate.pinned.isEmpty()
          ? QStringLiteral("Zandor cannot confirm that %1 is the server it claims to be.")
                .arg(certificate.host)
          : QStringLiteral("The certificate of %1 has changed since you trusted it.")
                .arg(certificate.host));
  headline->setObjectName(QStringLiteral("labelCertificateHeadline"));
  headline->setWordWrap(true);
  QFont bold = headline->font();
  bold.setBold(true);
  headline->setFont(bold);
  layout->addWidget(headline);

  auto* details = new QFormLayout;
  details->setRowWrapPolicy(QFormLayout::WrapLongRows);
  details->addRow(QStringLiteral("Server:"), Value(certificate.host, "labelCertificateServer"));
  details->addRow(QStringLiteral("Not trusted because:"),
                  Value(certificate.why, "labelCertificateWhy"));
  details->addRow(QStringLiteral("Issued to:"),
                  Value(certificate.subject, "labelCertificateSubject"));
  details->addRow(QStringLiteral("Issued by:"),
                  Value(certificate.issuer, "labelCertificateIssuer"));
  details->addRow(QStringLiteral("Valid:"),
                  Value(QStringLiteral("from %1 until %2")
                            .arg(Day(certificate.validFrom), Day(certificate.validUntil)),
                        "labelCertificateValidity"));
  details->addRow(QStringLiteral("SHA-256 fingerprint:"),
                  Value(TwoLines(certificate.fingerprint), "labelCertificateFingerprint", true));
  if (!certificate.pinned.isEmpty()) {
    details->addRow(QStringLiteral("Trusted before:"),
                    Value(TwoLines(certificate.pinned), "labelCertificatePinned", true));
  }
  layout->addLayout(details);

  auto* advice = new QLabel(QStringLiteral(
      "Trust it only if the fingerprint is the one the server's keeper gives you. Zandor then "
      "trusts this certificate for this account, and refuses any other."));
  advice->setWordWrap(true);
  layout->addWidget(advice);

  auto* buttons = new QDialogButtonBox;
  QPushButton* trust =
      buttons->addButton(QStringLiteral("Trust this certificate"), QDialogButtonBox::AcceptRole);
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

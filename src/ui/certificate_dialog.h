#pragma once

#include <QDialog>

#include "store/store_result.h"

namespace zandor {

// The server's certificate is not trusted: what it is and why, so that the
// user can compare its fingerprint with the one the server's keeper gives
// and trust it on purpose. Accepted means "Trust this certificate".
class CertificateDialog final : public QDialog {
  Q_OBJECT

 public:
  CertificateDialog(QWidget* parent, const UntrustedCertificate& certificate);
};

}  // namespace zandor

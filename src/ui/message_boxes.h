#pragma once

#include <QString>
#include <memory>

#include "store/store_result.h"

class QMessageBox;
class QWidget;

namespace zandor {

// How the main window puts its boxes on the screen. The real one shows
// message boxes; a test puts in one that records the texts and answers.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // An OK box: a warning icon, caption Zandor, the text as it stands.
  virtual void Show(QWidget* parent, const QString& text) = 0;
  // A Yes/No box with a question icon, caption Zandor; true only for Yes.
  virtual bool Ask(QWidget* parent, const QString& text) = 0;
  // The server's certificate is not trusted: true when the user trusts it.
  virtual bool TrustCertificate(QWidget* parent, const UntrustedCertificate& certificate) = 0;
};

class QtMessageBoxes final : public MessageBoxes {
 public:
  // The boxes Show and Ask show, not shown yet.
  static std::unique_ptr<QMessageBox> Warning(QWidget* parent, const QString& text);
  static std::unique_ptr<QMessageBox> Question(QWidget* parent, const QString& text);
  void Show(QWidget* parent, const QString& text) override;
  bool Ask(QWidget* parent, const QString& text) override;
  bool TrustCertificate(QWidget* parent, const UntrustedCertificate& certificate) override;
};

}  // namespace zandor

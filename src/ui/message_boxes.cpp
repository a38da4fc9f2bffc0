#include "ui/message_boxes.h"

#include <QMessageBox>

#include "front/printable_text.h"
#include "ui/certificate_dialog.h"

namespace zandor {
namespace {

// Plain text: a store's reason may hold "<" and "&", which must show as they are.
// The texts join their lines with a line feed and a carriage return; Qt would
// draw both as breaks, leaving a blank line, so the box shows one.
void SetUp(QMessageBox& box, QMessageBox::Icon icon, const QString& text) {
  // Boxes and dialogs carry the program's name, as its desktop entry does;
  // only the main window has a title of its own.
  box.setWindowTitle(QStringLiteral("Zandor"));
  box.setIcon(icon);
  box.setTextFormat(Qt::PlainText);
  QString shown = text;
  shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
  box.setText(PrintableText(shown, LineBreaks::Keep));
}

}  // namespace

std::unique_ptr<QMessageBox> QtMessageBoxes::Warning(QWidget* parent, const QString& text) {
  auto box = std::make_unique<QMessageBox>(parent);
  // A box the program shows always tells of a fault or a risk.
  SetUp(*box, QMessageBox::Warning, text);
  box->setStandardButtons(QMessageBox::Ok);
  return box;
}

void QtMessageBoxes::Show(QWidget* parent, const QString& text) {
  Warning(parent, text)->exec();
}

std::unique_ptr<QMessageBox> QtMessageBoxes::Question(QWidget* parent, const QString& text) {
  auto box = std::make_unique<QMessageBox>(parent);
  SetUp(*box, QMessageBox::Question, text);
  box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  // Each question guards a step that sends or removes much: Enter must not
  // take it by mistake.
  box->setDefaultButton(QMessageBox::No);
  box->setEscapeButton(QMessageBox::No);
  return box;
}

bool QtMessageBoxes::Ask(QWidget* parent, const QString& text) {
  return Question(parent, text)->exec() == QMessageBox::Yes;
}

bool QtMessageBoxes::TrustCertificate(QWidget* parent, const UntrustedCertificate& certificate) {
  CertificateDialog dialog(parent, certificate);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace zandor

#include "ui/message_boxes.h"

#include <QMessageBox>

namespace zandor {
namespace {

// Plain text: a store's reason may hold "<" and "&", which must show as they are.
// The texts join their lines with a line feed and a carriage return; Qt would
// draw both as breaks, leaving a blank line, so the box shows one.
void SetUp(QMessageBox& box, const QString& text) {
  box.setWindowTitle(QStringLiteral("Zandor"));
  box.setIcon(QMessageBox::NoIcon);
  box.setTextFormat(Qt::PlainText);
  QString shown = text;
  shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
  box.setText(shown);
}

}  // namespace

void QtMessageBoxes::Show(QWidget* parent, const QString& text) {
  QMessageBox box(parent);
  SetUp(box, text);
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

bool QtMessageBoxes::Ask(QWidget* parent, const QString& text) {
  QMessageBox box(parent);
  SetUp(box, text);
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace zandor

#include "ui/options_plugged_in.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QVBoxLayout>

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(OptionsPluggedIn)
};

}  // namespace

QGroupBox* PluggedInFrame::Build(QWidget* dialog) {
  auto* frame = new QGroupBox(Text::tr("When the Kelvo is plugged in"), dialog);
  frame->setObjectName(QStringLiteral("fmPluggedIn"));
  chkPluggedInSync_ = new QCheckBox(Text::tr("Synchronise w&hen the Kelvo is plugged in"), frame);
  chkPluggedInSync_->setObjectName(QStringLiteral("chkPluggedInSync"));
  chkPluggedInSync_->setToolTip(
      Text::tr("Runs zandor --watch at each login: it synchronises, with no window open, "
               "when the Kelvo's port appears, and never in full"));
  // Every letter of these texts has a control of its own already: the
  // removals take theirs in brackets.
  chkPluggedInMailRemove_ =
      //: The accelerator is in brackets: the letters of the text are taken in this dialog
      new QCheckBox(Text::tr("Also remove messages deleted on the Kelvo (&Q)"), frame);
  chkPluggedInMailRemove_->setObjectName(QStringLiteral("chkPluggedInMailRemove"));
  chkPluggedInKelvoRemove_ = new QCheckBox(
      //: The accelerator is in brackets: the letters of the text are taken in this dialog
      Text::tr("Also remove from the Kelvo messages deleted in the mail (&X)"), frame);
  chkPluggedInKelvoRemove_->setObjectName(QStringLiteral("chkPluggedInKelvoRemove"));
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(chkPluggedInSync_);
  for (QCheckBox* removal : {chkPluggedInMailRemove_, chkPluggedInKelvoRemove_}) {
    auto* indented = new QHBoxLayout;
    indented->addSpacing(20);
    indented->addWidget(removal);
    layout->addLayout(indented);
  }
  QObject::connect(chkPluggedInSync_, &QCheckBox::toggled, dialog, [this] { Follow(); });
  Follow();
  return frame;
}

std::vector<QWidget*> PluggedInFrame::TabOrder() const {
  return {chkPluggedInSync_, chkPluggedInMailRemove_, chkPluggedInKelvoRemove_};
}

void PluggedInFrame::Restore(const PluggedInOptions& stored) {
  chkPluggedInSync_->setChecked(stored.sync);
  chkPluggedInMailRemove_->setChecked(stored.removeFromMail);
  chkPluggedInKelvoRemove_->setChecked(stored.removeFromKelvo);
  Follow();
}

PluggedInOptions PluggedInFrame::Chosen() const {
  return {chkPluggedInSync_->isChecked(), chkPluggedInMailRemove_->isChecked(),
          chkPluggedInKelvoRemove_->isChecked()};
}

void PluggedInFrame::Follow() {
  chkPluggedInMailRemove_->setEnabled(chkPluggedInSync_->isChecked());
  chkPluggedInKelvoRemove_->setEnabled(chkPluggedInSync_->isChecked());
}

}  // namespace zandor

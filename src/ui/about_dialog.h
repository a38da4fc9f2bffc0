#pragma once

#include <QDialog>

namespace zandor {

// frmAbout, "About Zandor": the title, the version, what the program does,
// who made it, its licence and where to report a problem; cmdOK closes it.
// Shown modeless.
class AboutDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

// The version line the about box shows.
QString VersionLine();

}  // namespace zandor

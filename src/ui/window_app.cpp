#include "ui/window_app.h"

#include <QFileInfo>
#include <QIcon>

#include "session/clock.h"
#include "settings/qsettings_store.h"
#include "store/maildir/maildir_store.h"
#include "ui/main_window.h"

namespace zandor {
namespace {

// The icon from the PNGs the program carries (no SVG plug-in needed), in
// every size the window manager may ask for; the theme's when there are none.
QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString png = QStringLiteral(":/icons/zandor-%1.png").arg(size);
    if (QFileInfo::exists(png)) icon.addFile(png, QSize(size, size));
  }
  return icon.isNull() ? QIcon::fromTheme(QStringLiteral("zandor")) : icon;
}

}  // namespace

std::unique_ptr<InterruptNotifier> StopOnSignals(MainWindow& window) {
  return std::make_unique<InterruptNotifier>(
      0, [&window](const Interrupt&) { window.StopAndClose(); });
}

int RunWindowApp(QApplication& app, SerialLine& line, const QString& detailsPath) {
  QGuiApplication::setDesktopFileName(QStringLiteral("zandor"));
  QApplication::setWindowIcon(ProgramIcon());
  QSettingsStore settings;
  if (const std::optional<QString> unreadable = settings.Unreadable()) {
    QtMessageBoxes().Show(nullptr, *unreadable);
    return 1;
  }
  const SystemClock clock;
  MainWindow window(
      MainWindowServices{settings, line, clock,
                         [&clock](const QString& root) -> std::unique_ptr<MailStore> {
                           return std::make_unique<MaildirStore>(root, QLocale::system(), clock);
                         },
                         RecordDateLocale(), nullptr, nullptr, AskPassword, settings.FilePath()});
  const std::unique_ptr<InterruptNotifier> stop = StopOnSignals(window);
  if (!detailsPath.isEmpty()) window.ShowRunLog(detailsPath);
  window.show();
  return app.exec();
}

}  // namespace zandor

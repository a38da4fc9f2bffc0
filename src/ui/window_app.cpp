#include "ui/window_app.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>

#include "session/clock.h"
#include "settings/qsettings_store.h"
#include "store/maildir/maildir_store.h"
#include "ui/main_window.h"

namespace zandor {
namespace {

// The installed icon: from the icon theme, else beside the installed program.
QIcon ProgramIcon() {
  QIcon icon = QIcon::fromTheme(QStringLiteral("zandor"));
  if (!icon.isNull()) return icon;
  const QString installed =
      QDir(QCoreApplication::applicationDirPath())
          .filePath(QStringLiteral("../share/icons/hicolor/scalable/apps/zandor.svg"));
  if (QFileInfo::exists(installed)) icon = QIcon(installed);
  return icon;
}

}  // namespace

int RunWindowApp(QApplication& app, std::unique_ptr<SerialLine> line) {
  QGuiApplication::setDesktopFileName(QStringLiteral("zandor"));
  QApplication::setWindowIcon(ProgramIcon());
  QSettingsStore settings;
  if (const std::optional<QString> unreadable = settings.Unreadable()) {
    QMessageBox::critical(
        nullptr, QStringLiteral("Zandor"),
        QString(*unreadable).replace(QStringLiteral("\n\r"), QStringLiteral("\n")));
    return 1;
  }
  const SystemClock clock;
  MainWindow window(MainWindowServices{
      settings, *line, clock, [&clock](const QString& root) -> std::unique_ptr<MailStore> {
        return std::make_unique<MaildirStore>(root, QLocale::system(), clock);
      }});
  window.show();
  return app.exec();
}

}  // namespace zandor

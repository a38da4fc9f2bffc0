// The main of every test binary: a Qt application object (widgets where the
// binary tests windows), the offscreen platform, and a settings home of its own
// (and logs) so that no test ever reads or writes the user's real settings.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>

#ifdef ZANDOR_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QTemporaryDir configHome;
  if (!configHome.isValid()) return 3;
  setenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit().constData(), 1);
  setenv("XDG_STATE_HOME", configHome.path().toLocal8Bit().constData(), 1);
  TestApplication app(argc, argv);
  return RUN_ALL_TESTS();
}

// Test entry for suites that need widgets: one QApplication for the whole run, on the
// offscreen platform unless the caller chose another (ctest's test listing sets none).
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Windows keep journals of unsaved edits in the state folder: the run's own, so that no
  // journal of the user's is offered to a test window, nor a test's left for the user.
  char stateFolder[] = "/tmp/vorn-test-state-XXXXXX";
  if (::mkdtemp(stateFolder)) ::setenv("XDG_STATE_HOME", stateFolder, 1);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}

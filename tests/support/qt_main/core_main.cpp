// gtest main for tests of logic that runs on Qt's event loop (downloads,
// the update): one QCoreApplication for the run, torn down before the
// process ends, so that no download's network thread outlives it.
#include <QCoreApplication>
#include <QEvent>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  // Downloads free themselves with deleteLater; those still queued go now,
  // while Qt is whole.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return result;
}

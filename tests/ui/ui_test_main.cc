// The widget tests run inside GoogleTest on Qt's offscreen platform, with one QApplication for
// the whole run.

#include <QApplication>
#include <QtGlobal>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}

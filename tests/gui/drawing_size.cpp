// The child process of a test that needs an exact drawing area: the offscreen screen is made
// the drawing size plus the menu bar, without window frames.
#include "drawing_size.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>

namespace lab::gui {

namespace {

constexpr char SizeVariable[] = "LAB_GUI_DRAWING_SIZE";

}  // namespace

bool atDrawingSize(int width, int height) {
  const QString wanted = QString("%1x%2").arg(width).arg(height);
  if (qEnvironmentVariable(SizeVariable) == wanted) return true;

  // The main window fixes its bar at this height, so the screen gets exactly that much more.
  QMenuBar probe;
  probe.addMenu(QStringLiteral("DESK |"));
  const int barHeight = probe.sizeHint().height();

  QTemporaryDir folder;
  EXPECT_TRUE(folder.isValid());
  const QString config = folder.filePath("screen.json");
  QFile file(config);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QString(R"({"windowFrameMargins": false, "screens": [{"name": "lab", "x": 0, "y": 0,)"
                     R"( "width": %1, "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96,)"
                     R"( "dpr": 1}]})")
                 .arg(width)
                 .arg(height + barHeight)
                 .toUtf8());
  file.close();

  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
  environment.insert(SizeVariable, wanted);
  child.setProcessEnvironment(environment);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(),
              {QString("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
  const bool ended = child.waitForFinished(20000);
  if (!ended) child.kill();
  const QString output = QString::fromUtf8(child.readAll());
  EXPECT_TRUE(ended) << "the child at " << wanted.toStdString() << " did not end";
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
  EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.")) << output.toStdString();
  return false;
}

}  // namespace lab::gui

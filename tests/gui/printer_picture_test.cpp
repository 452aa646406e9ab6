// The printer without a configured printer, and pictures loaded from the current folder.
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include "gui_support.h"

namespace lab::gui {
namespace {

using PrinterPictureTest = PlatformTest;

TEST_F(PrinterPictureTest, NoPrinterFailsWithOneBoxPerJob) {
  if (!QPrinterInfo::defaultPrinter().isNull()) {
    GTEST_SKIP() << "a default printer is configured on this machine";
  }
  BoxAnswerer answerer(*platform);
  EXPECT_FALSE(platform->printer_write("", true));
  EXPECT_FALSE(platform->printer_set_font_size(12));
  EXPECT_FALSE(platform->printer_write("    t(s) ", false));
  EXPECT_FALSE(platform->printer_end_page());
  EXPECT_FALSE(platform->printer_end_job());
  ASSERT_EQ(answerer.texts.size(), 1u);
  EXPECT_EQ(answerer.texts[0], "Kein Drucker gefunden.\nDie Tabelle wurde nicht gedruckt.");
  // The next job tries again and says so again.
  EXPECT_FALSE(platform->printer_write("", true));
  EXPECT_EQ(answerer.texts.size(), 2u);
}

TEST_F(PrinterPictureTest, FailedJobIsTriedAgainByTheNextMenuCommand) {
  if (!QPrinterInfo::defaultPrinter().isNull()) {
    GTEST_SKIP() << "a default printer is configured on this machine";
  }
  BoxAnswerer answerer(*platform);
  int commands = 0;
  platform->install_menu({"AUSGABE |", "Tabelle &drucken", "", ""}, [&](int) {
    ++commands;
    EXPECT_FALSE(platform->printer_write("", true));  // the command stops at the failure
  });
  QAction* print = platform->mainWindow()->menuBar()->actions().at(0)->menu()->actions().at(0);
  print->trigger();
  platform->process_events();
  print->trigger();
  platform->process_events();
  EXPECT_EQ(commands, 2);
  EXPECT_EQ(answerer.texts.size(), 2u);
}

TEST_F(PrinterPictureTest, MissingPictureIsReportedAndGivesNothing) {
  QTemporaryDir folder;
  ASSERT_TRUE(platform->set_current_folder(folder.path().toStdString()));
  BoxAnswerer answerer(*platform);
  EXPECT_EQ(platform->load_picture("einschemspule.gif"), nullptr);
  ASSERT_EQ(answerer.texts.size(), 1u);
  EXPECT_EQ(answerer.texts[0], "Das Bild einschemspule.gif fehlt oder ist nicht lesbar.");
}

TEST_F(PrinterPictureTest, UnreadablePictureIsReported) {
  QTemporaryDir folder;
  QFile junk(folder.filePath("ausschemkond.gif"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("GIF89a but nothing more");
  junk.close();
  ASSERT_TRUE(platform->set_current_folder(folder.path().toStdString()));
  BoxAnswerer answerer(*platform);
  EXPECT_EQ(platform->load_picture("ausschemkond.gif"), nullptr);
  ASSERT_EQ(answerer.texts.size(), 1u);
  EXPECT_EQ(answerer.texts[0], "Das Bild ausschemkond.gif fehlt oder ist nicht lesbar.");
}

TEST_F(PrinterPictureTest, PictureIsStretchedIntoItsRectangle) {
  // A 2 x 2 picture of four colours (QImage writes no GIF, so a PNG stands in).
  QImage four(2, 2, QImage::Format_RGB32);
  four.setPixelColor(0, 0, Qt::red);
  four.setPixelColor(1, 0, Qt::green);
  four.setPixelColor(0, 1, Qt::blue);
  four.setPixelColor(1, 1, Qt::yellow);
  QTemporaryDir folder;
  ASSERT_TRUE(four.save(folder.filePath("four.png")));
  ASSERT_TRUE(platform->set_current_folder(folder.path().toStdString()));
  const ImageHandle picture = platform->load_picture("four.png");
  ASSERT_NE(picture, nullptr);
  ASSERT_TRUE(platform->set_window_background(0, Magenta));
  // ScaleX(4), ScaleY(4), ScaleX(310), ScaleY(192) at 800 x 600.
  platform->put_picture_stretched(picture, 10, 12, 775, 576);
  EXPECT_EQ(pixel(20, 20), QColor(Qt::red));
  EXPECT_EQ(pixel(775, 20), QColor(Qt::green));
  EXPECT_EQ(pixel(20, 580), QColor(Qt::blue));
  EXPECT_EQ(pixel(775, 580), QColor(Qt::yellow));
  EXPECT_EQ(pixel(9, 20), qcolour(Magenta));
  EXPECT_EQ(pixel(785, 20), qcolour(Magenta));
  EXPECT_EQ(pixel(20, 588), qcolour(Magenta));
}

TEST_F(PrinterPictureTest, PictureFolderIsBesideTheProgramOrItsDataFolder) {
  const QDir beside(QCoreApplication::applicationDirPath());
  const QString installed = QDir::cleanPath(beside.absolutePath() + "/../share/coillab");
  const bool picturesBeside = !beside.entryList({"*.gif"}, QDir::Files).isEmpty();
  const bool useBeside = picturesBeside || !QDir(installed).exists();
  EXPECT_EQ(platform->picture_folder(),
            (useBeside ? beside.absolutePath() : installed).toStdString());
  EXPECT_TRUE(platform->set_current_folder(platform->picture_folder()));
  EXPECT_FALSE(platform->set_current_folder("/no/such/folder/at/all"));
}

}  // namespace
}  // namespace lab::gui

// The printer without a configured printer, the printed page's lines, and pictures loaded from
// the current folder.
#include <cmath>

#include <QCoreApplication>
#include <QDir>
#include <QFontMetricsF>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTemporaryDir>

#include "gui_support.h"
#include "platform/qt/fonts.h"
#include "platform/qt/printer_job_cups.h"
#include "platform/qt/printer_job_lines.h"

namespace lab::gui {
namespace {

using PrinterPictureTest = PlatformTest;

TEST_F(PrinterPictureTest, NoPrinterFailsWithOneBoxPerJob) {
  if (!defaultQueue().empty()) {
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
  if (!defaultQueue().empty()) {
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

TEST_F(PrinterPictureTest, EmptyLinesTakeTheirHeightOnThePrintedPage) {
  // An A4 page at 72 dots per inch, printed as the table command does: one empty line, two more,
  // the heading, an empty line and the first row.
  QImage page(595, 842, QImage::Format_RGB32);
  page.setDotsPerMeterX(2835);
  page.setDotsPerMeterY(2835);
  page.fill(Qt::white);
  const QFont font = makeFont("mono", 12.0, 72.0);
  {
    QPainter painter(&page);
    int newPages = 0;
    PrintedLines lines(painter, [&] { return ++newPages > 0; });
    for (const char* text : {"", "", "", "    t(s)   I(µA)", "", "    0,00    0,00"}) {
      ASSERT_TRUE(lines.write(QString::fromUtf8(text), font, true));
    }
    EXPECT_EQ(newPages, 0) << "the six lines fit on the first page";
  }
  // Rows of the page that carry ink, against the bands of the font's line spacing.
  const QFontMetricsF metrics(font, &page);
  const double spacing = metrics.lineSpacing();
  ASSERT_NEAR(spacing, 12.0 * 1.13, 1.0);  // Liberation Mono's line spacing is 1.133 em
  auto inkIn = [&](double top, double bottom) {
    int rows = 0;
    for (int y = std::max(0, static_cast<int>(std::ceil(top)));
         y < std::min(page.height(), static_cast<int>(std::floor(bottom))); ++y) {
      for (int x = 0; x < page.width(); ++x) {
        if (qGray(page.pixel(x, y)) < 128) {
          ++rows;
          break;
        }
      }
    }
    return rows;
  };
  EXPECT_EQ(inkIn(0.0, 3.0 * spacing), 0) << "the three empty lines";
  EXPECT_GT(inkIn(3.0 * spacing, 4.0 * spacing), 5) << "the heading on the fourth line";
  EXPECT_EQ(inkIn(4.0 * spacing, 5.0 * spacing), 0) << "the empty line below the heading";
  EXPECT_GT(inkIn(5.0 * spacing, 6.0 * spacing), 5) << "the first row on the sixth line";
  EXPECT_EQ(inkIn(6.0 * spacing, page.height()), 0);
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

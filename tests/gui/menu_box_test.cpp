// The menu bar built from its table, and message boxes with their modality.
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "gui_support.h"

namespace lab::gui {
namespace {

const std::vector<std::string> MenuTable = {"DESK |",
                                            "&Quit",
                                            "-------------",
                                            "(Neu-)&Start",
                                            "&Info",
                                            "&Autor",
                                            "",
                                            "BAUTEILE |",
                                            "W&erte zeigen",
                                            "--------------",
                                            "&Batteriespannung",
                                            "&Anfangsstrom I",
                                            "&Widerstand R",
                                            "Widerstand &R2",
                                            "&Induktivität L",
                                            "&Zeitschritt dt",
                                            "",
                                            "AUSGABE |",
                                            "Zeichnen in &leeres Fenster",
                                            "&Grafik überschreiben",
                                            "&Bildschirm löschen",
                                            "&Hardcopy",
                                            "--------------------",
                                            "Tabelle &zeigen",
                                            "Tabelle &drucken",
                                            "---------------------",
                                            "&Einschalten - Schema zeigen",
                                            "&Ausschalten - Schema zeigen",
                                            "---------------------",
                                            "&Mausmessen",
                                            "",
                                            "Umschalten - <0> oder <1> ! |",
                                            "&Hilfe",
                                            "",
                                            ""};

class MenuBoxTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    platform->install_menu(MenuTable, [this](int index) { chosen.push_back(index); });
  }
  QList<QMenu*> menus() const {
    QList<QMenu*> found;
    for (QAction* a : platform->mainWindow()->menuBar()->actions()) found << a->menu();
    return found;
  }
  QAction* entry(int index) const {
    int group = 0;
    int first = 1;
    for (std::size_t i = 0; i < MenuTable.size() && static_cast<int>(i) < index; ++i) {
      if (MenuTable[i].empty()) {
        ++group;
        first = static_cast<int>(i) + 2;
      }
    }
    return menus().at(group)->actions().at(index - first);
  }
  std::vector<int> chosen;
};

TEST_F(MenuBoxTest, BarShowsTheTitlesAsTheyAre) {
  QStringList titles;
  for (QMenu* m : menus()) titles << m->title();
  EXPECT_EQ(titles,
            QStringList({"DESK |", "BAUTEILE |", "AUSGABE |", "Umschalten - <0> oder <1> ! |"}));
}

TEST_F(MenuBoxTest, EntriesAndDividersAreOrdinaryEntries) {
  QStringList desk;
  for (QAction* a : menus().at(0)->actions()) desk << a->text();
  EXPECT_EQ(desk, QStringList({"&Quit", "-------------", "(Neu-)&Start", "&Info", "&Autor"}));
  EXPECT_EQ(menus().at(1)->actions().size(), 8);
  EXPECT_EQ(menus().at(2)->actions().size(), 12);
  EXPECT_EQ(menus().at(3)->actions().size(), 1);
  for (QMenu* m : menus()) {
    for (QAction* a : m->actions()) EXPECT_FALSE(a->isSeparator()) << a->text().toStdString();
  }
}

TEST_F(MenuBoxTest, ChoosingAnEntryCallsTheHandlerWithItsTableIndex) {
  for (int index : {1, 2, 9, 15, 22, 25, 29, 32}) {
    ASSERT_EQ(entry(index)->text().toStdString(), MenuTable[index]);
    entry(index)->trigger();
    platform->process_events();
  }
  EXPECT_EQ(chosen, (std::vector<int>{1, 2, 9, 15, 22, 25, 29, 32}));
}

TEST_F(MenuBoxTest, ChoiceRunsInsideAWaitForEvents) {
  QTimer::singleShot(20, platform->mainWindow(), [&] { entry(23)->trigger(); });
  while (chosen.empty() && platform->main_window_exists()) platform->wait_for_event();
  EXPECT_EQ(chosen, std::vector<int>{23});
}

TEST_F(MenuBoxTest, BoxShowsTheExactLinesAndTheSingleButtonOK) {
  BoxAnswerer answerer(*platform);
  platform->message_box(
      " Tasten <0> u. <1> | bedienen den Schalter !|| Die Zeit läuft, wenn eine|"
      " der Tasten gedrückt ist.",
      BoxSymbol::Information);
  ASSERT_EQ(answerer.texts.size(), 1u);
  EXPECT_EQ(answerer.texts[0],
            " Tasten <0> u. <1> \n bedienen den Schalter !\n\n Die Zeit läuft, wenn eine\n"
            " der Tasten gedrückt ist.");
  EXPECT_EQ(answerer.buttons[0], QStringList({"OK"}));
  EXPECT_EQ(answerer.icons[0], QMessageBox::Information);
  EXPECT_EQ(platform->currentMessageBox(), nullptr);
}

TEST_F(MenuBoxTest, AuthorBoxHasAnotherSymbol) {
  QMessageBox::Icon icon = QMessageBox::Information;
  bool hasPixmap = false;
  BoxAnswerer answerer(*platform, [&](QMessageBox& box) {
    icon = box.icon();
    hasPixmap = !box.iconPixmap().isNull();
  });
  platform->message_box("Programmautor:     ||x| ", BoxSymbol::Author);
  ASSERT_EQ(answerer.texts.size(), 1u);
  EXPECT_NE(icon, QMessageBox::Information);
  EXPECT_TRUE(hasPixmap);
}

TEST_F(MenuBoxTest, NoMenuChoiceNorKeyGetsThroughWhileABoxShows) {
  bool barEnabled = true;
  BoxAnswerer answerer(*platform, [&](QMessageBox&) {
    barEnabled = platform->mainWindow()->menuBar()->isEnabled();
    entry(1)->trigger();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, "1");
    QApplication::sendEvent(platform->mainWindow(), &key);
    QCoreApplication::processEvents();
  });
  platform->message_box("Hier nicht implementiert", BoxSymbol::Information);
  platform->process_events();
  EXPECT_FALSE(barEnabled);
  EXPECT_TRUE(chosen.empty());
  EXPECT_EQ(platform->read_key(), "");
  EXPECT_TRUE(platform->mainWindow()->menuBar()->isEnabled());
  // Afterwards the menu works again.
  entry(1)->trigger();
  platform->process_events();
  EXPECT_EQ(chosen, std::vector<int>{1});
}

TEST_F(MenuBoxTest, ClosingTheMainWindowWhileABoxShowsEndsTheBox) {
  Driver closer([&] {
    if (!platform->currentMessageBox()) return false;
    platform->mainWindow()->close();
    return true;
  });
  platform->message_box("Unbedingt mit Maustaste 3 beenden !", BoxSymbol::Information);
  EXPECT_TRUE(closer.done());
  EXPECT_FALSE(platform->main_window_exists());
  EXPECT_TRUE(platform->close_requested());
  EXPECT_EQ(platform->currentMessageBox(), nullptr);
}

}  // namespace
}  // namespace lab::gui

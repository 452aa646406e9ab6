// The menu bar of both running programs: titles and entries with their access keys, entries
// chosen with the mouse or the keyboard running their commands, the boxes those commands show
// with their exact lines, their modality, and closing the window while one shows.
#include <cmath>
#include <ostream>
#include <set>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "program_driver.h"

namespace lab::gui {
namespace {

const QColor blue(0, 0, 255);

struct ProgramCase {
  const char* name;
  const VariantData& (*variant)();
  // The entries of index 11 and 14, and the closed forms of a run with the start-up values
  // and the switch on: the upper and the lower curve at step k.
  std::string initialEntry;
  std::string storageEntry;
  std::function<double(int)> upper;
  std::function<double(int)> lower;
  std::string summary;
  std::string helpText;
};

const std::string KeysHelp =
    " Tasten <0> u. <1> \n bedienen den Schalter !\n\n Die Zeit läuft, wenn eine\n"
    " der Tasten gedrückt ist.";

// Test names in listings show the case, not its bytes.
void PrintTo(const ProgramCase& c, std::ostream* os) {
  *os << c.name;
}

class ProgramMenuTest : public ::testing::TestWithParam<ProgramCase> {};

// The graph band that every restart puts back: x 0 to GraphRight, y 0 to SnapshotBottom.
QRect graphBand(Grid g) {
  return QRect(QPoint(0, 0), QPoint(g.graphRight(), g.scaleY(199)));
}

// The menu as the pupil sees it: per group the title and its entries.
std::vector<std::vector<std::string>> expectedMenu(const ProgramCase& c) {
  return {{"DESK |", "&Quit", std::string(13, '-'), "(Neu-)&Start", "&Info", "&Autor"},
          {"BAUTEILE |", "W&erte zeigen", std::string(14, '-'), "&Batteriespannung", c.initialEntry,
           "&Widerstand R", "Widerstand &R2", c.storageEntry, "&Zeitschritt dt"},
          {"AUSGABE |", "Zeichnen in &leeres Fenster", "&Grafik überschreiben",
           "&Bildschirm löschen", "&Hardcopy", std::string(20, '-'), "Tabelle &zeigen",
           "Tabelle &drucken", std::string(21, '-'), "&Einschalten - Schema zeigen",
           "&Ausschalten - Schema zeigen", std::string(21, '-'), "&Mausmessen"},
          {"Umschalten - <0> oder <1> ! |", "&Hilfe"}};
}

std::vector<std::vector<std::string>> shownMenu(QtPlatform& platform) {
  std::vector<std::vector<std::string>> shown;
  for (QAction* group : platform.mainWindow()->menuBar()->actions()) {
    std::vector<std::string> texts{group->text().toStdString()};
    if (group->menu()) {
      for (QAction* a : group->menu()->actions()) texts.push_back(a->text().toStdString());
    }
    shown.push_back(texts);
  }
  return shown;
}

TEST_P(ProgramMenuTest, BarShowsTheFourTitlesAndEveryEntryWithItsAccessKey) {
  const ProgramCase& c = GetParam();
  ProgramRun run(c.variant());
  std::vector<std::vector<std::string>> shown;
  std::vector<std::set<QChar>> accessKeys;
  run.afterTitle()
      .then([&] {
        shown = shownMenu(run.platform());
        for (QAction* group : run.platform().mainWindow()->menuBar()->actions()) {
          std::set<QChar> keys;
          for (QAction* a : group->menu()->actions()) {
            const QString text = a->text();
            const qsizetype amp = text.indexOf('&');
            if (amp < 0) continue;  // the dividers have none
            EXPECT_EQ(text.count('&'), 1) << text.toStdString();
            if (amp + 1 >= text.size()) {
              ADD_FAILURE() << "no key after the & of " << text.toStdString();
              continue;
            }
            EXPECT_TRUE(text.at(amp + 1).isLetter()) << text.toStdString();
            // Two entries of one menu with the same key could not both be reached by it.
            EXPECT_TRUE(keys.insert(text.at(amp + 1).toLower()).second) << text.toStdString();
            EXPECT_FALSE(a->isSeparator());
          }
          accessKeys.push_back(keys);
        }
        return true;
      })
      .close();
  run.run();
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
  EXPECT_EQ(shown, expectedMenu(c));
  ASSERT_EQ(accessKeys.size(), 4u);
  EXPECT_EQ(accessKeys[1].size(), 7u);
  EXPECT_EQ(accessKeys[2].size(), 9u);
}

// Holds key 1 for ten steps, then chooses the entry: its box must show the text, and a restart
// must put the blank graph back with the time at its beginning.
struct BoxCommand {
  const char* name;
  int index;
  std::function<std::string(const ProgramCase&)> text;
  bool restarts;
};

// Test names in listings show the case, not its bytes.
void PrintTo(const BoxCommand& c, std::ostream* os) {
  *os << c.name;
}

class BoxCommandTest : public ::testing::TestWithParam<std::tuple<ProgramCase, BoxCommand>> {};

TEST_P(BoxCommandTest, ChosenAfterARunShowsItsLinesAndRestartsOrNot) {
  const auto& [c, command] = GetParam();
  ProgramRun run(c.variant());
  QImage blank;
  QImage beforeBox;
  std::string shown;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
  run.afterTitle()
      .then([&] {
        blank = run.image()->copy();
        return true;
      })
      .keys("1", 10)
      .then([&] {
        if (!run.platform().mainWindow()->keys.empty()) return false;
        const Grid g = run.grid();
        // The curves are there: the upper one at step 9.
        if (const auto y = g.plotY(c.upper(9), g.voltageZero())) {
          EXPECT_EQ(run.at(g.plotX(0.45), *y), QColor(255, 255, 255));
        }
        EXPECT_NE(run.image()->copy(graphBand(g)), blank.copy(graphBand(g)));
        EXPECT_NEAR(run.ctx().sim.t, 0.45, 1e-9);
        beforeBox = run.image()->copy();
        return true;
      })
      .choose(command.index)
      .then([&] {
        QMessageBox* box = run.platform().currentMessageBox();
        if (!box || !box->isVisible()) return false;
        shown = box->text().toStdString();
        icon = box->icon();
        for (QAbstractButton* b : box->buttons()) buttons << b->text();
        EXPECT_EQ(box->defaultButton(), box->buttons().value(0));
        box->defaultButton()->click();
        return true;
      })
      .then([&] {
        if (run.boxShowing()) return false;
        const Grid g = run.grid();
        if (command.restarts) {
          EXPECT_DOUBLE_EQ(run.ctx().sim.t, -0.05);
          EXPECT_EQ(run.image()->copy(graphBand(g)), blank.copy(graphBand(g)));
        } else {
          EXPECT_NEAR(run.ctx().sim.t, 0.45, 1e-9);
          EXPECT_EQ(*run.image(), beforeBox);
        }
        return true;
      })
      .close();
  run.run();
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
  EXPECT_EQ(shown, command.text(c));
  EXPECT_EQ(icon, QMessageBox::Information);
  EXPECT_EQ(buttons, QStringList({"OK"}));
}

TEST_P(ProgramMenuTest, AuthorBoxHasItsEightLinesAndItsOwnSymbol) {
  ProgramRun run(GetParam().variant());
  std::string text;
  QMessageBox::Icon icon = QMessageBox::Information;
  bool ownPicture = false;
  QStringList buttons;
  run.afterTitle()
      .choose(5)
      .then([&] {
        QMessageBox* box = run.platform().currentMessageBox();
        if (!box || !box->isVisible()) return false;
        text = box->text().toStdString();
        icon = box->icon();
        ownPicture = !box->iconPixmap().isNull();
        for (QAbstractButton* b : box->buttons()) buttons << b->text();
        box->defaultButton()->click();
        return true;
      })
      .close();
  run.run();
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  const QStringList lines = QString::fromStdString(text).split('\n');
  ASSERT_EQ(lines.size(), 8) << text;
  EXPECT_EQ(lines[0], "Programmautor:     ");
  EXPECT_EQ(lines[1], "");
  EXPECT_FALSE(lines[2].trimmed().isEmpty());
  EXPECT_EQ(lines[3], "");
  for (int i : {4, 5, 6}) EXPECT_FALSE(lines[i].trimmed().isEmpty()) << i;
  EXPECT_EQ(lines[7], " ");
  EXPECT_NE(icon, QMessageBox::Information);
  EXPECT_TRUE(ownPicture);
  EXPECT_EQ(buttons, QStringList({"OK"}));
}

TEST_P(ProgramMenuTest, NewStartBeginsTheRunAgain) {
  ProgramRun run(GetParam().variant());
  QImage blank;
  run.afterTitle()
      .then([&] {
        blank = run.image()->copy();
        return true;
      })
      .keys("1", 10)
      .then([&] { return run.platform().mainWindow()->keys.empty(); })
      .choose(3)
      .then([&] {
        // The record is emptied and the next step runs at time 0 on the blank graph.
        if (run.ctx().sim.t > 0) return false;
        EXPECT_DOUBLE_EQ(run.ctx().sim.t, -0.05);
        EXPECT_EQ(run.ctx().sampleLog.t[5], 0.0);
        const QRect band = graphBand(run.grid());
        EXPECT_EQ(run.image()->copy(band), blank.copy(band));
        return true;
      })
      .keys("1")
      .then([&] {
        if (run.ctx().sim.t < 0) return false;
        EXPECT_DOUBLE_EQ(run.ctx().sim.t, 0.0);
        EXPECT_DOUBLE_EQ(run.ctx().sampleLog.t[1], 0.0);
        return true;
      })
      .close();
  run.run();
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
}

TEST_P(ProgramMenuTest, EntryChosenWithItsAccessKeyInTheOpenMenuRunsIt) {
  ProgramRun run(GetParam().variant());
  std::string shown;
  run.afterTitle()
      .then([&] {
        // BAUTEILE opened, then its "e" as typed by the pupil.
        QMenu* menu = run.platform().mainWindow()->menuBar()->actions().at(1)->menu();
        menu->popup(run.platform().mainWindow()->mapToGlobal(QPoint(0, 0)));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_E, Qt::NoModifier, "e");
        QApplication::sendEvent(menu, &press);
        return true;
      })
      .answerBox(&shown)
      .close();
  run.run();
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
  EXPECT_EQ(shown, GetParam().summary);
}

TEST_P(ProgramMenuTest, NoChoiceNorKeyReachesTheProgramWhileABoxShows) {
  ProgramRun run(GetParam().variant());
  bool barEnabled = true;
  run.afterTitle()
      .choose(21)
      .then([&] {
        if (!run.boxShowing()) return false;
        barEnabled = run.platform().mainWindow()->menuBar()->isEnabled();
        run.entry(1)->trigger();  // "&Quit"
        QKeyEvent key(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, "1");
        QApplication::sendEvent(run.platform().mainWindow(), &key);
        return true;
      })
      .answerBox()
      .then([&] {
        // Nothing of it arrived: the program still runs and has taken no step.
        if (run.boxShowing()) return false;
        EXPECT_EQ(run.ctx().QuitMarker, "");
        EXPECT_TRUE(run.platform().mainWindow()->keys.empty());
        EXPECT_DOUBLE_EQ(run.ctx().sim.t, -0.05);
        EXPECT_TRUE(run.platform().mainWindow()->menuBar()->isEnabled());
        return true;
      })
      .choose(1);
  run.run();
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
  EXPECT_FALSE(barEnabled);
  EXPECT_EQ(run.ctx().QuitMarker, "*");  // the menu works again after the box
}

TEST_P(ProgramMenuTest, ClosingTheWindowWhileAMenuBoxShowsEndsTheProgram) {
  ProgramRun run(GetParam().variant());
  run.afterTitle().choose(8).then([&] { return run.boxShowing(); }).close();
  EXPECT_EQ(run.runMain(), 0);
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
  EXPECT_FALSE(run.boxShowing());
}

TEST_P(ProgramMenuTest, QuitEndsTheProgram) {
  ProgramRun run(GetParam().variant());
  run.afterTitle().choose(1);
  EXPECT_EQ(run.runMain(), 0);
  EXPECT_TRUE(run.finished()) << "stopped at step " << run.stepsDone();
  EXPECT_FALSE(run.timedOut());
}

const ProgramCase Coil{
    "coillab",
    coilVariant,
    "Anfangsstrom &I",
    "Induktivität &L",
    [](int k) { return -10 * std::pow(0.95, k); },
    [](int k) { return 10 * (1 - std::pow(0.95, k)); },
    "    PARAMETER   \n\nBatteriespg. Uo = 10 V \nAnfangsstrom Spule I = 0 A \n"
    "Induktivität L  = 1mH \nWiderstand   R  = 1 kOhm \nWiderstand   R2 = 0.5 kOhm \n"
    "Zeitschritt  dt = 0.05 s \n",
    "\nDurch eine Spule L kann der Spulen-\nstrom I fließen.\n\nFragestellungen\n"
    "- In welchem Stromkreis fließt der\nSpulenstrom (je nach Schalterstel-\n"
    "lung)? Richtung? Grund?\n- Wie verändert sich die Induktions-\n"
    "Spannung U im Lauf der Zeit?\n- Wie verändert sich der Spulenstrom\n"
    "I im Lauf der Zeit; insbesondere\nnach dem Schließen und nach dem\n"
    "Öffnen des Schalters?\n- Wovon hängt der maximale Einschalt-\n"
    "strom I durch die Spule ab; wovon\nder maximale Ausschaltstrom?\n"
    "- Wovon hängt die Spitzenspannung  U\nunmittelbar nach dem Schließen oder\n"
    "Öffnen des Schalters ab?\n"};

const ProgramCase Capacitor{
    "caplab",
    capacitorVariant,
    "&Anfangsspannung",
    "Kapazität &C",
    [](int k) { return 10 * (1 - std::pow(0.95, k)); },
    [](int k) { return 10 * std::pow(0.95, k); },
    "Batteriespannung Uo = 10 V\nAnfangsspannung/Kondensator U = 0 V\nKapazität C = 1µF\n"
    "Widerstand R = 1 MOhm\nWiderstand R2 = 1 MOhm\nZeitschritt dt = 0.05 s\n",
    "\nEin Kondensator C wird über einen\nWiderstand R geladen und über die\n"
    "Widerstände R und R´ entladen.\n\n\nFragestellungen -\n\n\n"
    "- In welchem Stromkreis fließt der\nLadestrom? In welchem der Entlade-\n"
    "strom? Richtung jeweils?\n- Wie verändert sich die Kondensator-\n"
    "Spannung im Lauf der Zeit?\n- Wie verändert sich der Lade- und der\n"
    "Entladestrom im Lauf der Zeit?\n- Wovon hängt die maximale Ladespan-\n"
    "nung des Kondensators ab?\n- Wovon hängt die Spitzenstromstärke\n"
    "unmittelbar nach dem Schließen oder\nÖffnen des Schalters ab?\n"};

std::string programName(const ::testing::TestParamInfo<ProgramCase>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramMenuTest, ::testing::Values(Coil, Capacitor),
                         programName);

INSTANTIATE_TEST_SUITE_P(
    Programs, BoxCommandTest,
    ::testing::Combine(
        ::testing::Values(Coil, Capacitor),
        ::testing::Values(
            BoxCommand{"ValueSummary", 8, [](const ProgramCase& c) { return c.summary; }, true},
            BoxCommand{"Info", 4, [](const ProgramCase& c) { return c.helpText; }, true},
            BoxCommand{"KeysHelp", 32, [](const ProgramCase&) { return KeysHelp; }, false},
            BoxCommand{"Hardcopy", 21,
                       [](const ProgramCase&) { return std::string("Hier nicht implementiert"); },
                       false})),
    [](const ::testing::TestParamInfo<std::tuple<ProgramCase, BoxCommand>>& info) {
      return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

}  // namespace
}  // namespace lab::gui

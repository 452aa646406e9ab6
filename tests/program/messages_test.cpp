// Message boxes, the help texts and the boxes shown from the menu.
#include "shell/messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/screen_layout.h"
#include "recording_platform.h"
#include "shell/lab_context.h"
#include "variants/variant_data.h"

namespace lab {
namespace {

struct ProgramRun {
  explicit ProgramRun(const VariantData& variant) : platform(800, 600), ctx(platform, variant) {
    platform.open_main_window();
    setScreenMetrics(ctx.layout, 800, 600);
    computeAnchors(ctx.layout);
    ctx.layout.SnapshotBottom = 597;
    for (int i = 1; i <= 20; ++i) ctx.GraphSnapshot[i] = platform.capture_image(i, 0, 0, 0);
    platform.takeCalls();
  }
  test::RecordingPlatform platform;
  LabContext ctx;
};

std::vector<std::string> boxLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '|') {
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

const std::string CoilHelp =
    "|Durch eine Spule L kann der Spulen-|strom I fließen.||Fragestellungen|"
    "- In welchem Stromkreis fließt der|Spulenstrom (je nach Schalterstel-|"
    "lung)? Richtung? Grund?|- Wie verändert sich die Induktions-|"
    "Spannung U im Lauf der Zeit?|- Wie verändert sich der Spulenstrom|"
    "I im Lauf der Zeit; insbesondere|nach dem Schließen und nach dem|"
    "Öffnen des Schalters?|- Wovon hängt der maximale Einschalt-|"
    "strom I durch die Spule ab; wovon|der maximale Ausschaltstrom?|"
    "- Wovon hängt die Spitzenspannung  U|unmittelbar nach dem Schließen oder|"
    "Öffnen des Schalters ab?|";

const std::string CapacitorHelp =
    "|Ein Kondensator C wird über einen|Widerstand R geladen und über die|"
    "Widerstände R und R´ entladen.|||Fragestellungen -|||"
    "- In welchem Stromkreis fließt der|Ladestrom? In welchem der Entlade-|"
    "strom? Richtung jeweils?|- Wie verändert sich die Kondensator-|"
    "Spannung im Lauf der Zeit?|- Wie verändert sich der Lade- und der|"
    "Entladestrom im Lauf der Zeit?|- Wovon hängt die maximale Ladespan-|"
    "nung des Kondensators ab?|- Wovon hängt die Spitzenstromstärke|"
    "unmittelbar nach dem Schließen oder|Öffnen des Schalters ab?|";

TEST(ShowMessage, ShowsTheMessageTextAsAnInformationBox) {
  ProgramRun run(coilVariant());
  run.ctx.MessageText = "eins||drei|";
  ShowMessage(run.ctx.platform, run.ctx);
  EXPECT_EQ(run.platform.takeCalls(), (std::vector<std::string>{"message_box eins||drei|"}));
}

TEST(LoadHelpText, ReadsTheLinesAfterTheMenuUpToTheEndMark) {
  struct Case {
    const VariantData* variant;
    int count;
    std::string first;
    std::string last;
  };
  const std::vector<Case> cases = {
      {&coilVariant(), 20, "Durch eine Spule L kann der Spulen-", "Öffnen des Schalters?"},
      {&capacitorVariant(), 21, "Ein Kondensator C wird über einen", "Öffnen des Schalters?"},
  };
  for (const Case& c : cases) {
    ProgramRun run(*c.variant);
    LoadHelpText(run.ctx, run.ctx.variant);
    EXPECT_EQ(run.ctx.HelpLineCount, c.count);
    EXPECT_EQ(run.ctx.HelpLines[0], "");
    EXPECT_EQ(run.ctx.HelpLines[1], "");
    EXPECT_EQ(run.ctx.HelpLines[2], c.first);
    EXPECT_EQ(run.ctx.HelpLines[c.count + 1], "*");  // the end mark stays in the table
    EXPECT_TRUE(run.platform.takeCalls().empty());
  }
  ProgramRun coil(coilVariant());
  LoadHelpText(coil.ctx, coil.ctx.variant);
  EXPECT_EQ(coil.ctx.HelpLines[14], "Öffnen des Schalters?");
  EXPECT_EQ(coil.ctx.HelpLines[22], "");
}

TEST(ShowHelpText, BoxesHoldTheHelpLinesEachEndedByALineBreak) {
  struct Case {
    const VariantData* variant;
    std::string text;
    std::vector<int> emptyLines;
  };
  const std::vector<Case> cases = {{&coilVariant(), CoilHelp, {1, 4}},
                                   {&capacitorVariant(), CapacitorHelp, {1, 5, 6, 8, 9}}};
  for (const Case& c : cases) {
    ProgramRun run(*c.variant);
    LoadHelpText(run.ctx, run.ctx.variant);
    ShowHelpText(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant.kind);
    ASSERT_EQ(run.platform.messageBoxes.size(), 1u);
    EXPECT_EQ(run.platform.messageBoxes[0], c.text);
    EXPECT_EQ(run.ctx.MessageText, c.text);
    std::vector<std::string> lines = boxLines(c.text);
    EXPECT_EQ(lines.back(), "");  // the text ends with a line break
    lines.pop_back();
    EXPECT_EQ(static_cast<int>(lines.size()), run.ctx.HelpLineCount);
    std::vector<int> empty;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].empty()) empty.push_back(static_cast<int>(i) + 1);
    }
    EXPECT_EQ(empty, c.emptyLines) << c.variant->programName;
  }
}

TEST(ShowHelpText, AfterTheBoxTheRunStartsAgainOnTheBlankGraph) {
  ProgramRun run(capacitorVariant());
  LoadHelpText(run.ctx, run.ctx.variant);
  run.ctx.params.Initial = 4;
  run.ctx.params.dt = 0.2;
  run.ctx.sim.t = 9.8;
  run.ctx.sim.U = 1;
  run.ctx.sim.I = 3;
  run.ctx.curve.SegmentStarted = true;
  run.platform.set_output_window(2);
  run.platform.takeCalls();
  ShowHelpText(run.ctx.platform, run.ctx, run.ctx, run.ctx, run.ctx.variant.kind);
  const std::vector<std::string> calls = run.platform.takeCalls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[0].rfind("message_box |Ein Kondensator", 0), 0u);
  EXPECT_EQ(calls[1], "set_output_window 0");
  EXPECT_EQ(run.platform.callsStartingWith("put_image").size(), 20u);
  EXPECT_EQ(calls.back(), "put_image [20 0 0 0] 0 567");
  EXPECT_DOUBLE_EQ(run.ctx.sim.t, -0.2);
  EXPECT_EQ(run.ctx.sim.U, 4.0);
  EXPECT_EQ(run.ctx.sim.I, 0.0);
  EXPECT_FALSE(run.ctx.curve.SegmentStarted);
}

TEST(ShowKeysHelp, ShowsTheKeysAndLeavesTheScreenAlone) {
  ProgramRun run(coilVariant());
  run.ctx.sim.t = 1.5;
  ShowKeysHelp(run.ctx.platform, run.ctx);
  const std::string text =
      " Tasten <0> u. <1> | bedienen den Schalter !|| Die Zeit läuft, wenn eine| der Tasten "
      "gedrückt ist.";
  EXPECT_EQ(run.platform.takeCalls(), (std::vector<std::string>{"message_box " + text}));
  EXPECT_EQ(boxLines(text),
            (std::vector<std::string>{" Tasten <0> u. <1> ", " bedienen den Schalter !", "",
                                      " Die Zeit läuft, wenn eine", " der Tasten gedrückt ist."}));
  EXPECT_EQ(run.ctx.MessageText, text);
  EXPECT_EQ(run.ctx.sim.t, 1.5);
}

TEST(ShowAuthor, ShowsEightLinesInItsOwnBoxAndKeepsTheMessageText) {
  ProgramRun run(capacitorVariant());
  run.ctx.MessageText = "vorher";
  ShowAuthor(run.ctx.platform);
  const std::vector<std::string> calls = run.platform.takeCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].rfind("message_box author ", 0), 0u);
  ASSERT_EQ(run.platform.messageBoxes.size(), 1u);
  EXPECT_EQ(boxLines(run.platform.messageBoxes[0]),
            (std::vector<std::string>{"Programmautor:     ", "", "Dr. A. Beispiel", "",
                                      "Physik-Lernwerkstatt", "12345 Musterstadt",
                                      "Lehrmittelweg 1", " "}));
  EXPECT_EQ(run.ctx.MessageText, "vorher");
}

TEST(ShowNotImplemented, AnswersHardcopy) {
  ProgramRun run(coilVariant());
  ShowNotImplemented(run.ctx.platform, run.ctx);
  EXPECT_EQ(run.platform.takeCalls(),
            (std::vector<std::string>{"message_box Hier nicht implementiert"}));
  EXPECT_EQ(run.ctx.MessageText, "Hier nicht implementiert");
}

}  // namespace
}  // namespace lab

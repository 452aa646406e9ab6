// Every menu command chosen inside every wait of the program, and the main window closed inside
// every wait: the waiting command finishes as it should and the run ends cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "model/circuit_params.h"
#include "recording_platform.h"
#include "shell/lab_context.h"
#include "shell/main_procedure.h"
#include "variants/variant_data.h"

namespace lab {
namespace {

// A recording platform that counts every "1" the program reads, with the step count then.
class CountingPlatform : public test::RecordingPlatform {
 public:
  using RecordingPlatform::RecordingPlatform;

  std::string read_key() override {
    std::string key = RecordingPlatform::read_key();
    if (!key.empty()) calls.push_back("read_key " + key);  // so the log shows who took it
    if (key == "1") {
      ++onesRead;
      if (sim != nullptr) counterAtLastOne = sim->StepCounter;
    }
    return key;
  }

  const SimulationState* sim = nullptr;
  int onesRead = 0;
  std::int32_t counterAtLastOne = 0;
};

// One item of a script, so that inputs can be listed in tables.
struct Item {
  enum class Kind { Key, Line, Mouse, Menu, Close };
  Kind kind;
  std::string text;
  int value = 0;  // mouse buttons or menu index
};

Item key(const std::string& text) {
  return {Item::Kind::Key, text};
}
Item line(const std::string& text) {
  return {Item::Kind::Line, text};
}
Item mouse(int buttons) {
  return {Item::Kind::Mouse, "", buttons};
}
Item menu(int index) {
  return {Item::Kind::Menu, "", index};
}
Item closeMain() {
  return {Item::Kind::Close, ""};
}

void play(test::RecordingPlatform& platform, const std::vector<Item>& items) {
  for (const Item& item : items) {
    switch (item.kind) {
      case Item::Kind::Key:
        platform.key(item.text);
        break;
      case Item::Kind::Line:
        platform.line(item.text);
        break;
      case Item::Kind::Mouse:
        platform.mouse(100, 100, item.value);
        break;
      case Item::Kind::Menu:
        platform.menu(item.value);
        break;
      case Item::Kind::Close:
        platform.closeMainWindow();
        break;
    }
  }
}

constexpr int QuitIndex = 1;
constexpr int BothButtons = LeftButton | RightButton;

// What a command chosen from the menu needs to finish: a line for a dialog, a key for a
// prompt, both buttons (and their release) for measuring; nothing for the others.
std::vector<Item> nestedInputFor(int index) {
  switch (index) {
    case 10:
      return {line("5")};
    case 11:
      return {line("2")};
    case 12:
      return {line("3")};
    case 13:
      return {line("2")};
    case 14:
      return {line("4")};
    case 15:
      return {line("0.25")};
    case 23:
    case 26:
    case 27:
      return {key(" ")};
    case 29:
      return {mouse(BothButtons), mouse(0)};
    default:
      return {};
  }
}

enum class Wait { KeyWait, WrapPrompt, TablePrompt, PicturePrompt, DialogInput, MouseMeasuring };

const char* waitName(Wait wait) {
  switch (wait) {
    case Wait::KeyWait:
      return "KeyWait";
    case Wait::WrapPrompt:
      return "WrapPrompt";
    case Wait::TablePrompt:
      return "TablePrompt";
    case Wait::PicturePrompt:
      return "PicturePrompt";
    case Wait::DialogInput:
      return "DialogInput";
    case Wait::MouseMeasuring:
      return "MouseMeasuring";
  }
  return "";
}

// At 320x200 a time of t lies at x = 10 t + 10, and the sweep wraps once x passes 159: with
// dt 0.5 from t = -0.5 the 31st step, at t = 15 and x = 160, is the first past it.
constexpr int WrapSteps = 31;

// The "1" presses it takes to reach a wait.
int onesToReach(Wait wait) {
  return wait == Wait::WrapPrompt ? WrapSteps : 0;
}

// From the title screen into the wait.
std::vector<Item> leadInto(Wait wait) {
  // dt 0.5, then a new start so that the sweep begins at t = -dt
  std::vector<Item> items = {key(" "), menu(15), line("0.5"), menu(3)};
  switch (wait) {
    case Wait::KeyWait:
      break;
    case Wait::WrapPrompt:
      items.insert(items.end(), WrapSteps, key("1"));
      break;
    case Wait::TablePrompt:
      items.push_back(menu(23));
      break;
    case Wait::PicturePrompt:
      items.push_back(menu(26));
      break;
    case Wait::DialogInput:
      items.push_back(menu(12));
      break;
    case Wait::MouseMeasuring:
      items.push_back(menu(29));
      break;
  }
  return items;
}

constexpr double OwnResistance = 2.5;

// What the waiting command itself is given to end its wait.
std::vector<Item> ownInputFor(Wait wait) {
  switch (wait) {
    case Wait::KeyWait:
      return {};  // the "1" that follows is its input
    case Wait::WrapPrompt:
    case Wait::TablePrompt:
    case Wait::PicturePrompt:
      return {key(" ")};
    case Wait::DialogInput:
      return {line("2.5")};
    case Wait::MouseMeasuring:
      return {mouse(BothButtons)};
  }
  return {};
}

bool hasCall(const std::vector<std::string>& calls, const std::string& prefix) {
  return std::any_of(calls.begin(), calls.end(),
                     [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
}

// Position of the last call starting with the prefix; -1 when none.
long lastCall(const std::vector<std::string>& calls, const std::string& prefix) {
  for (long i = static_cast<long>(calls.size()) - 1; i >= 0; --i) {
    if (calls[static_cast<std::size_t>(i)].rfind(prefix, 0) == 0) return i;
  }
  return -1;
}

// The waiting command finished its own way; checked before shut-down closes every window.
void expectWaitFinished(Wait wait, const LabContext& ctx, const CountingPlatform& platform,
                        bool quit) {
  const std::vector<std::string>& calls = platform.calls;
  switch (wait) {
    case Wait::KeyWait:
      break;  // its "1" was read and stepped: checked for every wait
    case Wait::WrapPrompt:
      // the sweep restarted at -dt, whatever dt a nested dialog set, and the "1" stepped to 0
      EXPECT_TRUE(hasCall(calls, "print_text 0 Weiter ?"));
      EXPECT_EQ(ctx.sim.t, quit ? -ctx.params.dt : 0.0);
      break;
    case Wait::TablePrompt:
      EXPECT_TRUE(hasCall(calls, "open_window 3"));
      EXPECT_FALSE(platform.windowOpen(3));
      // closed on its own key, not before: a nested command never ends the outer prompt
      EXPECT_GT(lastCall(calls, "close_window 3"), lastCall(calls, "read_key  "));
      break;
    case Wait::PicturePrompt: {
      const long picture = lastCall(calls, "put_picture_stretched");
      ASSERT_GE(picture, 0);
      EXPECT_GT(lastCall(calls, "clear_window 0"), picture);  // the diagram came back
      EXPECT_GT(lastCall(calls, "clear_window 0"), lastCall(calls, "read_key  "));
      break;
    }
    case Wait::DialogInput:
      EXPECT_EQ(fieldOf(ctx.params, Quantity::R), OwnResistance);
      EXPECT_FALSE(platform.windowOpen(2));
      break;
    case Wait::MouseMeasuring: {
      const long cursor = lastCall(calls, "set_cursor");
      ASSERT_GE(cursor, 0);
      EXPECT_EQ(calls[static_cast<std::size_t>(cursor)], "set_cursor arrow");
      break;
    }
  }
}

class NestedMenuCommand : public ::testing::TestWithParam<std::tuple<Wait, int>> {};

TEST_P(NestedMenuCommand, LeavesTheWaitingCommandWorking) {
  const auto [wait, index] = GetParam();
  const VariantData& variant = coilVariant();
  CountingPlatform platform(320, 200);
  platform.availablePictures = {variant.switchOnPicture, variant.switchOffPicture};
  LabContext ctx(platform, variant);
  platform.sim = &ctx.sim;

  play(platform, leadInto(wait));
  platform.menu(index);
  play(platform, nestedInputFor(index));
  play(platform, ownInputFor(wait));
  platform.key("1");

  ASSERT_NO_THROW({
    StartupSequence(ctx);
    mainLoop(ctx);
  });
  expectWaitFinished(wait, ctx, platform, index == QuitIndex);

  if (index == QuitIndex) {
    // the quit ends the run at once: the last "1" is never read and nothing steps
    EXPECT_EQ(ctx.QuitMarker, "*");
    EXPECT_EQ(platform.onesRead, onesToReach(wait));
    EXPECT_EQ(ctx.sim.StepCounter, onesToReach(wait) - 1);
    EXPECT_EQ(platform.eventsLeft(), 1u);
    EXPECT_FALSE(platform.scriptExhausted());
  } else {
    EXPECT_EQ(platform.onesRead, onesToReach(wait) + 1);
    EXPECT_EQ(ctx.sim.StepCounter, platform.counterAtLastOne + 1);
    EXPECT_TRUE(platform.scriptExhausted());
    EXPECT_TRUE(ctx.mainWindowGone());
  }
  ASSERT_NO_THROW(shutDown(ctx.platform));
  EXPECT_TRUE(hasCall(platform.calls, "end_of_run"));

  // The whole program on the same script ends with status 0.
  CountingPlatform again(320, 200);
  again.availablePictures = platform.availablePictures;
  play(again, leadInto(wait));
  again.menu(index);
  play(again, nestedInputFor(index));
  play(again, ownInputFor(wait));
  again.key("1");
  int status = -1;
  ASSERT_NO_THROW(status = runMainProcedure(again, variant));
  EXPECT_EQ(status, 0);
  EXPECT_EQ(again.onesRead, platform.onesRead);
}

const std::vector<Wait> AllWaits = {Wait::KeyWait,       Wait::WrapPrompt,  Wait::TablePrompt,
                                    Wait::PicturePrompt, Wait::DialogInput, Wait::MouseMeasuring};

std::string matrixName(const ::testing::TestParamInfo<std::tuple<Wait, int>>& info) {
  return std::string(waitName(std::get<0>(info.param))) + "_Menu" +
         std::to_string(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(EveryWaitEveryIndex, NestedMenuCommand,
                         ::testing::Combine(::testing::ValuesIn(AllWaits), ::testing::Range(0, 35)),
                         matrixName);

class ClosedInWait : public ::testing::TestWithParam<Wait> {};

TEST_P(ClosedInWait, EndsTheRunWithoutAnotherStep) {
  const Wait wait = GetParam();
  const VariantData& variant = coilVariant();
  CountingPlatform platform(320, 200);
  platform.availablePictures = {variant.switchOnPicture, variant.switchOffPicture};
  play(platform, leadInto(wait));
  play(platform, {closeMain(), key("1")});

  int status = -1;
  ASSERT_NO_THROW(status = runMainProcedure(platform, variant));
  EXPECT_EQ(status, 0);
  // the run stopped at the close, not at the end of the script
  EXPECT_FALSE(platform.scriptExhausted());
  EXPECT_EQ(platform.eventsLeft(), 1u);
  EXPECT_EQ(platform.onesRead, onesToReach(wait));
  const long closed = lastCall(platform.calls, "close-main-window");
  ASSERT_GE(closed, 0);
  const std::vector<std::string> after(platform.calls.begin() + closed, platform.calls.end());
  EXPECT_FALSE(hasCall(after, "draw_line"));  // no curve segment of a further step
  EXPECT_FALSE(hasCall(after, "read_line"));
  EXPECT_TRUE(hasCall(after, "end_of_run"));
}

INSTANTIATE_TEST_SUITE_P(EveryWait, ClosedInWait, ::testing::ValuesIn(AllWaits),
                         [](const ::testing::TestParamInfo<Wait>& info) {
                           return std::string(waitName(info.param));
                         });

}  // namespace
}  // namespace lab

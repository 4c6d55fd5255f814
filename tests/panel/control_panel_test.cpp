#include "panel/control_panel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ampelsim {
namespace {

void RunSeconds(ControlPanel& panel, int seconds, bool preview = false) {
  for (int i = 0; i < seconds; ++i) {
    panel.PanelSecondTask(preview);
  }
}

TEST(ControlPanel, PushButtonsHoldTheirFlag) {
  struct Row {
    const char* Name;
    void (ControlPanel::*Down)();
    void (ControlPanel::*Up)();
    bool (ControlPanel::*Flag)() const;
  };
  const Row rows[] = {
      {"Start", &ControlPanel::StartButtonMouseDown, &ControlPanel::StartButtonMouseUp,
       &ControlPanel::StartPressed},
      {"Stop", &ControlPanel::StopButtonMouseDown, &ControlPanel::StopButtonMouseUp,
       &ControlPanel::StopPressed},
      {"Hand", &ControlPanel::HandTasterMouseDown, &ControlPanel::HandTasterMouseUp,
       &ControlPanel::HandStepPressed},
      {"Weiter", &ControlPanel::TestWeiterMouseDown, &ControlPanel::TestWeiterMouseUp,
       &ControlPanel::TestStepPressed},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    ControlPanel panel;
    EXPECT_FALSE((panel.*row.Flag)());
    (panel.*row.Down)();
    EXPECT_TRUE((panel.*row.Flag)());
    (panel.*row.Up)();
    EXPECT_FALSE((panel.*row.Flag)());
  }
}

TEST(ControlPanel, AcknowledgeStaysPendingUntilCleared) {
  ControlPanel panel;
  panel.QuittButtonMouseDown();
  RunSeconds(panel, 5);
  EXPECT_TRUE(panel.AcknowledgePending());
  panel.ClearAcknowledgePending();
  EXPECT_FALSE(panel.AcknowledgePending());
}

TEST(ControlPanel, DemandButtonReleasedWithShiftStaysPressed) {
  struct Button {
    void (ControlPanel::*Down)();
    void (ControlPanel::*Up)(bool);
    bool (ControlPanel::*Flag)() const;
    bool (ControlPanel::*Glyph)() const;
  };
  const Button buttons[] = {
      {&ControlPanel::AnforderButton1MouseDown, &ControlPanel::AnforderButton1MouseUp,
       &ControlPanel::Demand1Pressed, &ControlPanel::AnforderButton1ShowsPressed},
      {&ControlPanel::AnforderButton2MouseDown, &ControlPanel::AnforderButton2MouseUp,
       &ControlPanel::Demand2Pressed, &ControlPanel::AnforderButton2ShowsPressed},
  };
  for (int b = 0; b < 2; ++b) {
    for (bool shift : {false, true}) {
      SCOPED_TRACE(testing::Message() << "button " << b + 1 << " shift " << shift);
      const Button& button = buttons[b];
      ControlPanel panel;
      (panel.*button.Down)();
      (panel.*button.Up)(shift);
      EXPECT_EQ((panel.*button.Flag)(), shift);
      EXPECT_EQ((panel.*button.Glyph)(), shift);
      EXPECT_FALSE((panel.*buttons[1 - b].Flag)());
      (panel.*button.Down)();  // a later plain click clears it
      (panel.*button.Up)(false);
      EXPECT_FALSE((panel.*button.Flag)());
    }
  }
}

struct MonitoringSwitch {
  PanelToggle Toggle;
  std::int32_t (ControlPanel::*Counter)() const;
};
constexpr MonitoringSwitch MonitoringSwitches[] = {
    {PanelToggle::RotuebAus, &ControlPanel::RedOffSeconds},
    {PanelToggle::GruenuebAus, &ControlPanel::GreenOffSeconds},
    {PanelToggle::ZwischenAus, &ControlPanel::IntergreenOffSeconds},
    {PanelToggle::StatusAus, &ControlPanel::StatusOffSeconds},
};

TEST(ControlPanel, MonitoringSwitchSpringsBack600SecondsAfterTheLastPress) {
  struct Row {
    int PressedAgainAt;  // 0: pressed only at second 0
    int SpringsBackAt;
  };
  const Row rows[] = {{0, 600}, {500, 1100}};
  for (const MonitoringSwitch& sw : MonitoringSwitches) {
    for (const Row& row : rows) {
      SCOPED_TRACE(testing::Message() << ComponentName(sw.Toggle) << " " << row.PressedAgainAt);
      ControlPanel panel;
      panel.Click(sw.Toggle);
      if (row.PressedAgainAt > 0) {
        RunSeconds(panel, row.PressedAgainAt);
        panel.Click(sw.Toggle);  // released by the user
        EXPECT_FALSE(panel.IsDown(sw.Toggle));
        panel.Click(sw.Toggle);
        EXPECT_EQ((panel.*sw.Counter)(), 0);
      }
      RunSeconds(panel, row.SpringsBackAt - row.PressedAgainAt - 1);
      EXPECT_TRUE(panel.IsDown(sw.Toggle));
      RunSeconds(panel, 1);
      EXPECT_FALSE(panel.IsDown(sw.Toggle));
    }
  }
}

TEST(ControlPanel, SetDownRunsNoHandlerAndTheLimitIsMetOnlyOnce) {
  ControlPanel panel;
  RunSeconds(panel, 700);
  panel.SetDown(PanelToggle::RotuebAus, true);
  EXPECT_EQ(panel.RedOffSeconds(), 700);
  RunSeconds(panel, 600);
  EXPECT_TRUE(panel.IsDown(PanelToggle::RotuebAus));
}

TEST(ControlPanel, RecordingTogglesSpringBackAfter300Seconds) {
  struct Row {
    PanelToggle Pressed;
    bool Preview;
  };
  const Row rows[] = {{PanelToggle::DruckIst, false},
                      {PanelToggle::DruckIst, true},
                      {PanelToggle::DruckStEinAus, false},
                      {PanelToggle::DruckStEinAus, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << ComponentName(row.Pressed) << " preview " << row.Preview);
    ControlPanel panel;
    RunSeconds(panel, 250, row.Preview);
    panel.Click(row.Pressed);
    EXPECT_EQ(panel.RecordingSeconds(), 0);
    RunSeconds(panel, 299, row.Preview);
    EXPECT_TRUE(panel.IsDown(row.Pressed));
    RunSeconds(panel, 1, row.Preview);
    for (PanelToggle toggle : {PanelToggle::DruckIst, PanelToggle::DruckStEinAus}) {
      EXPECT_FALSE(panel.IsDown(toggle));
      EXPECT_EQ(panel.IsEnabled(toggle), !row.Preview);
    }
    // A disabled toggle ignores clicks.
    panel.Click(row.Pressed);
    EXPECT_EQ(panel.IsDown(row.Pressed), !row.Preview);
  }
}

TEST(ControlPanel, ToggleClicksAreIndependent) {
  for (std::size_t i = 0; i < PanelToggleCount; ++i) {
    const auto clicked = static_cast<PanelToggle>(i);
    SCOPED_TRACE(ComponentName(clicked));
    ControlPanel panel;
    panel.Click(PanelToggle::StatusAus);
    panel.Click(PanelToggle::DruckStEinAus);
    panel.Click(clicked);
    for (std::size_t j = 0; j < PanelToggleCount; ++j) {
      const auto toggle = static_cast<PanelToggle>(j);
      const bool pressedBefore =
          toggle == PanelToggle::StatusAus || toggle == PanelToggle::DruckStEinAus;
      EXPECT_EQ(panel.IsDown(toggle), pressedBefore != (toggle == clicked)) << j;
    }
  }
}

TEST(ControlPanel, ProgramButtonsAreExclusive) {
  ControlPanel panel;
  EXPECT_EQ(panel.SelectedProgramButton(), ProgramButton::ProgButton1);
  for (std::size_t i : {3u, 0u, 6u, 1u}) {
    const auto chosen = static_cast<ProgramButton>(i);
    panel.SelectProgramButton(chosen);
    EXPECT_EQ(panel.SelectedProgramButton(), chosen);
    for (std::size_t j = 0; j < ProgramButtonCount; ++j) {
      EXPECT_EQ(panel.IsDown(static_cast<ProgramButton>(j)), i == j) << i << " " << j;
    }
  }
}

TEST(ControlPanel, StartCheckMessages) {
  struct Row {
    bool DataValid;
    std::uint8_t Mode;
    std::optional<std::string> Message;
  };
  const Row rows[] = {
      {true, 0, std::nullopt},
      {true, 1, std::nullopt},
      {false, 1, "Daten ungültig. Start nicht möglich !"},
      {false, 255, "Daten ungültig. Start nicht möglich !"},
      {false, 0,
       "Es können nur Programme mit der Betriebsart Festzeit und Festzeit mit VA simuliert "
       "werden. Start nicht möglich !"},
  };
  const ControlPanel panel;
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.DataValid << " " << int{row.Mode});
    EXPECT_EQ(panel.StartButtonClick(row.DataValid, row.Mode), row.Message);
  }
  EXPECT_EQ(StartErrorCaption, "Fehler");
}

TEST(ControlPanel, InitialState) {
  const ControlPanel panel;
  for (std::size_t i = 0; i < PanelLampCount; ++i) {
    EXPECT_EQ(panel.LampStateOf(static_cast<PanelLamp>(i)), LampState::Dark) << i;
  }
  for (std::size_t i = 0; i < PanelLabelCount; ++i) {
    EXPECT_EQ(panel.LabelText(static_cast<PanelLabel>(i)), "") << i;
  }
  for (std::size_t i = 0; i < PanelToggleCount; ++i) {
    EXPECT_FALSE(panel.IsDown(static_cast<PanelToggle>(i))) << i;
    EXPECT_TRUE(panel.IsEnabled(static_cast<PanelToggle>(i))) << i;
  }
  for (std::size_t i = 0; i < PanelCommandCount; ++i) {
    EXPECT_TRUE(panel.IsEnabled(static_cast<PanelCommand>(i))) << i;
  }
}

TEST(ControlPanel, ChangeCountBumpsOnlyOnVisibleChange) {
  ControlPanel panel;
  struct Step {
    const char* Name;
    void (*Run)(ControlPanel&);
    bool Bumps;
  };
  const Step steps[] = {
      {"lamp lit", [](ControlPanel& p) { p.SetLamp(PanelLamp::Stoerlampe, LampState::Lit); }, true},
      {"lamp unchanged", [](ControlPanel& p) { p.SetLamp(PanelLamp::Stoerlampe, LampState::Lit); },
       false},
      {"label", [](ControlPanel& p) { p.SetLabel(PanelLabel::Zeitpunkt, "17"); }, true},
      {"label unchanged", [](ControlPanel& p) { p.SetLabel(PanelLabel::Zeitpunkt, "17"); }, false},
      {"counters only", [](ControlPanel& p) { p.PanelSecondTask(false); }, false},
      {"toggle", [](ControlPanel& p) { p.Click(PanelToggle::BlinkButton); }, true},
      {"program", [](ControlPanel& p) { p.SelectProgramButton(ProgramButton::UhrButton); }, true},
      {"menu", [](ControlPanel& p) { p.SetDatenLadenEnabled(false); }, true},
      {"menu unchanged", [](ControlPanel& p) { p.SetDatenLadenEnabled(false); }, false},
      {"demand glyph", [](ControlPanel& p) { p.AnforderButton2MouseDown(); }, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.Name);
    const std::uint64_t before = panel.ChangeCount();
    step.Run(panel);
    EXPECT_EQ(panel.ChangeCount() != before, step.Bumps);
  }
  EXPECT_EQ(panel.LampStateOf(PanelLamp::Stoerlampe), LampState::Lit);
  EXPECT_EQ(panel.LabelText(PanelLabel::Zeitpunkt), "17");
  EXPECT_FALSE(panel.IsDatenLadenEnabled());
}

}  // namespace
}  // namespace ampelsim

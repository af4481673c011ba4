#include "shell/SettingsDialog.h"

#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

#include <cstdlib>

using Kind = platform::DialogControl::Kind;

namespace {

// Answers the dialog as a user would: sets the two boxes, then presses `command`.
shell::DialogRunner answer(int command, bool fullScreen, bool randomize, platform::DialogTemplate* shown = nullptr)
{
    return [=](platform::DialogTemplate& dialog, int&) {
        if (shown)
            *shown = dialog;
        for (platform::DialogControl& control : dialog.controls) {
            if (control.id == 1001)
                control.checked = fullScreen;
            if (control.id == 1000)
                control.checked = randomize;
        }
        return command;
    };
}

int firstRandomAfterSeedOne()
{
    std::srand(1);
    return std::rand();
}

} // namespace

TEST(SettingsDialogTest, ShowsTheProgramsDialog)
{
    platform::DialogTemplate shown;
    shell::ShowSettings settings;
    shell::runSettingsDialog(settings, answer(1, true, false, &shown));
    EXPECT_EQ(shown.caption, ".glint.");
    EXPECT_EQ(shown.width, 65);
    EXPECT_EQ(shown.height, 87);
    struct Expected {
        Kind kind;
        int id;
        const char* text;
        int x, y, width, height;
        bool checked;
    };
    const Expected expected[] = {
        {Kind::CheckBox, 1001, "Full Screen", 7, 7, 51, 10, true},
        {Kind::CheckBox, 1000, "Randomize", 7, 25, 51, 10, false},
        {Kind::Button, 2, "Cancel", 7, 43, 50, 14, false},
        {Kind::DefaultButton, 1, "OK", 7, 65, 50, 14, false},
    };
    ASSERT_EQ(shown.controls.size(), std::size(expected));
    for (size_t i = 0; i < shown.controls.size(); ++i) {
        const platform::DialogControl& control = shown.controls[i];
        SCOPED_TRACE(control.text);
        EXPECT_EQ(control.kind, expected[i].kind);
        EXPECT_EQ(control.id, expected[i].id);
        EXPECT_EQ(control.text, expected[i].text);
        EXPECT_EQ(control.x, expected[i].x);
        EXPECT_EQ(control.y, expected[i].y);
        EXPECT_EQ(control.width, expected[i].width);
        EXPECT_EQ(control.height, expected[i].height);
        EXPECT_EQ(control.checked, expected[i].checked);
    }
}

TEST(SettingsDialogTest, OkTakesTheBoxesAndAlways640x480)
{
    const int seedOneFirst = firstRandomAfterSeedOne();
    struct Case {
        bool fullScreen, randomize;
    };
    for (Case c : {Case{true, false}, Case{false, false}, Case{true, true}, Case{false, true}}) {
        SCOPED_TRACE(std::to_string(c.fullScreen) + std::to_string(c.randomize));
        shell::ShowSettings settings;
        shell::applySwitches("/z3/w", settings);
        std::srand(1);
        EXPECT_TRUE(shell::runSettingsDialog(settings, answer(1, c.fullScreen, c.randomize)));
        EXPECT_EQ(settings.width, 640);
        EXPECT_EQ(settings.height, 480);
        EXPECT_EQ(settings.fullScreen, c.fullScreen);
        // Only "Randomize" moves the generator off its seed of 1.
        EXPECT_EQ(std::rand() == seedOneFirst, !c.randomize);
    }
}

TEST(SettingsDialogTest, CancelLeavesEverythingAndEndsTheRun)
{
    const int seedOneFirst = firstRandomAfterSeedOne();
    shell::ShowSettings settings;
    shell::applySwitches("/z2", settings);
    std::srand(1);
    EXPECT_FALSE(shell::runSettingsDialog(settings, answer(platform::dialogCancelId, false, true)));
    EXPECT_EQ(settings.width, 1024);
    EXPECT_TRUE(settings.fullScreen);
    EXPECT_EQ(std::rand(), seedOneFirst);
}

TEST(SettingsDialogTest, ADialogThatCannotOpenIsReportedAndTheRunGoesOn)
{
    testsupport::MessageRecorder messages;
    shell::ShowSettings settings;
    auto failing = [](platform::DialogTemplate&, int& errorCode) {
        errorCode = 12;
        return -1;
    };
    EXPECT_TRUE(shell::runSettingsDialog(settings, failing));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Error 12");
    EXPECT_EQ(messages.messages[0].caption, "CreateDialog");
    EXPECT_EQ(messages.messages[0].icon, platform::MessageIcon::Warning);
    EXPECT_TRUE(settings.fullScreen);
    EXPECT_EQ(settings.width, 640);
}

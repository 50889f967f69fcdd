#include <gtest/gtest.h>

#include "help/HaldenHelpWindowClass.h"
#include "help/HaldenHelpWindowContentComp.h"
#include "lookandfeel/WindowColourIds.h"

namespace
{
    HaldenHelpWindowContentComp& contentOf (HaldenHelpWindowClass& window)
    {
        auto* content = dynamic_cast<HaldenHelpWindowContentComp*> (window.getContentComponent());
        EXPECT_NE (content, nullptr);
        return *content;
    }
} // namespace

TEST (HelpWindow, StartsHiddenTitledAndColoured)
{
    HaldenHelpWindowClass window;

    EXPECT_FALSE (window.isVisible());
    EXPECT_TRUE (window.isOnDesktop());
    EXPECT_EQ (window.getName(), "Firmware Update Help");
    EXPECT_EQ (window.getBackgroundColour().getARGB(), 0xffeff2f3u);
    EXPECT_EQ (window.findColour (WindowColourIds::titleBarColourId).getARGB(), 0xff3273a1u);
    EXPECT_NE (window.getCloseButton(), nullptr);
    EXPECT_NE (window.getMinimiseButton(), nullptr);
    EXPECT_NE (window.getMaximiseButton(), nullptr);
    EXPECT_TRUE (window.isResizable());
}

TEST (HelpWindow, CloseButtonHidesAndKeepsTheWindow)
{
    HaldenHelpWindowClass window;
    window.centreWithSize (550, 400);
    window.setVisible (true);
    auto& editor = contentOf (window).getHelpTextEditor();
    editor.setCaretPosition (editor.getTotalNumChars());

    window.closeButtonPressed();

    EXPECT_FALSE (window.isVisible());
    EXPECT_TRUE (window.isOnDesktop());
    EXPECT_EQ (editor.getCaretPosition(), editor.getTotalNumChars());
    EXPECT_EQ (editor.getText(), HaldenHelpWindowContentComp::helpText);
}

TEST (HelpWindow, TextIsTheUpdateProcedureReadOnlyAndWrapped)
{
    HaldenHelpWindowClass window;
    auto& editor = contentOf (window).getHelpTextEditor();
    const juce::String text (HaldenHelpWindowContentComp::helpText);

    EXPECT_EQ (text.length(), 1019);
    EXPECT_EQ (juce::StringArray::fromLines (text).size(), 24);   // 23 lines, each ended by a line feed
    EXPECT_TRUE (text.startsWith ("Firmware Update Procedure. \nThe procedure requires"));
    EXPECT_TRUE (text.contains ("\n 9. (STEP1) Select the pedal in the combo box (see note). \n10. (STEP2)"));
    EXPECT_TRUE (text.contains ("Note: You should select \"USB Audio Device\", if you use Windows XP.\n\n\nTrouble Shooting:\n"));
    EXPECT_TRUE (text.endsWith (" - Please quit any MIDI related application on your PC or Mac.\n"));

    EXPECT_EQ (editor.getText(), text);
    EXPECT_TRUE (editor.isReadOnly());
    EXPECT_TRUE (editor.isMultiLine());

    // Wrapped at word boundaries: no line is wider than the editor, so nothing scrolls sideways.
    window.centreWithSize (300, 400);
    EXPECT_LE (editor.getTextWidth(), editor.getWidth());
    EXPECT_GT (editor.getTextHeight(), editor.getHeight());
}

TEST (HelpWindow, EditorFillsTheContentAtEverySize)
{
    HaldenHelpWindowClass window;
    auto& content = contentOf (window);

    for (auto [w, h] : { std::pair { 550, 400 }, std::pair { 300, 200 }, std::pair { 900, 700 } })
    {
        window.centreWithSize (w, h);
        EXPECT_EQ (content.getHelpTextEditor().getBounds(), content.getLocalBounds());
        EXPECT_EQ (content.getWidth(), w - 8);
        EXPECT_EQ (content.getHeight(), h - 8 - window.getTitleBarHeight());
    }
}

#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/**
    The application's look: translucent glass buttons, shaded scroll bars, a glass
    progress fill and gradient title bars with round glass buttons.

    LookAndFeel_V2 draws everything this class leaves alone (alert boxes, tooltips,
    menu items, window borders, button text) and supplies the glass sphere and bevel
    routines used here.
*/
class TemplateLookAndFeel final : public juce::LookAndFeel_V2
{
public:
    TemplateLookAndFeel();
    ~TemplateLookAndFeel() override;

    //==============================================================================
    /** Tick boxes, slider thumbs and slider bars. */
    const juce::Colour controlColour { 0xb2808080 };

    /** Tints of the three title-bar buttons. */
    const juce::Colour minimiseButtonColour { 0xffeff2f3 };
    const juce::Colour maximiseButtonColour { 0xff9299a5 };
    const juce::Colour closeButtonColour { 0xff3273a1 };

    //==============================================================================
    /** The colour a control's body is drawn in: focus saturates it, pressing and
        hovering contrast it (pressing wins).
    */
    static juce::Colour deriveBaseColour (juce::Colour colour, bool hasKeyboardFocus,
                                          bool isMouseOverButton, bool isButtonDown);

    /** Appends a closed, clockwise sub-path for a box whose flagged corners are
        rounded by quarter circles of cornerRadius.
    */
    static void addRoundedOutline (juce::Path& path, float x, float y, float width, float height,
                                   float cornerRadius,
                                   bool curveTopLeft, bool curveTopRight,
                                   bool curveBottomLeft, bool curveBottomRight);

    /** The glass lozenge of buttons, the combo box button and the progress fill. */
    static void drawGlassShape (juce::Graphics& g, float x, float y, float width, float height,
                                const juce::Colour& colour, float outlineThickness,
                                bool flatOnLeft, bool flatOnRight, bool flatOnTop, bool flatOnBottom);

    /** A flat bar with a hard change of shade at half height (menu bars, bar sliders). */
    static void drawShinyShape (juce::Graphics& g, float x, float y, float width, float height,
                                float maxCornerRadius, const juce::Colour& colour, float outlineThickness,
                                bool flatOnLeft, bool flatOnRight, bool flatOnTop, bool flatOnBottom);

    //==============================================================================
    /** Pins the faces that every TemplateLookAndFeel draws the default sans-serif font in
        (bold text in bold), instead of the faces the system picks, which depend on the
        fonts a machine happens to have. nullptr faces restore the system's choice.
        Message thread only; clears the framework's typeface cache.
    */
    static void setSansSerifTypefaces (juce::Typeface::Ptr regular, juce::Typeface::Ptr bold);

    juce::Typeface::Ptr getTypefaceForFont (const juce::Font&) override;

    //==============================================================================
    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool isMouseOverButton, bool isButtonDown) override;

    void drawTickBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h,
                      bool ticked, bool isEnabled, bool isMouseOverButton, bool isButtonDown) override;

    void drawProgressBar (juce::Graphics&, juce::ProgressBar&, int width, int height,
                          double progress, const juce::String& textToShow) override;

    void drawScrollbarButton (juce::Graphics&, juce::ScrollBar&, int width, int height, int buttonDirection,
                              bool isScrollbarVertical, bool isMouseOverButton, bool isButtonDown) override;

    void drawScrollbar (juce::Graphics&, juce::ScrollBar&, int x, int y, int width, int height,
                        bool isScrollbarVertical, int thumbStartPosition, int thumbSize,
                        bool isMouseOver, bool isMouseDown) override;

    juce::ImageEffectFilter* getScrollbarEffect() override;

    void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;

    void drawPopupMenuBackground (juce::Graphics&, int width, int height) override;

    void drawMenuBarBackground (juce::Graphics&, int width, int height, bool isMouseOverBar,
                                juce::MenuBarComponent&) override;

    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown,
                       int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox&) override;

    juce::Font getComboBoxFont (juce::ComboBox&) override;
    juce::Font getPopupMenuFont() override;

    /** The drop-down list of a combo box: rows 18 pixels high (the list font plus 3). */
    juce::PopupMenu::Options getOptionsForComboBoxPopupMenu (juce::ComboBox&, juce::Label&) override;

    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height,
                           float sliderPos, float minSliderPos, float maxSliderPos,
                           juce::Slider::SliderStyle, juce::Slider&) override;

    int getSliderThumbRadius (juce::Slider&) override;

    /** Returns a new button that the caller owns. */
    juce::Button* createSliderButton (juce::Slider&, bool isIncrement) override;

    juce::ImageEffectFilter* getSliderEffect (juce::Slider&) override;

    //==============================================================================
    void drawCornerResizer (juce::Graphics&, int w, int h, bool isMouseOver, bool isMouseDragging) override;

    void drawDocumentWindowTitleBar (juce::DocumentWindow&, juce::Graphics&, int w, int h,
                                     int titleSpaceX, int titleSpaceW,
                                     const juce::Image* icon, bool drawTitleTextOnLeft) override;

    /** Returns a new GlassWindowButton that the calling window owns, or nullptr for
        anything but a single minimise, maximise or close flag.
    */
    juce::Button* createDocumentWindowButton (int buttonType) override;

    void positionDocumentWindowButtons (juce::DocumentWindow&,
                                        int titleBarX, int titleBarY, int titleBarW, int titleBarH,
                                        juce::Button* minimiseButton,
                                        juce::Button* maximiseButton,
                                        juce::Button* closeButton,
                                        bool positionTitleBarButtonsOnLeft) override;

    /** None: the windows go without the framework's drop shadow. */
    std::unique_ptr<juce::DropShadower> createDropShadowerForComponent (juce::Component&) override;

    //==============================================================================
    /** The maximise button's symbol while its window is full-screen: two overlapping
        square frames.
    */
    static juce::Path fullScreenShape();

private:
    void setColourScheme();
    void drawProgressText (juce::Graphics&, juce::ProgressBar&, int width, int height, const juce::String&);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TemplateLookAndFeel)
};

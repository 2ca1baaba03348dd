#pragma once

#include "support/AppProcess.h"

#include <juce_gui_basics/juce_gui_basics.h>

// A real top-level window around a component, as the application shows its main component:
// size changes of the content are applied to the window, and the screen shows it.
class ShownWindow : public juce::DocumentWindow
{
public:
    // Where the window is put. Without a window manager (Xvfb) nothing moves it or adds a frame,
    // so the content sits there; the framework learns its own position only later, asynchronously.
    static constexpr juce::Point<int> kOrigin { 40, 40 };

    explicit ShownWindow(juce::Component& content) : DocumentWindow("Halvane Update Tool", juce::Colours::lightgrey, 0)
    {
        setUsingNativeTitleBar(true);
        setContentNonOwned(&content, true);
        setTopLeftPosition(kOrigin);
        setVisible(true);
        juce::MessageManager::getInstance()->runDispatchLoopUntil(500);  // mapped and first painted
    }
    ~ShownWindow() override { clearContentComponent(); }

private:
    // Held for the window's life: screen captures must not see another test's window.
    ScopedDisplayLock m_displayLock;

public:

    static bool displayAvailable() { return juce::Desktop::getInstance().getDisplays().displays.size() > 0; }
};

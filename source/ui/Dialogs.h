#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

// Every modal alert of the application goes through here, so tests can answer them.
struct AlertButton
{
    juce::String text;
    int result;
    juce::KeyPress shortcut;
};

struct AlertTextField
{
    juce::String name;
    juce::String initialText;
    juce::String label;
};

struct AlertRequest
{
    juce::String title;
    juce::String message;
    juce::MessageBoxIconType icon = juce::MessageBoxIconType::NoIcon;
    std::vector<AlertButton> buttons;
    std::vector<juce::Component*> customComponents;  // not owned; placed in order
    std::vector<AlertTextField> textFields;
    juce::Rectangle<int> bounds;                      // empty: the alert sizes itself
};

struct AlertResponse
{
    int result = 0;
    juce::StringArray fieldTexts;  // in the order of `textFields`
};

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // Runs the alert modally and returns the pressed button's result (0 when closed).
    virtual AlertResponse runAlert(const AlertRequest& request) = 0;

    // The responder in use: the framework's alert windows unless a test installed its own.
    static Dialogs& get();

    // Installs a responder (not owned); nullptr restores the framework's one.
    static void install(Dialogs* responder);
};

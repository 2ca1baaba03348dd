#include "ui/ChangelogAlert.h"

#include "ui/AlertTextBoxes.h"
#include "ui/Dialogs.h"

namespace ChangelogAlert
{
int Show(const juce::String& title, const juce::String& version, const juce::String& changelog)
{
    AlertChangelogDisplay changelogBox(nullptr, changelog);
    AlertSpacer spacer(nullptr);
    AlertRequest request;
    request.title = title;
    request.message = version;
    request.bounds = { 20, 20, 536, 440 };
    request.buttons = { { "Update", 1, juce::KeyPress(juce::KeyPress::returnKey) },
                        { "Cancel", 0, juce::KeyPress(juce::KeyPress::escapeKey) } };
    request.customComponents = { &changelogBox, &spacer };
    return Dialogs::get().runAlert(request).result;
}
}

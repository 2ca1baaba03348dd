#pragma once

#include "ui/AlertTextBoxes.h"
#include "ui/Dialogs.h"

#include <deque>
#include <vector>

// Answers alerts without showing them and records what would have been shown.
class ScriptedDialogs : public Dialogs
{
public:
    struct Shown
    {
        juce::String title;
        juce::String message;
        juce::MessageBoxIconType icon;
        std::vector<AlertButton> buttons;
        juce::StringArray componentTexts;  // texts of the custom text boxes, in order
        juce::Rectangle<int> bounds;
    };

    ScriptedDialogs() { Dialogs::install(this); }
    ~ScriptedDialogs() override { Dialogs::install(nullptr); }

    // Answers for the next alerts, in order; once used up every alert gets 0.
    void answer(int result, juce::StringArray fieldTexts = {}) { m_answers.push_back({ result, fieldTexts }); }

    AlertResponse runAlert(const AlertRequest& request) override
    {
        Shown shown { request.title, request.message, request.icon, request.buttons, {}, request.bounds };
        for (auto* c : request.customComponents)
            if (auto* editor = dynamic_cast<juce::TextEditor*>(c))
                shown.componentTexts.add(editor->getText());
        m_shown.push_back(shown);

        AlertResponse response;
        if (!m_answers.empty())
        {
            response = m_answers.front();
            m_answers.pop_front();
        }
        return response;
    }

    const std::vector<Shown>& shown() const { return m_shown; }

private:
    std::deque<AlertResponse> m_answers;
    std::vector<Shown> m_shown;
};

#include "ui/Dialogs.h"

#include "ui/AlertTextBoxes.h"

namespace
{
class WindowDialogs : public Dialogs
{
public:
    AlertResponse runAlert(const AlertRequest& request) override
    {
        juce::AlertWindow alert(request.title, request.message, request.icon);
        for (const auto& field : request.textFields)
            alert.addTextEditor(field.name, field.initialText, field.label);
        for (auto* component : request.customComponents)
        {
            if (auto* box = dynamic_cast<AlertTextBox*>(component))
                box->adoptOwnerColours(alert);
            alert.addCustomComponent(component);
        }
        for (const auto& button : request.buttons)
            alert.addButton(button.text, button.result, button.shortcut);
        if (!request.bounds.isEmpty())
            alert.setBounds(request.bounds);

        AlertResponse response;
        response.result = alert.runModalLoop();
        for (const auto& field : request.textFields)
            response.fieldTexts.add(alert.getTextEditorContents(field.name));
        return response;
    }
};

Dialogs* g_installed = nullptr;
}

Dialogs& Dialogs::get()
{
    static WindowDialogs windows;
    return g_installed != nullptr ? *g_installed : windows;
}

void Dialogs::install(Dialogs* responder)
{
    g_installed = responder;
}

#pragma once

#include <QString>
#include <optional>

// Everything that asks the user something and waits for the answer. The real
// version shows dialogs; tests answer from a script.
class Prompts {
public:
    virtual ~Prompts() = default;

    // An OK box.
    virtual void message(const QString& text, const QString& title = {}) = 0;
    // An OK box with the exclamation icon, for a consequence to keep in mind.
    virtual void warning(const QString& text, const QString& title = {}) = 0;
    virtual bool askYesNo(const QString& text, const QString& title = {}) = 0;
    // An input box; no value when the user cancels.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& defaultText = {}) = 0;
    // File dialogs. The filter is in the "description|pattern|..." form;
    // no value when the user cancels.
    virtual std::optional<QString> openFile(const QString& filter, const QString& folder) = 0;
    virtual std::optional<QString> saveFile(const QString& filter, const QString& folder) = 0;
    // A colour dialog starting at `initial` ("#rrggbb", or empty); the
    // colour chosen as "#rrggbb", no value when the user cancels.
    virtual std::optional<QString> chooseColour(const QString& initial, const QString& title) = 0;
};

#pragma once

#include "platform/Prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

// Prompts for tests: answers from a script the test gives, in order. A
// prompt the script does not expect fails the running test, naming its text.
class ScriptedPrompts : public Prompts {
public:
    enum class Kind { Message, Warning, YesNo, Input, OpenFile, SaveFile, Colour };

    // Expect a prompt of this kind whose text contains `textPart` (empty:
    // any text). The answer: "yes"/"no" for YesNo; the typed text or chosen
    // path for Input and the file dialogs, the "#rrggbb" chosen for Colour
    // (whose text is the dialog's title), with `cancel` for Cancel.
    ScriptedPrompts& expect(Kind kind, const QString& textPart, const QString& answer = {},
                            bool cancel = false) {
        m_script.append({kind, textPart, answer, cancel});
        return *this;
    }
    ScriptedPrompts& expectMessage(const QString& textPart) {
        return expect(Kind::Message, textPart);
    }

    // True when every expected prompt has been shown.
    bool done() const { return m_script.isEmpty(); }
    // The texts shown so far, in order.
    const QStringList& shown() const { return m_shown; }

    void message(const QString& text, const QString&) override { answer(Kind::Message, text); }
    void warning(const QString& text, const QString&) override { answer(Kind::Warning, text); }
    bool askYesNo(const QString& text, const QString&) override {
        return answer(Kind::YesNo, text) == QStringLiteral("yes");
    }
    std::optional<QString> input(const QString& prompt, const QString&, const QString&) override {
        return answer(Kind::Input, prompt);
    }
    std::optional<QString> openFile(const QString& filter, const QString&) override {
        return answer(Kind::OpenFile, filter);
    }
    std::optional<QString> saveFile(const QString& filter, const QString&) override {
        return answer(Kind::SaveFile, filter);
    }
    std::optional<QString> chooseColour(const QString&, const QString& title) override {
        return answer(Kind::Colour, title);
    }

private:
    struct Step {
        Kind kind;
        QString textPart;
        QString answer;
        bool cancel;
    };
    // The next step's answer if the step matches, otherwise fails the test;
    // none for Cancel or an unexpected prompt.
    std::optional<QString> answer(Kind kind, const QString& text);

    QList<Step> m_script;
    QStringList m_shown;
};

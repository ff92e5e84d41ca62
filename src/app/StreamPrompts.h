#pragma once

#include "platform/Prompts.h"

#include <QTextStream>
#include <functional>

// The questions of a command run without windows: messages are printed,
// yes/no questions are answered by the command's own rule, and nothing
// asks for a name or a file.
class StreamPrompts : public Prompts {
public:
    using Answer = std::function<bool(const QString& text, const QString& title)>;

    StreamPrompts(QTextStream& err, Answer answer);

    void message(const QString& text, const QString& title = {}) override;
    void warning(const QString& text, const QString& title = {}) override;
    bool askYesNo(const QString& text, const QString& title = {}) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText = {}) override;
    std::optional<QString> openFile(const QString& filter, const QString& folder) override;
    std::optional<QString> saveFile(const QString& filter, const QString& folder) override;
    std::optional<QString> chooseColour(const QString& initial, const QString& title) override;

private:
    QTextStream& m_err;
    Answer m_answer;
};

#include "support/ScriptedPrompts.h"

#include <QTest>

ScriptedPrompts& ScriptedPrompts::expect(Kind kind, const QString& textPart, const QString& answer,
                                         bool cancel) {
    m_script.append({kind, textPart, answer, cancel});
    return *this;
}

std::optional<ScriptedPrompts::Step> ScriptedPrompts::take(Kind kind, const QString& text) {
    m_shown << text;
    if (!m_script.isEmpty() && m_script.first().kind == kind &&
        text.contains(m_script.first().textPart))
        return m_script.takeFirst();
    QTest::qFail(("unexpected prompt: \"" + text.toUtf8() + "\"").constData(), __FILE__, __LINE__);
    return std::nullopt;
}

std::optional<QString> ScriptedPrompts::answer(Kind kind, const QString& text) {
    const auto step = take(kind, text);
    return step && !step->cancel ? std::optional<QString>(step->answer) : std::nullopt;
}

void ScriptedPrompts::message(const QString& text, const QString&) {
    take(Kind::Message, text);
}

void ScriptedPrompts::warning(const QString& text, const QString&) {
    take(Kind::Warning, text);
}

bool ScriptedPrompts::askYesNo(const QString& text, const QString&) {
    return answer(Kind::YesNo, text) == QStringLiteral("yes");
}

std::optional<QString> ScriptedPrompts::input(const QString& prompt, const QString&,
                                              const QString&) {
    return answer(Kind::Input, prompt);
}

std::optional<QString> ScriptedPrompts::openFile(const QString& filter, const QString&) {
    return answer(Kind::OpenFile, filter);
}

std::optional<QString> ScriptedPrompts::saveFile(const QString& filter, const QString&) {
    return answer(Kind::SaveFile, filter);
}

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

#include "support/ScriptedPrompts.h"

#include <QTest>

std::optional<QString> ScriptedPrompts::answer(Kind kind, const QString& text) {
    m_shown << text;
    if (!m_script.isEmpty() && m_script.first().kind == kind &&
        text.contains(m_script.first().textPart)) {
        const Step step = m_script.takeFirst();
        return step.cancel ? std::nullopt : std::optional<QString>(step.answer);
    }
    QTest::qFail(("unexpected prompt: \"" + text.toUtf8() + "\"").constData(), __FILE__, __LINE__);
    return std::nullopt;
}

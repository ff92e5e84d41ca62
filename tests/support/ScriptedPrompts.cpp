#include "support/ScriptedPrompts.h"

#include <QTest>

ScriptedPrompts& ScriptedPrompts::expect(Kind kind, const QString& textPart, const QString& answer,
                                         bool cancel) {
    m_script.append({kind, textPart, answer, cancel});
    return *this;
}

std::optional<ScriptedPrompts::Step> ScriptedPrompts::take(Kind kind, const QString& text) {
    m_shown << text;
    if (m_script.isEmpty() || m_script.first().kind != kind ||
        !text.contains(m_script.first().textPart)) {
        const QByteArray why = "unexpected prompt: \"" + text.toUtf8() + "\"";
        QTest::qFail(why.constData(), __FILE__, __LINE__);
        return std::nullopt;
    }
    return m_script.takeFirst();
}

void ScriptedPrompts::message(const QString& text, const QString&) {
    take(Kind::Message, text);
}

void ScriptedPrompts::warning(const QString& text, const QString&) {
    take(Kind::Warning, text);
}

bool ScriptedPrompts::askYesNo(const QString& text, const QString&) {
    const auto step = take(Kind::YesNo, text);
    return step && step->answer == QLatin1String("yes");
}

std::optional<QString> ScriptedPrompts::input(const QString& prompt, const QString&,
                                              const QString&) {
    const auto step = take(Kind::Input, prompt);
    if (!step || step->cancel)
        return std::nullopt;
    return step->answer;
}

std::optional<QString> ScriptedPrompts::openFile(const QString& filter, const QString&) {
    const auto step = take(Kind::OpenFile, filter);
    if (!step || step->cancel)
        return std::nullopt;
    return step->answer;
}

std::optional<QString> ScriptedPrompts::saveFile(const QString& filter, const QString&) {
    const auto step = take(Kind::SaveFile, filter);
    if (!step || step->cancel)
        return std::nullopt;
    return step->answer;
}

#include "app/StreamPrompts.h"

#include <utility>

StreamPrompts::StreamPrompts(QTextStream& err, Answer answer)
    : m_err(err), m_answer(std::move(answer)) {}

void StreamPrompts::message(const QString& text, const QString&) {
    m_err << text << Qt::endl;
}

void StreamPrompts::warning(const QString& text, const QString& title) {
    message(text, title);
}

bool StreamPrompts::askYesNo(const QString& text, const QString& title) {
    return m_answer(text, title);
}

std::optional<QString> StreamPrompts::input(const QString&, const QString&, const QString&) {
    return std::nullopt;
}

std::optional<QString> StreamPrompts::openFile(const QString&, const QString&) {
    return std::nullopt;
}

std::optional<QString> StreamPrompts::saveFile(const QString&, const QString&) {
    return std::nullopt;
}

std::optional<QString> StreamPrompts::chooseColour(const QString&, const QString&) {
    return std::nullopt;
}

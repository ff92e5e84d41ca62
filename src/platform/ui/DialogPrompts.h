#pragma once

#include "platform/Prompts.h"

class QWidget;

// Prompts shown as real dialogs over a parent window.
class DialogPrompts : public Prompts {
public:
    explicit DialogPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const QString& text, const QString& title = {}) override;
    void warning(const QString& text, const QString& title = {}) override;
    bool askYesNo(const QString& text, const QString& title = {}) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText = {}) override;
    std::optional<QString> openFile(const QString& filter, const QString& folder) override;
    std::optional<QString> saveFile(const QString& filter, const QString& folder) override;
    std::optional<QString> chooseColour(const QString& initial, const QString& title) override;

private:
    QString caption(const QString& title) const;
    QWidget* m_parent;
};

#include "platform/ui/DialogPrompts.h"

#include "platform/FileFilter.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

QString DialogPrompts::caption(const QString& title) const {
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

void DialogPrompts::message(const QString& text, const QString& title) {
    QMessageBox::information(m_parent, caption(title), text);
}

void DialogPrompts::warning(const QString& text, const QString& title) {
    QMessageBox::warning(m_parent, caption(title), text);
}

bool DialogPrompts::askYesNo(const QString& text, const QString& title) {
    return QMessageBox::question(m_parent, caption(title), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> DialogPrompts::input(const QString& prompt, const QString& title,
                                            const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, caption(title), prompt, QLineEdit::Normal,
                                               defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> DialogPrompts::openFile(const QString& filter, const QString& folder) {
    const QString path =
        QFileDialog::getOpenFileName(m_parent, caption({}), folder, qtFileFilter(filter));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> DialogPrompts::saveFile(const QString& filter, const QString& folder) {
    const QString path =
        QFileDialog::getSaveFileName(m_parent, caption({}), folder, qtFileFilter(filter));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> DialogPrompts::chooseColour(const QString& initial, const QString& title) {
    const QColor colour = QColorDialog::getColor(QColor(initial), m_parent, caption(title));
    if (!colour.isValid())
        return std::nullopt;
    return colour.name();
}

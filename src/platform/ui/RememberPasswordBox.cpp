#include "platform/ui/RememberPasswordBox.h"

#include "keyring/RememberedPassword.h"
#include "platform/ui/FormRows.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

RememberPasswordBox::RememberPasswordBox(QWidget* parent)
    : QCheckBox(QStringLiteral("Remember password"), parent) {}

void RememberPasswordBox::showState(const RememberedPassword& state) {
    const QSignalBlocker block(this);
    setChecked(state.isTicked());
    const QString& reason = state.unavailableReason();
    setEnabled(reason.isEmpty());
    setToolTip(reason);
    setAccessibleDescription(reason);
}

QLineEdit* RememberPasswordBox::addRowBesideField(QFormLayout* form, const QString& label) {
    auto* field = new QLineEdit;
    field->setEchoMode(QLineEdit::Password);
    return FormRows::addRowBeside(form, label, field, this);
}

#include "platform/ui/RememberPasswordBox.h"

#include "platform/RememberedPassword.h"

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

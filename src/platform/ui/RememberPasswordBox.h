#pragma once

#include <QCheckBox>

class QFormLayout;
class QLineEdit;

class RememberedPassword;

// The "Remember password" check box beside a password field. When the
// desktop keyring cannot be used it is unticked and disabled, with the
// reason as its tool tip and accessible description.
class RememberPasswordBox : public QCheckBox {
    Q_OBJECT

public:
    explicit RememberPasswordBox(QWidget* parent = nullptr);

    // Shows the state without reporting it back as the user's change.
    void showState(const RememberedPassword& state);
    // Adds the row `label` to `form`: a new password field, named by the
    // label, with this box beside it. Returns the field.
    QLineEdit* addRowBesideField(QFormLayout* form, const QString& label);
};

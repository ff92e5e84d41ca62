#pragma once

#include <QString>
#include <functional>
#include <optional>

class QFormLayout;
class QLineEdit;
class QWidget;

// Rows of the windows' forms. Each field is its label's buddy, so its
// accessible name is the label's text (without the "&" before its
// Alt+letter) and Alt+letter reaches it.
class FormRows {
public:
    // Asks the user for a value, given the field's text (a file dialog's
    // path, a colour dialog's colour); no value when the user cancels.
    using Choose = std::function<std::optional<QString>(const QString& current)>;

    static void addRow(QFormLayout* form, const QString& label, QWidget* field);
    // The field with another widget (a button, a box) beside it. Returns the field.
    static QLineEdit* addRowBeside(QFormLayout* form, const QString& label, QLineEdit* field,
                                   QWidget* beside);
    // A text field with a "Choose..." button beside it that fills it with
    // what `choose` gives. The button's accessible name is "Choose " and
    // the label in lower case, without its colon. Returns the field.
    static QLineEdit* addChooserRow(QFormLayout* form, const QString& label, const Choose& choose);
    // The same for a colour, typed as "#rrggbb"; the button shows the colour.
    static QLineEdit* addColourRow(QFormLayout* form, const QString& label, const Choose& choose);
};

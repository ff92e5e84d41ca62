#include "platform/ui/FormRows.h"

#include <QColor>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {

// What a screen reader announces for a label: its text without the "&"
// that marks its Alt+letter.
QString spoken(const QString& label) {
    return QString(label).remove(QLatin1Char('&'));
}

// "Background colour:" names the button "Choose background colour".
QString chooseButtonName(const QString& label) {
    QString name = spoken(label);
    name.remove(QLatin1Char(':'));
    return QStringLiteral("Choose ") + name.toLower();
}

// A swatch of the colour the field holds; no icon while it holds none.
void showSwatch(QPushButton* button, const QString& text) {
    if (text.size() != 7 || !QColor(text).isValid()) {
        button->setIcon({});
        return;
    }
    QPixmap swatch(16, 16);
    swatch.fill(QColor(text));
    button->setIcon(swatch);
}

QPushButton* chooserButton(const QString& label, QLineEdit* field, const FormRows::Choose& choose) {
    auto* button = new QPushButton(QStringLiteral("Choose..."));
    button->setAccessibleName(chooseButtonName(label));
    QObject::connect(button, &QPushButton::clicked, field, [field, choose] {
        if (const auto chosen = choose(field->text()))
            field->setText(*chosen);
    });
    return button;
}

} // namespace

void FormRows::addRow(QFormLayout* form, const QString& label, QWidget* field) {
    auto* caption = new QLabel(label);
    caption->setBuddy(field);
    field->setAccessibleName(spoken(label));
    form->addRow(caption, field);
}

QLineEdit* FormRows::addRowBeside(QFormLayout* form, const QString& label, QLineEdit* field,
                                  QWidget* beside) {
    auto* row = new QHBoxLayout;
    row->addWidget(field, 1);
    row->addWidget(beside);
    auto* caption = new QLabel(label);
    caption->setBuddy(field);
    field->setAccessibleName(spoken(label));
    form->addRow(caption, row);
    return field;
}

QLineEdit* FormRows::addChooserRow(QFormLayout* form, const QString& label, const Choose& choose) {
    auto* field = new QLineEdit;
    return addRowBeside(form, label, field, chooserButton(label, field, choose));
}

QLineEdit* FormRows::addColourRow(QFormLayout* form, const QString& label, const Choose& choose) {
    auto* field = new QLineEdit;
    field->setPlaceholderText(QStringLiteral("#rrggbb"));
    field->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("(#[0-9A-Fa-f]{0,6})?")), field));
    QPushButton* button = chooserButton(label, field, choose);
    QObject::connect(field, &QLineEdit::textChanged, button,
                     [button](const QString& text) { showSwatch(button, text); });
    return addRowBeside(form, label, field, button);
}

#include "project/ui/PageStyleDialog.h"

#include "generator/GeneratorController.h"
#include "platform/ui/FormRows.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

PageStyleDialog::PageStyleDialog(GeneratorController& controller, ShopIdentity::Page page,
                                 QWidget* parent)
    : QDialog(parent), m_controller(controller), m_page(page) {
    setWindowTitle(QStringLiteral("Page style"));
    const QString pageName = ShopIdentity::caption(page);
    const auto chooseColour = [this, pageName](const QString& title) {
        return [this, title, pageName](const QString& current) {
            return m_controller.chooseColour(current, pageName + QStringLiteral(": ") + title);
        };
    };
    auto* form = new QFormLayout;
    m_background = FormRows::addColourRow(form, QStringLiteral("Background colour:"),
                                          chooseColour(QStringLiteral("Background colour")));
    m_text = FormRows::addColourRow(form, QStringLiteral("Text colour:"),
                                    chooseColour(QStringLiteral("Text colour")));
    m_picture =
        FormRows::addChooserRow(form, QStringLiteral("Background picture:"),
                                [this](const QString&) { return m_controller.choosePicture(); });
    const PageStyle& style = controller.identity().style(page);
    m_background->setText(style.backgroundColour);
    m_text->setText(style.textColour);
    m_picture->setText(style.backgroundPicture);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &PageStyleDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PageStyleDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Page: %1.htm").arg(ShopIdentity::pageName(page))));
    layout->addLayout(form);
    layout->addWidget(buttons);
    m_background->setFocus();
}

void PageStyleDialog::accept() {
    if (m_controller.setPageStyle(m_page, {m_background->text().trimmed(), m_text->text().trimmed(),
                                           m_picture->text().trimmed()}))
        QDialog::accept();
}

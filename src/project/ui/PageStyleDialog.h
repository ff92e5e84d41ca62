#pragma once

#include "shop/ShopIdentity.h"

#include <QDialog>

class GeneratorController;
class QLineEdit;

// The "Page style" dialog of one of the four styled pages: its background
// and text colours and its background picture. OK hands the style to the
// controller, which refuses a colour or picture it cannot use with a
// message; the dialog then stays open.
class PageStyleDialog : public QDialog {
    Q_OBJECT

public:
    PageStyleDialog(GeneratorController& controller, ShopIdentity::Page page,
                    QWidget* parent = nullptr);

    void accept() override;

private:
    GeneratorController& m_controller;
    ShopIdentity::Page m_page;
    QLineEdit* m_background = nullptr;
    QLineEdit* m_text = nullptr;
    QLineEdit* m_picture = nullptr;
};

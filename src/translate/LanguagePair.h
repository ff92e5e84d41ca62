#pragma once

#include <QList>
#include <QString>

// One entry of the "Translation" submenu: the caption the user picks, the
// item's name and the language-pair code the translation service takes.
struct LanguagePair {
    QString caption;
    QString item;
    QString code;

    // The ten pairs, in menu order.
    static const QList<LanguagePair>& all();
};

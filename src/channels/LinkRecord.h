#pragma once

#include <QList>
#include <QString>

// One entry of a channel list: the caption shown in a menu or drop-down and
// the address it leads to.
struct LinkRecord {
    QString caption;
    QString url;

    bool operator==(const LinkRecord&) const = default;
};

// A channel file that names its menu or button on its first line and lists
// that menu's entries after it.
struct HeadedList {
    QString caption;
    QList<LinkRecord> records;

    bool operator==(const HeadedList&) const = default;
};

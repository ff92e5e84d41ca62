#pragma once

#include <QByteArray>
#include <QList>
#include <utility>

// The body of a POP3 LIST or UIDL reply: one line per message, its number,
// a blank and its size or unique id. Lines that do not start with a number
// and a second field are passed over; the server is not trusted to send
// only well-formed lines.
class PopListing {
public:
    static QList<std::pair<int, QByteArray>> parse(const QByteArray& listing);
};

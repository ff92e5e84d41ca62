#include "orders/PopListing.h"

QList<std::pair<int, QByteArray>> PopListing::parse(const QByteArray& listing) {
    QList<std::pair<int, QByteArray>> lines;
    for (const QByteArray& line : listing.split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(' ');
        bool isNumber = false;
        const int number = fields.first().toInt(&isNumber);
        if (fields.size() >= 2 && isNumber)
            lines.append({number, fields.at(1)});
    }
    return lines;
}

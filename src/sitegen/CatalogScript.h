#pragma once

#include "sitegen/SiteInput.h"

#include <QByteArrayView>
#include <QString>
#include <functional>

// The shop's catalog script, data1.js: MakeArray, moneyFormat, Item and one
// 1-based array of items per category.
class CatalogScript {
public:
    static constexpr const char* kFileName = "data1.js";
    // Takes the text piece by piece, as UTF-8; pieces end at line ends.
    using TextOut = std::function<void(QByteArrayView)>;

    // The whole file text, final CR LF included.
    static QString write(const SiteInput& input);
    // The same text in pieces of bounded size, in order.
    static void write(const SiteInput& input, const TextOut& out);
};

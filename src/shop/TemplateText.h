#pragma once

#include <QString>
#include <QStringList>

// Helpers for the default order form texts, which are written in the code
// as raw literals with LF line ends.
class TemplateText {
public:
    // The literal with CR LF line ends, as every generated page has.
    static QString fromRaw(const char* text);
    // A handler's statements, one a line, as the value of an event attribute.
    static QString handler(const QStringList& statements);
};

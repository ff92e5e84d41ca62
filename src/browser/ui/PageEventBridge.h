#pragma once

#include <QObject>
#include <QString>

// The object a shown page's event script calls through the web channel:
// each call becomes a signal of the program. The page hands its values over
// as JSON arguments, so no text of a page is ever run as script.
class PageEventBridge : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    Q_INVOKABLE void mouseOver(const QString& href);
    Q_INVOKABLE void mouseOut();
    Q_INVOKABLE void doubleClick(const QString& address);

Q_SIGNALS:
    void pageMouseOver(const QString& href);
    void pageMouseOut();
    void pageDoubleClick(const QString& address);
};

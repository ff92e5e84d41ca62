#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

// An order mail as a browser sends an e-mail order page's form (ENCTYPE
// "text/plain"): the mail header, an empty line, then one "NAME=value" line
// per field sent, in form order, every line end inside a value made CR LF.
// The fields are those of the weight mail order body with "Within State"
// and the Saver method chosen; DESCRIPTION is made of the items and AMOUNT.
struct OrderMail {
    // An item line as the order script writes it into the description.
    static QString item(const char* id, const char* quantity, const char* price,
                        const char* total) {
        return QStringLiteral("%1 ^ %2 ^ %3 ^ %4^").arg(id, quantity, price, total);
    }

    QString subjectLine = QStringLiteral("Subject: Online Order");
    QString fromLine = QStringLiteral("From: Jane Buyer <jane@shop.test>");
    QStringList items = {item("A1", "2", "5.00", "10.00"), item("B7", "1", "72.00", "72.00")};
    QStringList fields =
        QStringLiteral("AMOUNT=$$$ 97.47|R12=Out|T2=$ 6.77|T3=$ 8.70|V1=Saver|T4=$ 9.00|"
                       "T5=$ 20.70|T6=$ 22.40|T1=$$$ 97.47|NameB=Jane Buyer|NameS=Jim Buyer|"
                       "Adrs1B=12 Elm Street|Adrs1S=40 Dock Road|Adrs2B=Apt 3|Adrs2S=|"
                       "CityB=Dallas|CityS=Tulsa|StateB=TX|StateS=OK|ZIPB=75201|ZIPS=74103|"
                       "PhoneE=555-0101|PhoneD=555-0102|E_Mail1=jane@shop.test|"
                       "E_Mail2=jim@shop.test|METHOD=Visa|CCNumber=4111111111111111|"
                       "CCExp=09/27|B1=Submit|Note=Special Instructions :\n")
            .split(QLatin1Char('|'));

    // An order of `lines` lines of the item `id`.
    static OrderMail of(const char* id, int lines = 1) {
        OrderMail mail;
        mail.items = QStringList(lines, item(id, "1", "5.00", "5.00"));
        return mail;
    }

    // The fields of the plain order page, which has one address column.
    static OrderMail plainPage() {
        OrderMail mail;
        mail.fields = QStringLiteral("AMOUNT=$$$ 97.47|R12=Out|T2=$ 6.77|T1=$$$ 97.47|Name=Ann Lee|"
                                     "Adrs1=12 Elm Street|Adrs2=Apt 3|City=Dallas|State=TX|"
                                     "ZIP=75201|Phone=555-0101|E_Mail1=ann@shop.test|METHOD=Visa|"
                                     "CCNumber=4111111111111111|CCExp=09/27|B1=Submit")
                          .split(QLatin1Char('|'));
        return mail;
    }

    // Gives a field a value (appended when the form has no such field yet)
    // or, with a null value, leaves it out.
    OrderMail& set(const QString& name, const QString& value) {
        const qsizetype at = indexOf(name);
        if (at >= 0)
            fields.removeAt(at);
        if (!value.isNull())
            fields.insert(at < 0 ? fields.size() : at, name + QLatin1Char('=') + value);
        return *this;
    }

    // The description is the item lines, each ending in a line end, then a
    // line end and the total line, as the order page builds it.
    QString text() const {
        const QString amount = fields.value(indexOf(QStringLiteral("AMOUNT"))).mid(7);
        const QString description =
            items.join('\n') + (items.isEmpty() ? "" : "\n") + "\n Total Price : " + amount;
        QString mail = "Return-Path: <jane@shop.test>\r\nReceived: from mail.shop.test "
                       "(mail.shop.test [192.0.2.7])\r\n\tby mx.example.com with ESMTP; Tue, 7 "
                       "May 2024 10:00:00 +0000\r\n" +
                       fromLine + "\r\nTo: orders@example.com\r\n" + subjectLine +
                       "\r\nMIME-Version: 1.0\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n";
        for (const QString& field : QStringList{"DESCRIPTION=" + description} + fields)
            mail += QString(field).replace('\n', "\r\n") + "\r\n";
        return mail;
    }

    // The mail as a mail delivery stores it, with LF line ends.
    QByteArray saved() const { return text().replace("\r\n", "\n").toUtf8(); }

private:
    qsizetype indexOf(const QString& name) const {
        return fields.indexOf(QRegularExpression(QRegularExpression::escape(name) + "=.*",
                                                 QRegularExpression::DotMatchesEverythingOption));
    }
};

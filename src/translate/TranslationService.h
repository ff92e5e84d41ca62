#pragma once

#include <QString>

// The web translation service: its address and the request that asks it to
// translate a page from one language into another.
class TranslationService {
public:
    explicit TranslationService(const QString& base) : m_base(base) {}

    const QString& base() const { return m_base; }
    // The address that has the service translate the page at `address`
    // with the language pair `code`. The page address is percent-encoded,
    // so one holding "&", "?", "#" or blanks reaches the service whole.
    QString requestUrl(const QString& address, const QString& code) const;

private:
    QString m_base;
};

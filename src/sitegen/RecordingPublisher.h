#pragma once

#include "sitegen/Publisher.h"

#include <QList>

// A back end that sends nothing and only records the calls made to it:
// what a publish would do ("--dry-run"). Every call succeeds; whether the
// web exists is given beforehand.
class RecordingPublisher : public Publisher {
    Q_OBJECT

public:
    struct Call {
        QString name;
        QStringList arguments;
        bool operator==(const Call&) const = default;
    };

    explicit RecordingPublisher(bool webExists, QObject* parent = nullptr);

    const QList<Call>& calls() const { return m_calls; }

    void vtiDisableErrorDialogs(int flag) override;
    Expected<bool> vtiOpenWebWithPassword(const QString& server, const QString& web,
                                          const QString& user, const QString& password) override;
    Expected<void> vtiRemoveWeb(const QString& webPath, const QString& addressList) override;
    Expected<void> vtiCreateWeb(const QString& serverUrl, const QString& web) override;
    QList<Expected<void>> vtiPutDocuments(const QString& fileList,
                                          const QString& addressList) override;

private:
    bool m_webExists;
    QList<Call> m_calls;
};

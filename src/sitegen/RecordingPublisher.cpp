#include "sitegen/RecordingPublisher.h"

#include "sitegen/PublishingLists.h"

RecordingPublisher::RecordingPublisher(bool webExists, QObject* parent)
    : Publisher(parent), m_webExists(webExists) {}

void RecordingPublisher::vtiDisableErrorDialogs(int flag) {
    m_calls.append({QStringLiteral("vtiDisableErrorDialogs"), {QString::number(flag)}});
}

Expected<bool> RecordingPublisher::vtiOpenWebWithPassword(const QString& server, const QString& web,
                                                          const QString& user,
                                                          const QString& password) {
    m_calls.append({QStringLiteral("vtiOpenWebWithPassword"), {server, web, user, password}});
    return m_webExists;
}

Expected<void> RecordingPublisher::vtiRemoveWeb(const QString& webPath,
                                                const QString& addressList) {
    m_calls.append({QStringLiteral("vtiRemoveWeb"), {webPath, addressList}});
    return {};
}

Expected<void> RecordingPublisher::vtiCreateWeb(const QString& serverUrl, const QString& web) {
    m_calls.append({QStringLiteral("vtiCreateWeb"), {serverUrl, web}});
    return {};
}

QList<Expected<void>> RecordingPublisher::vtiPutDocuments(const QString& fileList,
                                                          const QString& addressList) {
    m_calls.append({QStringLiteral("vtiPutDocuments"), {fileList, addressList}});
    const qsizetype count = PublishingLists::entries(addressList).size();
    for (qsizetype i = 0; i < count; ++i)
        Q_EMIT documentHandled(int(i + 1), int(count));
    return QList<Expected<void>>(count, Expected<void>());
}

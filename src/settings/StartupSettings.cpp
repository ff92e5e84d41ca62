#include "settings/StartupSettings.h"

#include <QSettings>

namespace {

const QString kLocation1 = QStringLiteral("Location1");
const QString kLocation2 = QStringLiteral("Location2");
const QString kMakerSite = QStringLiteral("MakerSite");
const QString kTranslationService = QStringLiteral("TranslationService");
const QString kUserAgent = QStringLiteral("UserAgent");
const QString kRespectRobots = QStringLiteral("RespectRobots");
const QString kSubmittingProgram = QStringLiteral("SubmittingProgram");
const QString kPublishingProgram = QStringLiteral("PublishingProgram");
const QString kOrderDatabase = QStringLiteral("OrderDatabase");
const QString kMailSizeLimitMB = QStringLiteral("MailSizeLimitMB");
const QString kTrustedMailCertificate = QStringLiteral("TrustedMailCertificate");
const QString kTrustedPublishCertificate = QStringLiteral("TrustedPublishCertificate");

// The program's settings file, its [Startup] group open.
struct StartupGroup {
    QSettings file{QStringLiteral("Quillmart"), QStringLiteral("Quillmart")};
    StartupGroup() { file.beginGroup(QStringLiteral("Startup")); }
};

QString text(const QSettings& file, const QString& key) {
    return file.value(key).toString();
}

// An empty text or zero is the default: its key is removed, so the file
// names only what the user chose.
void put(QSettings& file, const QString& key, const QString& value) {
    if (value.isEmpty())
        file.remove(key);
    else
        file.setValue(key, value);
}

Expected<void> written(QSettings& file) {
    file.sync();
    if (file.status() == QSettings::NoError)
        return {};
    return Failure{QStringLiteral("The settings could not be written to %1.").arg(file.fileName())};
}

} // namespace

StartupSettings::StartupSettings(QObject* parent) : QObject(parent), m_values(read()) {}

StartupValues StartupSettings::read() {
    const StartupGroup group;
    const QSettings& file = group.file;
    StartupValues values;
    values.location1 = text(file, kLocation1);
    values.location2 = text(file, kLocation2);
    values.makerSite = text(file, kMakerSite);
    values.translationService = text(file, kTranslationService);
    values.userAgent = text(file, kUserAgent);
    if (file.contains(kRespectRobots))
        values.respectRobots = file.value(kRespectRobots).toBool();
    values.submittingProgram = text(file, kSubmittingProgram);
    values.publishingProgram = text(file, kPublishingProgram);
    values.orderDatabase = text(file, kOrderDatabase);
    values.mailSizeLimitMB = qMax(0, file.value(kMailSizeLimitMB).toInt());
    values.trustedMailCertificate = text(file, kTrustedMailCertificate);
    values.trustedPublishCertificate = text(file, kTrustedPublishCertificate);
    return values;
}

Expected<void> StartupSettings::change(const StartupValues& values) {
    m_values = values;
    StartupGroup group;
    QSettings& file = group.file;
    put(file, kLocation1, values.location1);
    put(file, kLocation2, values.location2);
    put(file, kMakerSite, values.makerSite);
    put(file, kTranslationService, values.translationService);
    put(file, kUserAgent, values.userAgent);
    if (values.respectRobots)
        file.setValue(kRespectRobots, *values.respectRobots);
    else
        file.remove(kRespectRobots);
    put(file, kSubmittingProgram, values.submittingProgram);
    put(file, kPublishingProgram, values.publishingProgram);
    put(file, kOrderDatabase, values.orderDatabase);
    put(file, kMailSizeLimitMB,
        values.mailSizeLimitMB > 0 ? QString::number(values.mailSizeLimitMB) : QString());
    put(file, kTrustedMailCertificate, values.trustedMailCertificate);
    put(file, kTrustedPublishCertificate, values.trustedPublishCertificate);
    Q_EMIT changed();
    return written(file);
}

Expected<void> StartupSettings::keepLocations(const QString& location1, const QString& location2) {
    m_values.location1 = location1;
    m_values.location2 = location2;
    StartupGroup group;
    put(group.file, kLocation1, location1);
    put(group.file, kLocation2, location2);
    return written(group.file);
}

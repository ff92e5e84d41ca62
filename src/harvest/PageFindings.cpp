#include "harvest/PageFindings.h"

QString PageFindings::kindName(Finding::Kind kind) {
    switch (kind) {
    case Finding::Kind::Title:
        return QStringLiteral("title");
    case Finding::Kind::Description:
        return QStringLiteral("description");
    case Finding::Kind::Keywords:
        return QStringLiteral("keywords");
    case Finding::Kind::Paragraph:
        return QStringLiteral("paragraph");
    case Finding::Kind::Email:
        return QStringLiteral("e-mail");
    case Finding::Kind::Picture:
        return QStringLiteral("picture");
    case Finding::Kind::Link:
        break;
    }
    return QStringLiteral("link");
}

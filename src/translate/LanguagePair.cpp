#include "translate/LanguagePair.h"

const QList<LanguagePair>& LanguagePair::all() {
    static const QList<LanguagePair> pairs = {
        {QStringLiteral("Portuguese to English"), QStringLiteral("pt_en"), QStringLiteral("pt_en")},
        {QStringLiteral("Spanish to English"), QStringLiteral("es_en"), QStringLiteral("es_en")},
        {QStringLiteral("Italian to English"), QStringLiteral("it_en"), QStringLiteral("it_en")},
        {QStringLiteral("German to English"), QStringLiteral("de_en"), QStringLiteral("de_en")},
        {QStringLiteral("French to English"), QStringLiteral("fr_en"), QStringLiteral("fr_en")},
        {QStringLiteral("English to Spanish"), QStringLiteral("en_es"), QStringLiteral("en_es")},
        {QStringLiteral("English to Portuguese"), QStringLiteral("en_pt"), QStringLiteral("en_pt")},
        {QStringLiteral("English to Italian"), QStringLiteral("en_it"), QStringLiteral("en_it")},
        {QStringLiteral("English to German"), QStringLiteral("en_de"), QStringLiteral("en_de")},
        {QStringLiteral("English to French"), QStringLiteral("en_fr"), QStringLiteral("en_fr")},
    };
    return pairs;
}

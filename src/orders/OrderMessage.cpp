#include "orders/OrderMessage.h"

#include <algorithm>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
const QString kDescriptionKey = QStringLiteral("DESCRIPTION=");
const QString kAmountKey = QStringLiteral("AMOUNT=");
// The description's first line end is looked for from its third character on.
constexpr qsizetype kFirstLineEndFrom = 2;
// The amount field starts with this mark before the amount ("$$$ 97.23").
constexpr qsizetype kAmountMarkLength = 3;
// More digits than this could overflow a 64-bit quantity.
constexpr qsizetype kMaxQuantityDigits = 18;

// A shipping method: the button that names it and the field of its charge.
struct MethodChoice {
    QString button;
    QString name;
    QString costField;
};

const QList<MethodChoice>& methodChoices() {
    static const QList<MethodChoice> choices = {
        {QStringLiteral("V1="), QStringLiteral("Saver"), QStringLiteral("T3=")},
        {QStringLiteral("V2="), QStringLiteral("Economy"), QStringLiteral("T4=")},
        {QStringLiteral("V3="), QStringLiteral("Standard"), QStringLiteral("T5=")},
        {QStringLiteral("V4="), QStringLiteral("Priority"), QStringLiteral("T6=")}};
    return choices;
}

// The form fields the order log lists after the description, in its order.
const QStringList& loggedFields() {
    static const QStringList fields =
        QStringLiteral("AMOUNT= T2= NameB= NameS= Adrs1B= Adrs1S= Adrs2B= Adrs2S= StateB= StateS= "
                       "ZIPB= ZIPS= PhoneE= PhoneD= E_Mail1= E_Mail2= Cust_Serv_Phone= "
                       "CCNumber= CCExp=")
            .split(QLatin1Char(' '));
    return fields;
}

// The fields of the order pages with a billing and a shipping column; a
// message with none of them comes from a page with one address column.
const QStringList& twinAddressKeys() {
    static const QStringList keys =
        QStringLiteral("NameB= NameS= Adrs1B= Adrs1S= Adrs2B= Adrs2S= CityB= CityS= StateB= "
                       "StateS= ZIPB= ZIPS= PhoneE= PhoneD=")
            .split(QLatin1Char(' '));
    return keys;
}

// The value of a form field whose line starts with `key`, letter case
// ignored. The single-address keys ("Name=", "State=") also end longer
// words ("filename="), so they count only at the start of a line.
QString lineFieldValue(const QString& text, const QString& key) {
    if (text.startsWith(key, Qt::CaseInsensitive))
        return OrderMessage::fieldValue(text, key);
    const qsizetype at = text.indexOf(kLineEnd + key, 0, Qt::CaseInsensitive);
    return at < 0 ? QString() : OrderMessage::fieldValue(text.mid(at + kLineEnd.size()), key);
}

OrderColumn textColumn(const char* name, const QString& text) {
    return {QString::fromLatin1(name), text, false};
}

OrderColumn moneyColumn(const char* name, const QString& text) {
    return {QString::fromLatin1(name), text, true};
}

// A whole number, optionally signed and between blanks; none otherwise.
std::optional<qint64> wholeNumber(const QString& text) {
    QStringView digits = QStringView(text).trimmed();
    const bool negative = digits.startsWith(QLatin1Char('-'));
    if (negative)
        digits = digits.mid(1);
    if (digits.isEmpty() || digits.size() > kMaxQuantityDigits)
        return std::nullopt;
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const qint64 value = digits.toLongLong();
    return negative ? -value : value;
}

// The text between two carets without its last character: the blank the
// order page writes before the caret.
QString withoutLastCharacter(const QString& text) {
    return text.left(text.size() - 1);
}

} // namespace

std::optional<Money> OrderColumn::amount() const {
    return isMoney ? Money::fromText(text) : std::nullopt;
}

OrderMessage::OrderMessage(const QString& text)
    : m_text(text), m_subject(fieldValue(text, QStringLiteral("Subject:"))),
      m_sender(fieldValue(text, QStringLiteral("from:"))) {
    m_singleAddress = std::none_of(
        twinAddressKeys().begin(), twinAddressKeys().end(),
        [&text](const QString& key) { return text.contains(key, Qt::CaseInsensitive); });
    readDescription();
    readShippingMethod();
}

QString OrderMessage::fieldValue(const QString& text, const QString& key) {
    const qsizetype at = text.indexOf(key, 0, Qt::CaseInsensitive);
    if (at < 0)
        return QString();
    const qsizetype start = at + key.size();
    const qsizetype end = text.indexOf(kLineEnd, start);
    return end < 0 ? text.mid(start) : text.mid(start, end - start);
}

// On a single-address page one field fills both the billing and the
// shipping twin: "Name=" stands for "NameB=" and "NameS=", "Phone=" for
// "PhoneE=" and "PhoneD=". Other keys are read as they are.
QString OrderMessage::address(const QString& twinKey) const {
    if (!m_singleAddress || !twinAddressKeys().contains(twinKey))
        return field(twinKey);
    const QString key = twinKey.left(twinKey.size() - 2) + QLatin1Char('=');
    return lineFieldValue(m_text, key);
}

bool OrderMessage::isOrder() const {
    return m_subject.contains(QStringLiteral("Online Order"), Qt::CaseSensitive);
}

// Without a following "AMOUNT=" the description runs to the end of the
// text. One that is too large is not copied out of the text.
void OrderMessage::readDescription() {
    const qsizetype key = m_text.indexOf(kDescriptionKey, 0, Qt::CaseInsensitive);
    if (key < 0)
        return;
    const qsizetype start = key + kDescriptionKey.size();
    const qsizetype end = m_text.indexOf(kAmountKey, start, Qt::CaseInsensitive);
    const QStringView description = QStringView(m_text).mid(start, end < 0 ? -1 : end - start);
    if (const Expected<void> fits = checkSize(description); fits)
        m_description = description.toString();
    else
        m_whyTooLarge = fits.error();
}

// Only as many lines are split off as the limits need to see.
Expected<void> OrderMessage::checkSize(QStringView description) {
    const QList<QStringView> lines = splitDescription(description, kMaxDescriptionLines + 1);
    const auto firstEmpty =
        std::find_if(lines.begin(), lines.end(), [](QStringView line) { return line.isEmpty(); });
    if (firstEmpty - lines.begin() > kMaxItemLines)
        return Failure{QStringLiteral("it has more than %1 item lines").arg(kMaxItemLines)};
    if (lines.size() > kMaxDescriptionLines)
        return Failure{QStringLiteral("its order description has more than %1 lines")
                           .arg(kMaxDescriptionLines)};
    if (description.size() > kMaxDescriptionCharacters)
        return Failure{QStringLiteral("its order description has more than %1 characters")
                           .arg(kMaxDescriptionCharacters)};
    return {};
}

// Each line ends at a CR LF; text after the last CR LF is no line. The
// first line end is looked for from the third character on, so a
// description that opens with CR LF keeps it in its first line. At most
// `maxLines` lines are split off.
QList<QStringView> OrderMessage::splitDescription(QStringView description, qsizetype maxLines) {
    QList<QStringView> lines;
    qsizetype start = 0;
    qsizetype end = description.indexOf(kLineEnd, kFirstLineEndFrom);
    while (end >= 0 && lines.size() < maxLines) {
        lines << description.mid(start, end - start);
        start = end + kLineEnd.size();
        end = description.indexOf(kLineEnd, start);
    }
    return lines;
}

QStringList OrderMessage::descriptionLines() const {
    QStringList lines;
    for (const QStringView line : splitDescription(m_description, kMaxDescriptionLines))
        lines << line.toString();
    return lines;
}

// A later method that matches replaces an earlier one.
void OrderMessage::readShippingMethod() {
    for (const MethodChoice& choice : methodChoices()) {
        if (field(choice.button) != choice.name)
            continue;
        m_shippingMethod = choice.name;
        m_shippingCost = field(choice.costField);
    }
}

QList<OrderColumn> OrderMessage::orderColumns() const {
    const QString total = field(kAmountKey).mid(kAmountMarkLength);
    return {textColumn("CustomerID", m_sender),
            textColumn("ShipName", address(QStringLiteral("NameS="))),
            textColumn("ShipAddress", address(QStringLiteral("Adrs1S="))),
            textColumn("ShipCity", address(QStringLiteral("CityS="))),
            textColumn("ShipState", address(QStringLiteral("StateS="))),
            textColumn("ShipPostalCode", address(QStringLiteral("ZIPS="))),
            textColumn("ShipPhoneNumber", address(QStringLiteral("PhoneE="))),
            textColumn("ShippingMethodID", m_shippingMethod),
            moneyColumn("ShippingCost", m_shippingCost),
            textColumn("BillName", address(QStringLiteral("NameB="))),
            textColumn("BillAddress", address(QStringLiteral("Adrs1B="))),
            textColumn("BillCity", address(QStringLiteral("CityB="))),
            textColumn("BillState", address(QStringLiteral("StateB="))),
            textColumn("BillPostalCode", address(QStringLiteral("ZIPB="))),
            textColumn("BillPhoneNumber", address(QStringLiteral("PhoneD="))),
            textColumn("EMail1", field(QStringLiteral("E_Mail1="))),
            textColumn("EMail2", field(QStringLiteral("E_Mail2="))),
            moneyColumn("SalesTax", field(QStringLiteral("T2="))),
            moneyColumn("Total", total),
            textColumn("SustServPhone", field(QStringLiteral("Cust_Serv_Phone="))),
            textColumn("CCNumber", field(QStringLiteral("CCNumber="))),
            textColumn("CCExp", field(QStringLiteral("CCExp=")))};
}

QList<OrderLine> OrderMessage::orderLines() const {
    QList<OrderLine> rows;
    for (const QStringView line : splitDescription(m_description, kMaxDescriptionLines)) {
        if (line.isEmpty())
            break;
        if (const std::optional<OrderLine> row = orderLine(line.toString()))
            rows << *row;
    }
    return rows;
}

// "A1 ^ 2 ^ 5.00 ^ 10.00^": identifier, quantity, unit price and row total,
// each closed by a caret.
std::optional<OrderLine> OrderMessage::orderLine(const QString& line) {
    qsizetype carets[4];
    qsizetype from = 0;
    for (qsizetype& caret : carets) {
        caret = line.indexOf(QLatin1Char('^'), from);
        if (caret < 0)
            return std::nullopt;
        from = caret + 1;
    }
    const auto between = [&line, &carets](int i) {
        return line.mid(carets[i] + 1, carets[i + 1] - carets[i] - 1);
    };
    return OrderLine{line.left(carets[0]), wholeNumber(withoutLastCharacter(between(0))),
                     Money::fromText(withoutLastCharacter(between(1))),
                     Money::fromText(between(2))};
}

QString OrderMessage::logText() const {
    QString log = m_subject + kLineEnd + m_sender + kLineEnd + m_description + kLineEnd;
    for (const QString& key : loggedFields())
        log += address(key) + kLineEnd;
    return log + m_shippingMethod + kLineEnd + m_shippingCost + kLineEnd + kLineEnd;
}

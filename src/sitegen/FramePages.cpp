#include "sitegen/FramePages.h"

#include "sitegen/MakerSite.h"
#include "sitegen/PageText.h"
#include "text/ScriptText.h"

namespace {

using Page = ShopIdentity::Page;

// The banner, the two menus and the company page take the merchant's page
// style between "<body " and ">": background colour, text colour and
// background picture, those set, in that order. Without any the tag keeps
// its blank. A colour that is not "#rrggbb" is never written (Generate
// refuses it), nor a picture without a picture's name ending.
QString styledBody(const ShopIdentity& identity, Page page) {
    const PageStyle& style = identity.style(page);
    QStringList attributes;
    if (ShopIdentity::isColour(style.backgroundColour))
        attributes << QStringLiteral("bgcolor='") + style.backgroundColour + QLatin1Char('\'');
    if (ShopIdentity::isColour(style.textColour))
        attributes << QStringLiteral("text='") + style.textColour + QLatin1Char('\'');
    const QString picture = identity.backgroundPictureName(page);
    if (!picture.isEmpty())
        attributes << QStringLiteral("background='") + picture + QLatin1Char('\'');
    return QStringLiteral("<body ") + attributes.join(QLatin1Char(' ')) + QLatin1Char('>');
}

// The banner's paragraph: the banner picture, fitted into the 97-pixel
// banner row with the paragraph's margins, with the banner text as its
// alternative; else the banner text; else the fixed invitation.
QString bannerLine(const ShopIdentity& identity) {
    const QString text = identity.bannerText.trimmed();
    const QString picture = identity.bannerPictureName();
    if (!picture.isEmpty())
        return QStringLiteral("<p align='center'><img src='") + picture +
               QStringLiteral("' alt='") + FramePages::merchantText(text) +
               QStringLiteral("' height='60'></p>");
    return QStringLiteral("<p align='center'><big><big><font face='Verdana'><strong> ") +
           (text.isEmpty() ? QStringLiteral("Your Banner here") : FramePages::merchantText(text)) +
           QStringLiteral("</strong></font></big></big></p>");
}

// "<html>", an empty line, "<head>" and the title.
QStringList openHead(const QString& title) {
    return {QStringLiteral("<html>"), QString(), QStringLiteral("<head>"),
            QStringLiteral("<title>") + title + QStringLiteral("</title>")};
}

// The GENERATOR tag: the credit text (which differs from page to page) and
// the maker's host name.
QString generatorTag(const QString& credit) {
    return QStringLiteral("<meta name='GENERATOR' content='") + credit + MakerSite::host() +
           QStringLiteral("'>");
}

QStringList bannerFrameset() {
    return {
        QStringLiteral("<frameset framespacing='0' border='false' frameborder='0' rows='97,*'>"),
        QStringLiteral("  <frame name='header' scrolling='no' noresize target='main' "
                       "src='banner.htm'>"),
        QStringLiteral("  <frame name='main' src='fsecond.htm' scrolling='auto'>"),
        QStringLiteral(" <noframes>"),
        QStringLiteral("  <body>"),
        QStringLiteral("  <p>This page uses frames, but your browser doesn't support them.</p>"),
        QStringLiteral("  <p>You may download modern browser from http://") +
            MakerSite::browserDownload() + QStringLiteral(" </p>"),
        QStringLiteral("  </body>"),
        QStringLiteral("  </noframes>"),
        QStringLiteral("</frameset>"),
        QStringLiteral("<frameset>"),
        QStringLiteral("<noframes>"),
        QStringLiteral("</noframes>"),
        QStringLiteral("</frameset>"),
        QStringLiteral("</html>"),
    };
}

// The main menu on the left and the company page on the right; shared by
// the contents-only start page and the banner layout's second frameset.
QStringList contentsFrameset() {
    return {
        QStringLiteral("<frameset frameborder='0' border='false' framespacing='0' cols='93,*'>"),
        QStringLiteral(
            "<frame name='c_ontents' target='m_ain' src='mmenu.htm' scrolling='no' noresize>"),
        QStringLiteral("<frame name='m_ain' src='compinfo.htm' scrolling='auto'>"),
        QStringLiteral("<noframes>"),
        QStringLiteral("<body>"),
        QStringLiteral("</body>"),
        QStringLiteral("</noframes>"),
        QStringLiteral("</frameset>"),
        QStringLiteral("</html>"),
    };
}

// A page whose body is one centred, emphasised line, or the paragraphs
// that take its place.
QString announcementPage(const QString& title, const QString& credit, const QString& body,
                         const QStringList& lines) {
    return PageText::lines(openHead(title)
                           << generatorTag(credit) << QStringLiteral("</head>") << body << lines
                           << QStringLiteral("</body>") << QStringLiteral("</html>"));
}

// The link of one category to its listing page.
QString categoryLink(const QString& name) {
    return QStringLiteral("<p align='left'><a href='") +
           PageText::href(QStringLiteral("l_") + name + QStringLiteral(".htm")) +
           QStringLiteral("'>") + ScriptText::html(name) + QStringLiteral(" </a></p>");
}

} // namespace

// Only the start page loads the catalog script; the frameset follows the
// closing head tag on the same line. Its title, the banner text when there
// is one, names the shop in the browser on every page of the framed site.
QString FramePages::startPage(const SiteInput& input) {
    const QString bannerText = input.identity.bannerText.trimmed();
    const QStringList head =
        openHead(bannerText.isEmpty() ? QStringLiteral("On-Line Shop") : merchantText(bannerText))
        << generatorTag(QStringLiteral("Quillmart 6.0 by Dorvane ; "));
    QStringList frames = input.settings.layout == SiteSettings::Layout::BannerAndContents
                             ? bannerFrameset()
                             : contentsFrameset();
    frames.first().prepend(
        QStringLiteral("<script language='JavaScript' src='data1.js'></script></head>"));
    return PageText::lines(head + frames);
}

QString FramePages::secondFrameset() {
    return PageText::lines(openHead(QStringLiteral("Sopping On-line"))
                           << generatorTag(QStringLiteral("Quillmart 2.0 by Dorvane ; "))
                           << QStringLiteral("</head>") << contentsFrameset());
}

QString FramePages::banner(const SiteInput& input) {
    return announcementPage(QStringLiteral("Banner"), QStringLiteral("Quillmart 5.0 by Dorvane "),
                            styledBody(input.identity, Page::Banner), {bannerLine(input.identity)});
}

QString FramePages::mainMenu(const SiteInput& input) {
    return PageText::lines(
        openHead(QStringLiteral("Main menu"))
        << QStringLiteral("<meta NAME='keywords' CONTENT>")
        << QStringLiteral("<meta NAME='description' CONTENT>")
        << QStringLiteral("<meta NAME='distribution' CONTENT='global'>")
        << QStringLiteral("<meta NAME='Classification' CONTENT='Online Shopping'>")
        << QStringLiteral("<base target='m_ain'>") << QStringLiteral("</head>")
        << styledBody(input.identity, Page::Menu)
        << QStringLiteral("<font face='Verdana' color='#000000'>")
        << QStringLiteral("<p align='left'><small><a ID='ols' href='m_products.htm'target='_self' "
                          "><strong>On-line<br>")
        << QStringLiteral("Store</strong></a></small></p>")
        << QStringLiteral("<p align='left'><small>") + PageText::creditLinkOpen(input.makerSite) +
               QStringLiteral("<em>This Web")
        << QStringLiteral("developed &amp; Generated by Quillmart 6.0</em>") +
               PageText::creditLinkClose(input.makerSite) + QStringLiteral("</small></p>")
        << QStringLiteral("</font>") << QStringLiteral("</body>") << QStringLiteral("</html>"));
}

QString FramePages::companyPage(const SiteInput& input) {
    QStringList paragraphs = companyParagraphs(input.identity.companyText);
    if (paragraphs.isEmpty())
        paragraphs << QStringLiteral(
            "<p align='center'><strong><big><big>Your Company Info</big></big></strong></p>");
    return announcementPage(QStringLiteral("Company Info"),
                            QStringLiteral("Quillmart 2.0 by Dorvane "),
                            styledBody(input.identity, Page::Main), paragraphs);
}

QString FramePages::storePage() {
    return announcementPage(
        QStringLiteral("On-Line Store"), QStringLiteral("Quillmart 6.0 by Dorvane "),
        QStringLiteral("<body>"),
        {QStringLiteral(
            "<p align='center'><strong><big><big>On-Line Store</big></big></strong></p>")});
}

QString FramePages::productsMenu(const SiteInput& input) {
    QStringList page = openHead(QStringLiteral("Products menu"))
                       << generatorTag(QStringLiteral("Quillmart 2.0 by Dorvane "))
                       << QStringLiteral("<base target='m_ain'>") << QStringLiteral("</head>")
                       << styledBody(input.identity, Page::StoreMenu)
                       << QStringLiteral("<font face='Verdana'><small><strong>")
                       << QStringLiteral("<p>On-Line Store</p>");
    for (const SiteCategory& category : input.categories)
        page << categoryLink(category.name);
    page << QStringLiteral("<p align='left'><a href='complect.htm'>Do Your self</a></p>")
         << QStringLiteral("<p align='left'><a href='basket.htm'>Basket</a></p>")
         << QStringLiteral("<p align='left'><a href='wbasket.htm'>WBasket</a></p>")
         << QStringLiteral("<p align='left'><a href='select_payment.htm'>Order Form</a></p>")
         << QStringLiteral(
                "<p align='left'><a ID='dd'  href='mmenu.htm' target='_self'>Main Menu</a></p>")
         << QStringLiteral("<p align='left'></strong><em>") +
                PageText::creditLinkOpen(input.makerSite) +
                QStringLiteral("This Web Created &amp; Generated by Quillmart 6.0") +
                PageText::creditLinkClose(input.makerSite) + QStringLiteral("</p>")
         << QStringLiteral("</em></small></font>") << QStringLiteral("</body>")
         << QStringLiteral("</html>");
    return PageText::lines(page);
}

QStringList FramePages::companyParagraphs(const QString& companyText) {
    QString text = companyText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    lines << QString(); // ends the last block
    QStringList paragraphs;
    QStringList block;
    for (const QString& line : lines) {
        if (!line.trimmed().isEmpty()) {
            block << merchantText(line);
        } else if (!block.isEmpty()) {
            paragraphs << QStringLiteral("<p>") + block.join(QStringLiteral("<br>")) +
                              QStringLiteral("</p>");
            block.clear();
        }
    }
    return paragraphs;
}

// C0 and C1 controls become blanks: a numeric reference to a C1 control
// would be read as a Windows-1252 letter. A lone surrogate has already
// become U+FFFD on the way to code points.
QString FramePages::merchantText(const QString& text) {
    QString written;
    for (const char32_t c : ScriptText::html(text).toUcs4()) {
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
            written += QLatin1Char(' ');
        else if (c < 0x80)
            written += QChar(char16_t(c));
        else
            written += QStringLiteral("&#") + QString::number(c) + QLatin1Char(';');
    }
    return written;
}

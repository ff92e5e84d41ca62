#include "sitegen/FramePages.h"

#include "sitegen/MakerSite.h"
#include "sitegen/PageText.h"
#include "text/ScriptText.h"

namespace {

// The banner, the two menus and the company page take the merchant's
// page-style attributes between "<body " and ">". Nothing ever sets them, so
// the tag keeps its blank and carries no attributes.
const QString kStyledBody = QStringLiteral("<body >");

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

// A page whose body is one centred, emphasised line.
QString announcementPage(const QString& title, const QString& credit, const QString& body,
                         const QString& line) {
    return PageText::lines(openHead(title)
                           << generatorTag(credit) << QStringLiteral("</head>") << body << line
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
// closing head tag on the same line.
QString FramePages::startPage(const SiteInput& input) {
    const QStringList head = openHead(QStringLiteral("On-Line Shop"))
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

QString FramePages::banner() {
    return announcementPage(QStringLiteral("Banner"), QStringLiteral("Quillmart 5.0 by Dorvane "),
                            kStyledBody,
                            QStringLiteral("<p align='center'><big><big><font face='Verdana'>"
                                           "<strong> Your Banner here</strong></font></big></big>"
                                           "</p>"));
}

QString FramePages::mainMenu() {
    return PageText::lines(
        openHead(QStringLiteral("Main menu"))
        << QStringLiteral("<meta NAME='keywords' CONTENT>")
        << QStringLiteral("<meta NAME='description' CONTENT>")
        << QStringLiteral("<meta NAME='distribution' CONTENT='global'>")
        << QStringLiteral("<meta NAME='Classification' CONTENT='Online Shopping'>")
        << QStringLiteral("<base target='m_ain'>") << QStringLiteral("</head>") << kStyledBody
        << QStringLiteral("<font face='Verdana' color='#000000'>")
        << QStringLiteral("<p align='left'><small><a ID='ols' href='m_products.htm'target='_self' "
                          "><strong>On-line<br>")
        << QStringLiteral("Store</strong></a></small></p>")
        << QStringLiteral("<p align='left'><small><a href='http://") + MakerSite::host() +
               QStringLiteral("/welcome.htm'><em>This Web")
        << QStringLiteral("developed &amp; Generated by Quillmart 6.0</em></a></small></p>")
        << QStringLiteral("</font>") << QStringLiteral("</body>") << QStringLiteral("</html>"));
}

QString FramePages::companyPage() {
    return announcementPage(
        QStringLiteral("Company Info"), QStringLiteral("Quillmart 2.0 by Dorvane "), kStyledBody,
        QStringLiteral(
            "<p align='center'><strong><big><big>Your Company Info</big></big></strong></p>"));
}

QString FramePages::storePage() {
    return announcementPage(
        QStringLiteral("On-Line Store"), QStringLiteral("Quillmart 6.0 by Dorvane "),
        QStringLiteral("<body>"),
        QStringLiteral(
            "<p align='center'><strong><big><big>On-Line Store</big></big></strong></p>"));
}

QString FramePages::productsMenu(const SiteInput& input) {
    QStringList page = openHead(QStringLiteral("Products menu"))
                       << generatorTag(QStringLiteral("Quillmart 2.0 by Dorvane "))
                       << QStringLiteral("<base target='m_ain'>") << QStringLiteral("</head>")
                       << kStyledBody << QStringLiteral("<font face='Verdana'><small><strong>")
                       << QStringLiteral("<p>On-Line Store</p>");
    for (const SiteCategory& category : input.categories)
        page << categoryLink(category.name);
    page << QStringLiteral("<p align='left'><a href='complect.htm'>Do Your self</a></p>")
         << QStringLiteral("<p align='left'><a href='basket.htm'>Basket</a></p>")
         << QStringLiteral("<p align='left'><a href='wbasket.htm'>WBasket</a></p>")
         << QStringLiteral("<p align='left'><a href='select_payment.htm'>Order Form</a></p>")
         << QStringLiteral(
                "<p align='left'><a ID='dd'  href='mmenu.htm' target='_self'>Main Menu</a></p>")
         << QStringLiteral("<p align='left'></strong><em><a href='http://") + MakerSite::host() +
                QStringLiteral(
                    "/welcome.htm'>This Web Created &amp; Generated by Quillmart 6.0</a></p>")
         << QStringLiteral("</em></small></font>") << QStringLiteral("</body>")
         << QStringLiteral("</html>");
    return PageText::lines(page);
}

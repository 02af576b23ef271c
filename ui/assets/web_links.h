// Web links: the addresses the Help menu opens.
#pragma once

#include <QString>

// The maker's web site; every link and contact address is built from this one host.
inline constexpr const char* kMakerSiteHost = "www.tessaluma.example";

inline QString HomePageUrl() {
    return QStringLiteral("http://") + QLatin1String(kMakerSiteHost) + QStringLiteral("/");
}

inline QString BugBoardUrl() {
    return QStringLiteral("http://") + QLatin1String(kMakerSiteHost) +
           QStringLiteral("/forum/viewboard.php?BoardID=12");
}

inline QString SuggestionBoardUrl() {
    return QStringLiteral("http://") + QLatin1String(kMakerSiteHost) +
           QStringLiteral("/forum/viewboard.php?BoardID=13");
}

// The address comments go to: the site's mail domain is the host without its "www.".
inline QString ContactEmail() {
    QString domain = QLatin1String(kMakerSiteHost);
    if (domain.startsWith(QStringLiteral("www.")))
        domain.remove(0, 4);
    return QStringLiteral("mosaiqua@") + domain;
}

#pragma once

#include "services/SitePages.h"
#include "ui/common/LinkLabel.h"

#include <QAction>

// The links to the maker's site that the main and reading windows share: the forum strip, the
// two offers and the Help menu's pages. `Form` is a window's generated form.
template <class Form> void connectSiteLinks(const Form& form, QObject* context) {
    QObject::connect(form.forumLink, &LinkLabel::clicked, context, openHomePage);
    QObject::connect(form.actionVisitWebSite, &QAction::triggered, context, openHomePage);
    QObject::connect(form.actionOnlineHelp, &QAction::triggered, context, openHelpPage);
    QObject::connect(form.actionCheckForUpdate, &QAction::triggered, context, openDownloadPage);
    QObject::connect(form.coBrandOffer, &LinkLabel::clicked, context, openCoBrandPage);
    QObject::connect(form.fullBrandOffer, &LinkLabel::clicked, context, openFullyBrandedPage);
    QObject::connect(form.actionMakeMoneyOnline, &QAction::triggered, context,
                     openFullyBrandedPage);
}

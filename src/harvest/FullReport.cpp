#include "harvest/FullReport.h"

#include "harvest/HarvestState.h"
#include "harvest/WebMarkup.h"
#include "platform/Prompts.h"

FullReport::Start FullReport::start(HarvestState& state, Prompts& prompts) {
    Start start;
    start.collectImages = prompts.askYesNo(QStringLiteral("Would You like collect images ?"),
                                           QStringLiteral("Question???"));
    if (state.linkList.isEmpty()) {
        prompts.message(QStringLiteral("Get links ,Please"));
        return start;
    }
    for (const QString& url : std::as_const(state.linkList)) {
        if (WebMarkup::isPageAddress(url))
            state.pageQueue << url;
        else
            start.refused << url;
    }
    state.linkList.clear();
    state.clearReport();
    start.readPages = !state.pageQueue.isEmpty();
    return start;
}

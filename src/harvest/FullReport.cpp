#include "harvest/FullReport.h"

#include "harvest/HarvestState.h"
#include "platform/Prompts.h"

FullReport::Start FullReport::start(HarvestState& state, Prompts& prompts) {
    Start start;
    start.collectImages = prompts.askYesNo(QStringLiteral("Would You like collect images ?"),
                                           QStringLiteral("Question???"));
    if (state.linkList.isEmpty()) {
        prompts.message(QStringLiteral("Get links ,Please"));
        return start;
    }
    state.pageQueue << state.linkList;
    state.linkList.clear();
    state.reportBuffer.clear();
    start.readPages = true;
    return start;
}

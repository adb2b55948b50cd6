#include "scripted_customisation.h"

#include <gtest/gtest.h>

namespace quintabel::testing {

void ScriptedCustomisation::showModal(CustomiseHandoff& handoff)
{
    shown_.push_back(handoff);
    if (script_.empty()) {
        ADD_FAILURE() << "the customisation window was shown for " << handoff.mTableName << " without a script";
        return;
    }
    const Step step = script_.front();
    script_.pop_front();
    switch (step.close) {
    case Close::Cancel:
        return; // the close box: both values stay as the transfer set them
    case Close::OkUnchanged:
        handoff.CustomizeCancelled = false;
        return;
    case Close::Ok:
        handoff.mSQL = step.statement;
        handoff.CustomizeCancelled = false;
        return;
    case Close::ByWindow:
        step.window->showModal(handoff);
        return;
    }
}

} // namespace quintabel::testing

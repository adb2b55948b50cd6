#pragma once
// What the two transfers need from the program around them besides their front end
// (frontend/front_end.h).

#include "base/connection_fields.h"
#include "frontend/front_end.h"
#include "transfer/customise_handoff.h"

#include <QString>

#include <functional>

namespace quintabel {

struct TransferEnvironment {
    // The connection window's six fields, read at the moment a transfer connects.
    std::function<ConnectionFields()> connectionFields;
    // The folder that holds the scratch database dbtemp.mdb. Asked for when a transfer to
    // Paradox opens the scratch connection, so that the program makes its own scratch folder
    // only once a transfer needs it; a failure to make it is that open step's failure.
    std::function<QString()> scratchFolder;
    // The data type customisation window (Form3), shown when the front end asks for
    // customisation (FrontEnd::customiseTypes). Not owned. Without one, a request for
    // customisation ends the run as a cancelled window does.
    CustomisationWindow* customisationWindow = nullptr;
};

} // namespace quintabel

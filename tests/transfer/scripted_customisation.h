#pragma once
// A stand-in for the data type customisation window: records each hand-off it is shown and
// closes the way the test scripted (cancelled, "OK" with the prefix unchanged, or "OK" with a
// statement of the test's own), or passes the hand-off on to a real window.

#include "transfer/customise_handoff.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace quintabel::testing {

class ScriptedCustomisation final : public CustomisationWindow {
public:
    void cancelNext() { script_.push_back({Close::Cancel, {}}); }
    void acceptUnchangedNext() { script_.push_back({Close::OkUnchanged, {}}); }
    void acceptNext(std::string statement) { script_.push_back({Close::Ok, std::move(statement)}); }
    void showNextIn(CustomisationWindow& window) { script_.push_back({Close::ByWindow, {}, &window}); }

    void showModal(CustomiseHandoff& handoff) override;

    // The hand-offs as the transfer set them, before the window changed anything.
    const std::vector<CustomiseHandoff>& shown() const { return shown_; }

private:
    enum class Close { Cancel, OkUnchanged, Ok, ByWindow };
    struct Step {
        Close close;
        std::string statement;
        CustomisationWindow* window = nullptr;
    };
    std::deque<Step> script_;
    std::vector<CustomiseHandoff> shown_;
};

} // namespace quintabel::testing

#pragma once
// A stand-in for the data type customisation window: records each hand-off it is shown and
// closes the way the test scripted (cancelled, "OK" with the prefix unchanged, or "OK" with a
// statement of the test's own).

#include "transfer/customize_handoff.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace quintabel::testing {

class ScriptedCustomization final : public transfer::CustomizationWindow {
public:
    void cancelNext() { script_.push_back({Close::Cancel, {}}); }
    void acceptUnchangedNext() { script_.push_back({Close::OkUnchanged, {}}); }
    void acceptNext(std::string statement) { script_.push_back({Close::Ok, std::move(statement)}); }

    void showModal(transfer::CustomizeHandoff& handoff) override;

    // The hand-offs as the transfer set them, before the window changed anything.
    const std::vector<transfer::CustomizeHandoff>& shown() const { return shown_; }

private:
    enum class Close { Cancel, OkUnchanged, Ok };
    struct Step {
        Close close;
        std::string statement;
    };
    std::deque<Step> script_;
    std::vector<transfer::CustomizeHandoff> shown_;
};

} // namespace quintabel::testing

// The main window's message table: each message number answered by a unit
// maps to exactly that unit.
#pragma once

#include "app/units/FeatureUnit.h"

#include <stdexcept>
#include <unordered_map>

namespace vlr {

// A message number claimed by two units: a start-up error of the program.
class EDuplicateMessage : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class MessageDispatcher {
public:
    // Claims every number `unit` declares; throws EDuplicateMessage naming
    // both units when a number is already taken.
    void Register(FeatureUnit& unit);
    // The unit answering `msg`, or nullptr.
    FeatureUnit* UnitFor(unsigned msg) const;
    std::size_t size() const { return table_.size(); }

private:
    std::unordered_map<unsigned, FeatureUnit*> table_;
};

}  // namespace vlr

#include "app/units/MessageDispatcher.h"

#include <string>

namespace vlr {

void MessageDispatcher::Register(FeatureUnit& unit) {
    for (unsigned msg : unit.Messages()) {
        auto [it, inserted] = table_.emplace(msg, &unit);
        if (!inserted)
            throw EDuplicateMessage("Message " + std::to_string(msg) + " is claimed by both the " +
                                    it->second->UnitName() + " and the " + unit.UnitName() + " unit");
    }
}

FeatureUnit* MessageDispatcher::UnitFor(unsigned msg) const {
    auto it = table_.find(msg);
    return it == table_.end() ? nullptr : it->second;
}

}  // namespace vlr

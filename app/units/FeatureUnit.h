// A feature unit: one subsystem of the main window. It owns its state,
// connects its own commands by name from the command tables, and answers the
// main-window message numbers it declares. The frame builds the units, fills
// the message dispatcher from their declarations and calls the life-cycle
// steps below in order.
#pragma once

#include "platform/Window.h"

#include <vector>

namespace vlr {

class FeatureUnit {
public:
    virtual ~FeatureUnit() = default;

    // A name for start-up errors, e.g. "project".
    virtual const char* UnitName() const = 0;

    // The main-window message numbers this unit answers. Each number belongs
    // to exactly one unit.
    virtual std::vector<unsigned> Messages() const { return {}; }
    // Answers one of Messages(). Runs inside the frame's guard: an exception
    // reaches the exception report under the current method name.
    virtual LResult HandleMessage(unsigned msg, WParam wParam, LParam lParam) {
        (void)msg;
        (void)wParam;
        (void)lParam;
        return 0;
    }

    // Once every unit exists: connect the unit's commands.
    virtual void ConnectCommands() {}
    // FormCreate, after the outside modules are bound and before the
    // preferences are read: plug-ins are loaded here.
    virtual void LoadExtensions() {}
    // FormCreate, after the outside modules are bound and the preferences read.
    virtual void Created() {}
    // FormShow, before the command-line arguments are opened.
    virtual void Shown() {}
    // Closing the main window, after every child window closed: false keeps
    // the program running (the user cancelled).
    virtual bool CloseQuery() { return true; }
    // The main window is closing for good.
    virtual void Closed() {}
};

}  // namespace vlr

// A stand-in editor window for the insertion dialogs: a registered
// "TFrmEditor" that records the markup messages it gets and answers the
// selected-text query.
#pragma once

#include "platform/Record.h"
#include "platform/Window.h"

#include <QVariant>
#include <QWidget>

#include <string>
#include <vector>

namespace vlrtest {

class FakeEditor : public QWidget, public vlr::MessageHandler {
public:
    struct Received {
        unsigned msg;
        std::string first, second, third;
    };

    FakeEditor() {
        handle_ = vlr::RegisterWindow(this, "TFrmEditor", this);
        setProperty("vlrHandle", QVariant::fromValue<vlr::Handle>(handle_));
    }
    ~FakeEditor() override { vlr::UnregisterWindow(handle_); }

    vlr::Handle handle() const { return handle_; }
    std::string selection;
    std::vector<Received> received;

    vlr::LResult handleMessage(unsigned msg, vlr::WParam, vlr::LParam lParam) override {
        if (msg == 3072)
            return reinterpret_cast<vlr::LResult>(vlr::MakeRecord(selection).release());
        vlr::RecordPtr r = vlr::AdoptRecord(lParam);
        received.push_back({msg, vlr::FirstText(r), vlr::SecondText(r), vlr::ThirdText(r)});
        return 0;
    }

private:
    vlr::Handle handle_ = 0;
};

}  // namespace vlrtest

// The colour module: the colour dialog behind the "Color Picker" command.
#include "libs/EntryPoints.h"
#include "libs/coldlg/ColourText.h"
#include "libs/common/ModuleSupport.h"
#include "platform/System.h"

#include <QApplication>
#include <QColorDialog>

#include <cstring>
#include <type_traits>

namespace {

constexpr std::int32_t kColourTextSize = 8;  // "#RRGGBB" and its zero

// The colour the dialog opens with: the colour already in the buffer when it
// holds one, else the one chosen last in this session, else white.
QColor InitialColour(const char* buffer, std::int32_t size) {
    std::size_t length = strnlen(buffer, static_cast<std::size_t>(size));
    if (auto colour = vlr::coldlg::ParseColourText(std::string_view(buffer, length)))
        return *colour;
    return QColor();
}

QColor& LastChosen() {
    static QColor colour(Qt::white);
    return colour;
}

}  // namespace

// Shows the colour dialog. On OK writes "#RRGGBB" with its terminating zero to
// buffer and returns 1; on Cancel returns 0 and leaves buffer as it was. A
// buffer too small for the answer is refused before anything is shown, so a
// chosen colour is never cut short. Under logged prompts nothing is shown and
// the answer is Cancel.
VLR_ENTRY_POINT std::int32_t ColDlgInitEx(char* buffer, std::int32_t size) {
    if (!buffer || size < kColourTextSize || !vlr::modules::HaveWidgetApplication())
        return 0;
    if (vlr::PromptsAreLogged()) {
        vlr::modules::LogSkippedDialog("Select Color");
        return 0;
    }
    QColor initial = InitialColour(buffer, size);
    QColorDialog dialog(initial.isValid() ? initial : LastChosen(), QApplication::activeWindow());
    dialog.setWindowTitle(QStringLiteral("Select Color"));
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    QColor chosen = dialog.selectedColor();
    if (!chosen.isValid())
        return 0;
    LastChosen() = chosen;
    return vlr::modules::CopyToBuffer(vlr::coldlg::ColourText(chosen), buffer, size) ? 1 : 0;
}

static_assert(std::is_same_v<decltype(&ColDlgInitEx), ColDlgInitExFn>);

// TSyntaxMemo's printing: the document or the selection on the owner's or the system's printer.
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

#include "memo/widget/MemoPrinter.h"
#include "memo/widget/SyntaxMemo.h"

namespace velora::memo {

namespace {

// VELORA_NO_PRINTER states that the system has no printer (tests and headless runs), as the
// program's own printer check does.
bool systemHasPrinter() {
  const QByteArray none = qgetenv("VELORA_NO_PRINTER");
  if (!none.isEmpty() && none != "0") return false;
  return !QPrinterInfo::availablePrinterNames().isEmpty();
}

// The system's default printer, or its first one when none is the default.
QPrinterInfo systemPrinter() {
  const QPrinterInfo def = QPrinterInfo::defaultPrinter();
  if (!def.isNull()) return def;
  const QStringList names = QPrinterInfo::availablePrinterNames();
  return names.isEmpty() ? QPrinterInfo() : QPrinterInfo::printerInfo(names.first());
}

// Output can go to a PDF file that has a name, or to a printer of the system.
bool canPrintOn(const QPrinter& p) {
  if (p.outputFormat() == QPrinter::PdfFormat) return !p.outputFileName().isEmpty();
  return systemHasPrinter() && p.isValid();
}

}  // namespace

bool TSyntaxMemo::print(QPrinter& printer, bool selectionOnly) {
  MemoPrinter p(*engine_, font_);
  if (p.print(printer, selectionOnly)) return true;
  Q_EMIT OnPrintError(QStringLiteral("The printer could not be started."));
  return false;
}

bool TSyntaxMemo::printSelection() {
  if (engine_->selection().empty()) {
    if (engine_->onBeep) engine_->onBeep();  // nothing selected, nothing to print
    return false;
  }
  QPrinter* target = printerSource_ ? printerSource_() : nullptr;
  std::unique_ptr<QPrinter> own;
  if (!target && systemHasPrinter()) {
    const QPrinterInfo info = systemPrinter();
    if (!info.isNull()) {
      own = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
      target = own.get();
    }
  }
  if (!target || !canPrintOn(*target)) {
    Q_EMIT OnPrintError(QStringLiteral("There is no printer to print on."));
    return false;
  }
  return print(*target, true);
}

}  // namespace velora::memo

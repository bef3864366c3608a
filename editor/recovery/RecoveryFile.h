// The form of one recovery file: a short text header naming the document,
// the time of the copy, the text's length and checksum, then the text bytes
// exactly as the editor holds them.
//
//   VELORA-RECOVERY 1
//   document /full/path%0Awith%20escapes      (or the line "untitled")
//   saved 2026-12-09T14:25:00.000Z
//   size 1234
//   check 0123456789abcdef
//   <empty line>
//   <size bytes of text>
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace vlr {

struct RecoveryHeader {
    QString documentPath;  // empty for a document without a file
    QDateTime saved;       // UTC
    qint64 size = 0;
};

[[nodiscard]] QByteArray EncodeRecoveryFile(const QString& documentPath, const QDateTime& saved,
                                            const QByteArray& text);

// Checks the whole file: header, length and checksum. False with the reason in
// *reason for anything else than a complete, unchanged copy.
[[nodiscard]] bool DecodeRecoveryFile(const QByteArray& bytes, RecoveryHeader& header, QByteArray* text,
                                      QString* reason);

}  // namespace vlr

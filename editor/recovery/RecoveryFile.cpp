#include "editor/recovery/RecoveryFile.h"

#include <QList>

namespace vlr {
namespace {

const QByteArray kMagic = QByteArrayLiteral("VELORA-RECOVERY 1");
// The header is a handful of short lines plus an escaped path.
constexpr qsizetype kMaxHeader = 64 * 1024;

// 64-bit FNV-1a: enough to notice a damaged copy, cheap on large texts.
QByteArray checksum(const QByteArray& text) {
    quint64 h = 14695981039346656037ull;
    for (char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return QByteArray::number(h, 16).rightJustified(16, '0');
}

bool fail(QString* reason, const QString& why) {
    if (reason)
        *reason = why;
    return false;
}

}  // namespace

QByteArray EncodeRecoveryFile(const QString& documentPath, const QDateTime& saved, const QByteArray& text) {
    QByteArray out = kMagic + '\n';
    if (documentPath.isEmpty())
        out += "untitled\n";
    else
        out += "document " + documentPath.toUtf8().toPercentEncoding("/") + '\n';
    out += "saved " + saved.toUTC().toString(Qt::ISODateWithMs).toUtf8() + '\n';
    out += "size " + QByteArray::number(text.size()) + '\n';
    out += "check " + checksum(text) + "\n\n";
    out += text;
    return out;
}

bool DecodeRecoveryFile(const QByteArray& bytes, RecoveryHeader& header, QByteArray* text, QString* reason) {
    if (!bytes.startsWith(kMagic + '\n'))
        return fail(reason, QStringLiteral("not a recovery file"));
    qsizetype end = bytes.indexOf("\n\n");
    if (end < 0 || end > kMaxHeader)
        return fail(reason, QStringLiteral("the header is incomplete"));
    RecoveryHeader h;
    bool named = false, haveSize = false;
    QByteArray sum;
    const QList<QByteArray> lines = bytes.left(end).split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        qsizetype space = line.indexOf(' ');
        QByteArray key = space < 0 ? line : line.left(space);
        QByteArray value = space < 0 ? QByteArray() : line.mid(space + 1);
        if (key == "untitled") {
            named = true;
        } else if (key == "document" && !value.isEmpty()) {
            h.documentPath = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
            named = true;
        } else if (key == "saved") {
            h.saved = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODateWithMs);
        } else if (key == "size") {
            h.size = value.toLongLong(&haveSize);
            haveSize = haveSize && h.size >= 0;
        } else if (key == "check") {
            sum = value;
        }
    }
    if (!named || !haveSize || sum.isEmpty() || !h.saved.isValid())
        return fail(reason, QStringLiteral("the header is incomplete"));
    const qsizetype start = end + 2;
    const qint64 stored = bytes.size() - start;
    if (stored != h.size)
        return fail(reason, QStringLiteral("the text is %1 bytes long but should be %2 (the copy was cut short or added to)")
                                .arg(stored)
                                .arg(h.size));
    QByteArray body = bytes.mid(start);
    if (checksum(body) != sum)
        return fail(reason, QStringLiteral("the text does not match its checksum (the copy is damaged)"));
    header = h;
    if (text)
        *text = std::move(body);
    return true;
}

}  // namespace vlr

// Adding documents to the desktop's recently-used list. The list is an XML
// bookmark file shared by every program of the desktop; a document is one
// <bookmark> element whose href is the file's address.
#include "editor/window/RecentDocuments.h"

#include "platform/IniFile.h"

#include <QDateTime>
#include <QDir>
#include <QUrl>

namespace vlr {
namespace {

const char* const kHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xbel version=\"1.0\"\n"
    "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
    "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n"
    ">\n";
const char* const kEnd = "</xbel>";

std::string escapeXml(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string bookmark(const std::string& href, const std::string& now) {
    return "  <bookmark href=\"" + href + "\" added=\"" + now + "\" modified=\"" + now + "\" visited=\"" + now +
           "\">\n"
           "    <info>\n"
           "      <metadata owner=\"http://freedesktop.org\">\n"
           "        <mime:mime-type type=\"text/html\"/>\n"
           "        <bookmark:applications>\n"
           "          <bookmark:application name=\"Velora\" exec=\"&apos;velora %u&apos;\" modified=\"" +
           now + "\" count=\"1\"/>\n"
                 "        </bookmark:applications>\n"
                 "      </metadata>\n"
                 "    </info>\n"
                 "  </bookmark>\n";
}

}  // namespace

std::string RecentDocumentsFile() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + "/.local/share";
    return (base + "/recently-used.xbel").toStdString();
}

bool AddToRecentDocs(const std::string& path) {
    const std::string file = RecentDocumentsFile();
    const std::string href =
        escapeXml(QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded).toStdString());
    const std::string now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
    std::string list;
    if (!ReadFileBytes(file, list) || list.find(kEnd) == std::string::npos) {
        if (!list.empty())
            return false;  // not a list this code understands: leave it
        list = std::string(kHeader) + kEnd + "\n";
    }
    const std::string key = "href=\"" + href + "\"";
    if (std::size_t at = list.find(key); at != std::string::npos) {
        // Used again: the visit time of its bookmark.
        const std::size_t visited = list.find("visited=\"", at);
        const std::size_t close = list.find('>', at);
        if (visited != std::string::npos && visited < close) {
            const std::size_t v = visited + 9;
            const std::size_t e = list.find('"', v);
            if (e != std::string::npos)
                list.replace(v, e - v, now);
        }
    } else {
        list.insert(list.rfind(kEnd), bookmark(href, now));
    }
    QDir().mkpath(QString::fromStdString(file).section('/', 0, -2));
    return WriteFileAtomically(file, list);
}

}  // namespace vlr

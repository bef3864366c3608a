#include "libs/webpost/upload/CurlTransport.h"

#include <curl/curl.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace vlr::upload {
namespace {

CURL* Easy(void* p) { return static_cast<CURL*>(p); }

// The longest wait for network events between two steps of a transfer.
constexpr int kWaitMs = 5;

struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

void Append(Slist& list, const std::string& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown)
        throw std::bad_alloc();
    (void)list.release();
    list.reset(grown);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::size_t ReadChunk(char* buffer, std::size_t size, std::size_t count, void* file) {
    return std::fread(buffer, size, count, static_cast<std::FILE*>(file));
}

std::size_t DiscardBody(char*, std::size_t size, std::size_t count, void*) { return size * count; }

std::size_t KeepBody(char* data, std::size_t size, std::size_t count, void* into) {
    static_cast<std::string*>(into)->append(data, size * count);
    return size * count;
}

struct ProgressContext {
    TransferProgress* progress;
    std::uint64_t size;
    bool cancelled = false;
};

int OnProgress(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t sent) {
    auto* c = static_cast<ProgressContext*>(context);
    if (!c->progress->bytesSent(static_cast<std::uint64_t>(sent < 0 ? 0 : sent), c->size)) {
        c->cancelled = true;
        return 1;
    }
    return 0;
}

// A path as one argument of an SFTP command: quoted, with its quotes and
// backslashes escaped.
std::string SftpArgument(const std::string& path) {
    std::string out = "\"";
    for (char c : path) {
        if (c == '"' || c == '\\')
            out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? std::string(home) : std::string();
}

bool IsReadableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), R_OK) == 0;
}

bool StartsWithNoCase(const std::string& text, const char* head) {
    for (std::size_t i = 0; head[i]; ++i)
        if (i >= text.size() || std::toupper(static_cast<unsigned char>(text[i])) != head[i])
            return false;
    return true;
}

// VELORA_UPLOAD_TRACE: the conversation with the server on stderr, with the
// password never shown.
int Trace(CURL*, curl_infotype type, char* data, std::size_t size, void* context) {
    const char* mark = nullptr;
    switch (type) {
    case CURLINFO_TEXT:
        mark = "* ";
        break;
    case CURLINFO_HEADER_IN:
        mark = "< ";
        break;
    case CURLINFO_HEADER_OUT:
        mark = "> ";
        break;
    default:
        return 0;
    }
    std::string text(data, size);
    if (type == CURLINFO_HEADER_OUT && StartsWithNoCase(text, "PASS "))
        text = "PASS ****\r\n";
    const std::string& password = *static_cast<const std::string*>(context);
    if (!password.empty())
        for (std::size_t at = text.find(password); at != std::string::npos; at = text.find(password, at))
            text.replace(at, password.size(), "****");
    std::fputs(mark, stderr);
    std::fwrite(text.data(), 1, text.size(), stderr);
    return 0;
}

std::string HostOf(const std::string& root) {
    std::string host = root.substr(root.find("://") + 3);
    if (!host.empty() && host.back() == '/')
        host.pop_back();
    return host;
}

}  // namespace

CurlTransport::CurlTransport(Destination destination, std::string user, std::string password, CurlSecurity security)
    : destination_(std::move(destination)), user_(std::move(user)), password_(std::move(password)),
      security_(std::move(security)) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    std::string location = destination_.location;
    if (destination_.kind == DestinationKind::FtpExplicitTls)
        location = "ftp" + location.substr(location.find("://"));
    const std::size_t pathStart = location.find('/', location.find("://") + 3);
    root_ = location.substr(0, pathStart + 1);
    std::string rawPath = location.substr(pathStart);
    int length = 0;
    char* decoded = curl_easy_unescape(nullptr, rawPath.c_str(), static_cast<int>(rawPath.size()), &length);
    basePath_ = decoded ? std::string(decoded, static_cast<std::size_t>(length)) : rawPath;
    curl_free(decoded);
    if (isSftp()) {
        const std::string home = HomeFolder();
        knownHosts_ = security_.knownHostsFile;
        if (knownHosts_.empty() && !home.empty())
            knownHosts_ = home + "/.ssh/known_hosts";
        sshKey_ = security_.sshKeyFile;
        for (const char* name : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
            if (!sshKey_.empty() || home.empty())
                break;
            if (IsReadableFile(home + "/.ssh/" + name))
                sshKey_ = home + "/.ssh/" + name;
        }
    }
    curl_ = curl_easy_init();
    multi_ = curl_multi_init();
    if (!curl_ || !multi_)
        throw std::bad_alloc();
}

// Runs the prepared request. The transfer is driven here with short waits
// rather than by curl_easy_perform: that one waits a whole second at times
// before opening an FTP data connection on a reused control connection
// although the server has answered (100 small files took 6.7 s that way).
int CurlTransport::perform() {
    CURLM* multi = static_cast<CURLM*>(multi_);
    CURL* easy = Easy(curl_);
    if (curl_multi_add_handle(multi, easy) != CURLM_OK)
        return CURLE_FAILED_INIT;
    CURLcode result = CURLE_OK;
    int running = 1;
    while (running) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        if (running)
            curl_multi_poll(multi, nullptr, 0, kWaitMs, nullptr);
    }
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi, &left))
        if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy)
            result = msg->data.result;
    curl_multi_remove_handle(multi, easy);
    return result;
}

CurlTransport::~CurlTransport() {
    if (multi_)
        curl_multi_cleanup(static_cast<CURLM*>(multi_));
    if (curl_)
        curl_easy_cleanup(Easy(curl_));
    // The password leaves memory with the transport.
    std::fill(password_.begin(), password_.end(), '\0');
}

void CurlTransport::prepare(const std::string& url) {
    CURL* c = Easy(curl_);
    curl_easy_reset(c);
    errorBuffer_[0] = '\0';
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorBuffer_);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    // Without a user name the server is asked for anonymous access.
    if (!user_.empty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, user_.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, password_.c_str());
    }
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 20L);
    // A server that stops answering ends the transfer instead of hanging it.
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 30L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, DiscardBody);
    if (std::getenv("VELORA_UPLOAD_TRACE")) {
        curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, Trace);
        curl_easy_setopt(c, CURLOPT_DEBUGDATA, &password_);
        curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    }
    if (destination_.kind == DestinationKind::FtpExplicitTls)
        curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    if (!security_.caFile.empty())
        curl_easy_setopt(c, CURLOPT_CAINFO, security_.caFile.c_str());
    if (isSftp()) {
        // Only hosts whose key is known are accepted: an unknown or changed
        // key is refused (libcurl's rule without a key callback).
        curl_easy_setopt(c, CURLOPT_SSH_KNOWNHOSTS, knownHosts_.c_str());
        if (!sshKey_.empty()) {
            curl_easy_setopt(c, CURLOPT_SSH_PRIVATE_KEYFILE, sshKey_.c_str());
            publicKey_ = sshKey_ + ".pub";
            if (IsReadableFile(publicKey_))
                curl_easy_setopt(c, CURLOPT_SSH_PUBLIC_KEYFILE, publicKey_.c_str());
        }
    }
}

std::string CurlTransport::urlFor(const std::string& remotePath) const {
    std::string url = destination_.kind == DestinationKind::FtpExplicitTls
                          ? "ftp" + destination_.location.substr(destination_.location.find("://"))
                          : destination_.location;
    std::size_t start = 0;
    for (;;) {
        std::size_t slash = remotePath.find('/', start);
        std::string part = remotePath.substr(start, slash - start);
        char* escaped = curl_easy_escape(Easy(curl_), part.c_str(), static_cast<int>(part.size()));
        url += escaped ? escaped : part.c_str();
        curl_free(escaped);
        if (slash == std::string::npos)
            return url;
        url += '/';
        start = slash + 1;
    }
}

std::string CurlTransport::commandPath(const std::string& remotePath) const {
    const std::string path = basePath_ + remotePath;  // basePath_ starts with "/"
    auto underEntry = [this](const std::string& rest) {
        if (entryPath_.empty())
            return std::string();
        return entryPath_ == "/" ? rest : entryPath_ + rest;
    };
    if (isSftp()) {
        // "/~/" in an address is the login folder.
        if (path.rfind("/~/", 0) == 0)
            return underEntry(path.substr(2));
        return path;
    }
    // FTP addresses name paths under the login folder; "%2F" first names the root.
    if (path.rfind("//", 0) == 0)
        return path.substr(1);
    return underEntry(path);
}

std::string CurlTransport::deleteCommand(const std::string& remotePath, bool mayFail) const {
    const std::string path = commandPath(remotePath);
    if (path.empty())
        return {};
    return std::string(mayFail ? "*" : "") + (isSftp() ? "rm " + SftpArgument(path) : "DELE " + path);
}

namespace {

std::string Describe(CURLcode code, const char* buffer, const std::string& host) {
    std::string detail = buffer && *buffer ? buffer : curl_easy_strerror(code);
    switch (code) {
    case CURLE_LOGIN_DENIED:
        return "The server " + host + " refused the user name or password.";
    case CURLE_COULDNT_RESOLVE_HOST:
        return "The server " + host + " was not found.";
    case CURLE_COULDNT_CONNECT:
        return "Could not connect to " + host + ": " + detail;
    case CURLE_OPERATION_TIMEDOUT:
        return "The server " + host + " stopped answering.";
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
        return "The identity of " + host + " could not be verified (" + detail + ").";
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_UPLOAD_FAILED:
    case CURLE_GOT_NOTHING:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_ACCEPT_TIMEOUT:
        return "The connection to " + host + " was broken: " + detail;
    default:
        return detail;
    }
}

}  // namespace

bool CurlTransport::open(std::string& error) {
    const std::string host = HostOf(root_);
    if (isSftp() && (knownHosts_.empty() || !IsReadableFile(knownHosts_))) {
        error = "The identity of " + host + " cannot be checked: there is no known-hosts file" +
                (knownHosts_.empty() ? std::string() : " " + knownHosts_) +
                ". Connect once with ssh to check and accept its host key.";
        return false;
    }
    prepare(root_);
    curl_easy_setopt(Easy(curl_), CURLOPT_NOBODY, 1L);
    CURLcode code = static_cast<CURLcode>(perform());
    if (code != CURLE_OK) {
        error = Describe(code, errorBuffer_, host);
        if (isSftp() && code == CURLE_PEER_FAILED_VERIFICATION)
            error = "The identity of " + host + " could not be verified: its host key is not among the known hosts in " +
                    knownHosts_ + ", or it has changed. Connect once with ssh to check and accept its host key.";
        return false;
    }
    char* entry = nullptr;
    if (curl_easy_getinfo(Easy(curl_), CURLINFO_FTP_ENTRY_PATH, &entry) == CURLE_OK && entry && entry[0] == '/') {
        entryPath_ = entry;
        while (entryPath_.size() > 1 && entryPath_.back() == '/')
            entryPath_.pop_back();
    }
    return true;
}

bool CurlTransport::put(const std::string& localFile, const std::string& remotePath, std::uint64_t size,
                        TransferProgress& progress, bool& cancelled, std::string& error) {
    cancelled = false;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(localFile.c_str(), "rb"));
    if (!file) {
        error = "Cannot read " + localFile;
        return false;
    }
    const std::string temp = TemporaryNameFor(remotePath);
    const std::string tempPath = commandPath(temp), finalPath = commandPath(remotePath);
    if (tempPath.empty() || finalPath.empty()) {
        error = "The server " + HostOf(root_) + " did not say which folder it logs in to, so " + remotePath +
                " cannot be put in its place safely.";
        return false;
    }
    Slist after;
    if (isSftp()) {
        // SFTP renames do not replace a file, so the old one goes first.
        Append(after, deleteCommand(remotePath, true));
        Append(after, "rename " + SftpArgument(tempPath) + " " + SftpArgument(finalPath));
    } else {
        Append(after, "RNFR " + tempPath);
        Append(after, "RNTO " + finalPath);
    }
    ProgressContext context{&progress, size};
    CURL* c = Easy(curl_);
    prepare(urlFor(temp));
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, ReadChunk);
    curl_easy_setopt(c, CURLOPT_READDATA, file.get());
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    curl_easy_setopt(c, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
    curl_easy_setopt(c, CURLOPT_POSTQUOTE, after.get());
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &context);
    CURLcode code = static_cast<CURLcode>(perform());
    if (code == CURLE_OK)
        return true;
    file.reset();
    if (code == CURLE_ABORTED_BY_CALLBACK && context.cancelled) {
        cancelled = true;
        error = kCancelled;
    } else if (code == CURLE_QUOTE_ERROR) {
        error = "The server did not let " + remotePath + " take the place of its old version: " +
                (errorBuffer_[0] ? errorBuffer_ : curl_easy_strerror(code));
    } else {
        error = Describe(code, errorBuffer_, HostOf(root_));
    }
    // The partial file is not left for someone to find on the server.
    const std::string left = clearPartial(remotePath);
    if (!left.empty())
        error += " " + left;
    return false;
}

std::string CurlTransport::clearPartial(const std::string& remotePath) {
    const std::string temp = TemporaryNameFor(remotePath);
    Slist commands;
    Append(commands, deleteCommand(temp, false));
    prepare(root_);
    CURL* c = Easy(curl_);
    curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(c, CURLOPT_QUOTE, commands.get());
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 10L);
    CURLcode code = static_cast<CURLcode>(perform());
    if (code == CURLE_OK)
        return {};
    const std::string why = Describe(code, errorBuffer_, HostOf(root_));
    if (code == CURLE_QUOTE_ERROR && !exists(temp))
        return {};
    return "The partial file " + commandPath(temp) + " could not be removed from the server: " + why;
}

bool CurlTransport::exists(const std::string& remotePath) {
    // The names of the folder are listed: asking for the size of the path
    // would answer "no file" for a folder of that name as well.
    const std::size_t slash = remotePath.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : remotePath.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? remotePath : remotePath.substr(slash + 1);
    std::string listing;
    prepare(folder.empty() ? urlFor("") : urlFor(folder));
    CURL* c = Easy(curl_);
    curl_easy_setopt(c, CURLOPT_DIRLISTONLY, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, KeepBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &listing);
    CURLcode code = static_cast<CURLcode>(perform());
    if (code == CURLE_REMOTE_ACCESS_DENIED || code == CURLE_REMOTE_FILE_NOT_FOUND)
        return false;  // the folder is gone, and the file with it
    if (code != CURLE_OK)
        return true;  // unknown: not taken as gone
    std::size_t start = 0;
    while (start < listing.size()) {
        std::size_t end = listing.find('\n', start);
        if (end == std::string::npos)
            end = listing.size();
        std::string line = listing.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // Some servers list names with the folder in front.
        if (line == name || (line.size() > name.size() && line.ends_with("/" + name)))
            return true;
        start = end + 1;
    }
    return false;
}

bool CurlTransport::remove(const std::string& remotePath, std::string& error) {
    const std::string command = deleteCommand(remotePath, false);
    if (command.empty()) {
        error = "Cannot delete " + remotePath + ": the server " + HostOf(root_) +
                " did not say which folder it logs in to.";
        return false;
    }
    Slist commands;
    Append(commands, command);
    prepare(root_);
    curl_easy_setopt(Easy(curl_), CURLOPT_NOBODY, 1L);
    curl_easy_setopt(Easy(curl_), CURLOPT_QUOTE, commands.get());
    CURLcode code = static_cast<CURLcode>(perform());
    if (code == CURLE_OK)
        return true;
    const std::string why = Describe(code, errorBuffer_, HostOf(root_));
    // A file that is already gone needs no deleting.
    if (code == CURLE_QUOTE_ERROR && !exists(remotePath))
        return true;
    error = "Cannot delete " + remotePath + ": " + why;
    return false;
}

}  // namespace vlr::upload
